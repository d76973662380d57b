// File > Bootloader.
#pragma once

// Shows the bootloader steps in place of the panels and starts the bootloader tool beside the
// program.
void StartBootloader();
