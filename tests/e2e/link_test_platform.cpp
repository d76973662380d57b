// Recording versions of the window-system operations for the link tests, which run the real link
// code under Wine without the program's windows. The dialog's status text is the program's own
// (app/status_text_win.cpp), written into the stand-in dialog a test puts in app.configDialog.
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
