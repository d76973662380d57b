// Recording versions of the window-system operations for the link tests, which run the real link
// code under Wine without the program's windows. The dialog's status text goes into the stand-in
// dialog a test puts in app.configDialog, as the program puts it into its Configuration dialog.
#include "tests/e2e/link_test_platform.h"

#include "core/platform.h"
#include "link/link.h"
#include "res/resource.h"

std::vector<std::string> statusBoxes;
std::vector<std::string> linkNotes;

void StatusBox(const char* text)
{
    statusBoxes.emplace_back(text);
}
void SetStatusText(const char* text)
{
    if (app.configDialog != nullptr)
        SetDlgItemTextA(app.configDialog, IDC_STATUS_TEXT, text);
}
void LinkNote(const char* line)
{
    linkNotes.emplace_back(line);
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
