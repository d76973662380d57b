// The bootloader tool's file name: the one difference between Tessaly.exe and Tessaly-xp.exe,
// and the one file compiled once for each (BOOT_TOOL_NAME comes from the build).
#include "app/bootloader_path.h"

extern const char BootToolName[] = BOOT_TOOL_NAME;
