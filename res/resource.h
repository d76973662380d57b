// Resource identifiers shared by the resource script and the program's windows.
#pragma once

// Logo of the About dialog and the dialog itself.
#define IDB_LOGO 110
#define IDD_ABOUT 117

#define IDM_MAIN 111
#define IDI_TESSALY 113
#define IDD_CONFIGURATION 114

// Menu items.
#define IDM_CONFIGURE 40001
#define IDM_COMMAND_TAB 40006
#define IDM_TRIGGER_TAB 40007
#define IDM_STATUS_TAB 40008
#define IDM_BOOTLOADER 40012
#define IDM_COMMUNICATION_TAB 40014
#define IDM_MANUFACTURER_TAB 40015
#define IDM_READ_ME 40017

// Controls of the Configuration dialog. Open and Close are IDOK (1) and IDCANCEL (2).
#define IDC_COMPORT 1001
#define IDC_BAUD_RATE 1002
#define IDC_IP_ADDRESS 1005
#define IDC_TCP_PORT 1006
#define IDC_LINK_KIND 1010
#define IDC_DISCOVER 1011
#define IDC_STATUS_TEXT 1012

// The bootloader steps box of the main window.
#define IDC_STEPS_BOX 263

// The explanation in the window of the stand-in bootloader tool (tools/boot_loader).
#define IDC_BOOT_TOOL_TEXT 100

// The controls of the five panels.
#include "control_ids.h"

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
