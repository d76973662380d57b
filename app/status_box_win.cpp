// The "Status" message box through which the links report opening, closing and discovery
// failures. It has no owner window, so it does not disable the main window or the dialog.
#include "app/platform.h"

void StatusBox(const char* text)
{
    MessageBoxA(nullptr, text, "Status", MB_ICONINFORMATION);
}
