// The window-system operations that the command transaction and the panel commands use: reading
// entry boxes, option buttons and list boxes of the main window, and showing a panel's log.
#include "app/platform.h"
#include "console/panel_table.h"

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

void ShowOutputLog(Panel panel, std::size_t /*newEntryLength*/)
{
    HWND box = GetDlgItem(app.mainWindow, TableOf(panel).outputBoxId);
    SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(LogOf(panel).c_str()));
}
