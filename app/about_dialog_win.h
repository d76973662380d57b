// About > Read Me: the About dialog.
#pragma once

#include "core/platform_types.h"

// Opens the About dialog, or brings the open one to the front.
void ShowAbout();

// Gives a message of the program's queue to the About dialog's keyboard handling; true when the
// message was used up. Escape closes the dialog; no other key means anything to it.
bool HandleAboutDialogKey(MSG& message);
