// The two menu actions of the main window that are not about instrument commands: File >
// Bootloader and About > Read Me.
#pragma once

#include "core/platform_types.h"

// Shows the bootloader steps in place of the panels and starts the bootloader tool beside the
// program.
void StartBootloader();

// Opens the About dialog, or brings the open one to the front.
void ShowAbout();

// Gives a message of the program's queue to the About dialog's keyboard handling; true when the
// message was used up. Escape closes the dialog; no other key means anything to it.
bool HandleAboutDialogKey(MSG& message);
