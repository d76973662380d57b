// What the About and Configuration dialogs share as modeless dialogs owned by the main window:
// at most one of each, held in its AppState field, and the dialog keyboard handling for it.
#pragma once

#include "core/platform_types.h"

// Brings the dialog held in slot to the front, or creates it from the template with the procedure
// and keeps it in slot. Returns the dialog when it was made now, nullptr otherwise.
HWND OpenSingleDialog(HWND& slot, int templateId, DLGPROC procedure);

// WM_NCDESTROY of a dialog: slot forgets it, so that it never names a dead window.
void ForgetDialog(HWND& slot, HWND dialog);

// True when the message is for the dialog or one of its controls.
bool IsDialogMessageFor(HWND dialog, const MSG& message);
