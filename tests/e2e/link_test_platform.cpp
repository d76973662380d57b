// Recording versions of the window-system operations for the link tests, which run the real link
// code under Wine without the program's windows.
#include "tests/e2e/link_test_platform.h"

#include "app/platform.h"
#include "link/link.h"
#include "res/resource.h"

std::vector<std::string> statusBoxes;

void StatusBox(const char* text)
{
    statusBoxes.emplace_back(text);
}
// Into the status box of the stand-in dialog that a test puts in app.configDialog.
void SetStatusText(const char* text)
{
    SetDlgItemTextA(app.configDialog, IDC_STATUS_TEXT, text);
}
void ReadEntryBox(int)
{
    app.EntryText.fill(0);
}
bool IsOptionChecked(int)
{
    return false;
}
int ListSelection(int)
{
    return -1;
}
void ShowOutputLog(Panel, std::size_t) {}
