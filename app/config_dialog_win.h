// The Configuration dialog: where the operator chooses, opens and closes the link to the
// instrument.
#pragma once

#include "core/platform_types.h"

// File > Configure: creates and shows the dialog, or brings the open one to the front.
void ShowConfiguration();

// The dialog's Open and Close buttons.
void OpenSelectedLink();
void CloseLink();

// Gives a message of the program's queue to the dialog's keyboard handling (Tab and Shift+Tab
// between its controls, Enter for the default button); true when the message was used up.
// Escape is swallowed so that it never stands for the Close button.
bool HandleConfigDialogKey(MSG& message);
