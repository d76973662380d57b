// The main window procedure: white painting, the colour of read-only boxes and labels, closing
// the link when the window goes, and every menu choice and button click routed to its action.
#include "app/main_window_win.h"

#include "app/about_dialog_win.h"
#include "app/bootloader_start_win.h"
#include "app/config_dialog_win.h"
#include "app/main_window_paint_win.h"
#include "core/app_state.h"
#include "link/link_rules.h"
#include "panels/panel_table.h"
#include "panels/panels_win.h"
#include "res/resource.h"

namespace
{

void Repaint()
{
    InvalidateRect(app.mainWindow, nullptr, FALSE);
    UpdateWindow(app.mainWindow);
}

void SwitchView(Panel shown)
{
    ShowOnlyPanel(shown);
    ShowWindow(app.StepsBox, SW_HIDE);
    for (int box : TableOf(shown).emptiedOnShow) {
        if (box != 0)
            SetDlgItemTextA(app.mainWindow, box, "");
    }
    Repaint();
}

void Route(int id)
{
    Panel view;
    if (id == IDM_CONFIGURE) {
        ShowConfiguration();
    } else if (id >= FirstDispatchId && id <= LastDispatchId) {
        if (const CommandRow* row = CommandFor(id))
            RunCommand(*row);
    } else if (PanelOfViewItem(id, view)) {
        SwitchView(view);
    } else if (id == IDM_BOOTLOADER) {
        StartBootloader();
    } else if (id == IDM_READ_ME) {
        ShowAbout();
    }
}

// Button clicks and menu choices. While one is being handled (a link operation may show a
// "Status" box, whose own message loop keeps this window working), further ones are ignored.
LRESULT OnCommand(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) != 0)
        return DefWindowProcA(window, WM_COMMAND, wParam, lParam);
    if (app.busy)
        return 0;
    app.busy = true;
    ClearCommandBuffers();
    ShowWindow(app.StepsBox, SW_HIDE);
    Route(LOWORD(wParam));
    ClearCommandBuffers();
    app.busy = false;
    return DefWindowProcA(window, WM_COMMAND, wParam, lParam);
}

void OnDestroy()
{
    ActOnLink(LinkAction::Teardown);
    for (std::string& log : app.OutputLog)
        log.clear();
    app.PriorLog.clear();
    if (app.configDialog != nullptr)
        DestroyWindow(app.configDialog);
    PostQuitMessage(0);
}

} // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_PAINT:
        return PaintWhite(window);
    case WM_ERASEBKGND:
        return 1;
    case WM_CTLCOLORSTATIC:
        return WhiteStaticBackground(reinterpret_cast<HDC>(wParam));
    case WM_COMMAND:
        return OnCommand(window, wParam, lParam);
    case WM_CLOSE:
        // Not while a command is still running inside a "Status" box's message loop: it would
        // close the link and the windows under the running command.
        if (app.busy)
            return 0;
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
