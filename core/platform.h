// The few operations through which the platform-free logic and the links reach the window system.
// The program links the Win32 versions (app/platform_win.cpp); the native tests link fakes that
// record what was asked (tests/unit/fakes.cpp). Chosen at link time, not through virtual calls.
#pragma once

#include <cstddef>

#include "core/app_state.h"

// Information message box without owner window, titled "Status".
void StatusBox(const char* text);

// Replaces the text of the Configuration dialog's status box; does nothing while no dialog is open.
void SetStatusText(const char* text);

// A line a link writes for whoever watches the process rather than for the operator ("send
// failed: 10054"): the window program puts it on standard output, which only a console it was
// started from shows; tessaly-cmd on standard error, apart from the answers.
void LinkNote(const char* line);

// Reads the text of the entry box with this control id into EntryText (at most 255 characters).
void ReadEntryBox(int controlId);

// True when the option button with this control id is checked.
bool IsOptionChecked(int controlId);

// Selected position of the list box with this control id, or -1 when none.
int ListSelection(int controlId);

// Shows the panel's OutputLog in its output box. The first newEntryLength bytes of the log are
// the entry just added (0 when the log was replaced as a whole, as by Clear Display).
void ShowOutputLog(Panel panel, std::size_t newEntryLength);
