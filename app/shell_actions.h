// The two menu actions of the main window that are not about instrument commands: File >
// Bootloader and About > Read Me.
#pragma once

// Shows the bootloader steps in place of the panels and starts the bootloader tool beside the
// program.
void StartBootloader();

// Opens the About dialog.
void ShowAbout();
