// Builds any panel from its table: every control in table order as a child of the main window,
// all with the one panel font. Also the show and hide operations over a panel's whole set.
#include "panels/panels_win.h"

#include <cstdint>

#include "panels/panel_table.h"

namespace
{

void FillBaudList(HWND list)
{
    for (int i = 0; i < BaudChoiceCount; ++i)
        SendMessageA(list, LB_INSERTSTRING, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(BaudLabels[i]));
    SendMessageA(list, LB_SETCURSEL, DefaultBaudIndex, 0);
}

void ShowAll(Panel panel, int command)
{
    for (HWND control : app.controls[static_cast<int>(panel)])
        ShowWindow(control, command);
}

} // namespace

HWND BuildControl(const ControlRow& row, HFONT font)
{
    const ControlStyle& style = StyleOf(row.kind);
    HWND control = CreateWindowExA(style.exStyle, style.className, row.caption, style.style, row.x,
                                   row.y, row.width, row.height, app.mainWindow, ChildId(row.id),
                                   GetModuleHandleA(nullptr), nullptr);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if (row.kind == ControlKind::ListBox) // the Communication panel's baud list
        FillBaudList(control);
    if (row.kind == ControlKind::OutputBox) // new entries are inserted: never cut a long log
        SendMessageA(control, EM_SETLIMITTEXT, 0, 0);
    return control;
}

void BuildPanel(Panel panel)
{
    const PanelTable& table = TableOf(panel);
    HFONT font = PanelFont();
    auto& handles = app.controls[static_cast<int>(panel)];
    handles.clear();
    for (int i = 0; i < table.controlCount; ++i)
        handles.push_back(BuildControl(table.controls[i], font));
}

void ShowPanel(Panel panel)
{
    ShowAll(panel, SW_SHOW);
}
void HidePanel(Panel panel)
{
    ShowAll(panel, SW_HIDE);
}

void ShowOnlyPanel(Panel shown)
{
    for (Panel panel : SwitchOrder()) {
        if (panel == shown)
            ShowPanel(panel);
        else
            HidePanel(panel);
    }
}

void HideAllPanels()
{
    for (const PanelEntry& entry : PanelRegistry)
        HidePanel(entry.panel);
}
