// The Windows side of core/platform.h, one function for each fake in tests/unit/fakes.cpp: the
// "Status" message box of the links, the Configuration dialog's status text, and the main window's
// entry boxes, option buttons, list boxes and output boxes as the command transaction and the panel
// commands use them; and the links' notes, which only the Windows links write.
#include <cstdio>
#include <string>

#include "core/platform.h"
#include "res/resource.h"

// No owner window, so the box does not disable the main window or the dialog.
void StatusBox(const char* text)
{
    MessageBoxA(nullptr, text, "Status", MB_ICONINFORMATION);
}

// Does nothing while no dialog is open: SetDlgItemTextA is given a dialog only when there is one.
void SetStatusText(const char* text)
{
    if (app.configDialog != nullptr)
        SetDlgItemTextA(app.configDialog, IDC_STATUS_TEXT, text);
}

void LinkNote(const char* line)
{
    std::printf("%s\n", line);
    std::fflush(stdout);
}

void ReadEntryBox(int controlId)
{
    HWND box = GetDlgItem(app.mainWindow, controlId);
    SendMessageA(box, WM_GETTEXT, TextBufferSize, reinterpret_cast<LPARAM>(app.EntryText.data()));
    app.EntryText.back() = 0;
}

bool IsOptionChecked(int controlId)
{
    HWND option = GetDlgItem(app.mainWindow, controlId);
    return SendMessageA(option, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

int ListSelection(int controlId)
{
    LRESULT position = SendDlgItemMessageA(app.mainWindow, controlId, LB_GETCURSEL, 0, 0);
    return position == LB_ERR ? -1 : static_cast<int>(position);
}

// Inserts the newest entry at the top of the box when the box holds exactly the log without it,
// which takes the same time however long the log has grown. False when that cannot be done.
static bool InsertNewestEntry(HWND box, const std::string& log, std::size_t newEntryLength)
{
    if (newEntryLength == 0 || newEntryLength > log.size())
        return false;
    std::size_t olderLength = log.size() - newEntryLength;
    if (static_cast<std::size_t>(SendMessageA(box, WM_GETTEXTLENGTH, 0, 0)) != olderLength)
        return false;
    std::string entry = log.substr(0, newEntryLength);
    SendMessageA(box, EM_SETSEL, 0, 0);
    SendMessageA(box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(entry.c_str()));
    return static_cast<std::size_t>(SendMessageA(box, WM_GETTEXTLENGTH, 0, 0)) == log.size();
}

// The box ends holding the panel's log byte for byte, newest entry at the top of the view. If
// the entry cannot be inserted (the box refused it, or holds something else), the whole log is
// set instead, never a different text.
void ShowOutputLog(Panel panel, std::size_t newEntryLength)
{
    // The output box is the first control each panel creates: its handle is kept, so no search
    // through the main window's two hundred children is needed.
    HWND box = app.controls[static_cast<int>(panel)][0];
    const std::string& log = LogOf(panel);
    bool inserted = InsertNewestEntry(box, log, newEntryLength);
    if (inserted && SendMessageA(box, EM_GETFIRSTVISIBLELINE, 0, 0) == 0)
        return; // the view is already at the top, where the entry went in
    if (!inserted)
        SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(log.c_str()));
    SendMessageA(box, EM_SETSEL, 0, 0);
    SendMessageA(box, EM_SCROLLCARET, 0, 0);
}
