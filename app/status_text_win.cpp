// The Configuration dialog's status text, which the links and the dialog write: the one Windows
// version, for the program and for the link tests, whose stand-in dialog has the same box.
#include "core/platform.h"
#include "res/resource.h"

// Does nothing while no dialog is open: SetDlgItemTextA is given a dialog only when there is one.
// tessaly-cmd, which never has one, does without this file and its import of user32.
void SetStatusText(const char* text)
{
    if (app.configDialog != nullptr)
        SetDlgItemTextA(app.configDialog, IDC_STATUS_TEXT, text);
}
