// The bench's yardstick program: the program's main window without the program. Built with the
// same compiler, runtime, resources and link options as Tessaly.exe.
//
// Without arguments it does what the program's start-up does to the window system and nothing
// else, through the program's own code for it: registers the same window class, creates the same
// main window, builds the five panels with the program's panel builder from the same tables,
// creates the bootloader steps box, shows the Command panel, hides the rest and the steps box, and
// runs a message loop. It paints the window as the program does (white, white label
// backgrounds). There is no link, no dialog and no command: a click is handled by doing nothing.
//
// With the argument "one-button" the same window holds only a "Get Voltage" button, made by the
// program's own panel builder from its table row and shown, and the hidden steps box, whose text
// limit the bench uses as its "everything posted so far is handled" marker, as with the program.
#include <windows.h>

#include <cstring>

#include "app/main_window_create_win.h"
#include "app/main_window_paint_win.h"
#include "core/app_state.h"
#include "panels/panel_table.h"
#include "panels/panels_win.h"
#include "res/resource.h"

namespace
{

LRESULT CALLBACK BareWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_PAINT:
        return PaintWhite(window);
    case WM_ERASEBKGND:
        return 1;
    case WM_CTLCOLORSTATIC:
        return WhiteStaticBackground(reinterpret_cast<HDC>(wParam));
    default:
        break; // WM_COMMAND included: a click does nothing
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// The Command panel's "Get Voltage" row alone, built by the panel builder and shown.
void BuildOneButton()
{
    const PanelTable& table = TableOf(Panel::Command);
    for (int i = 0; i < table.controlCount; ++i) {
        if (table.controls[i].id == IDC_GET_VOLTAGE)
            ShowWindow(BuildControl(table.controls[i], PanelFont()), SW_SHOW);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand)
{
    bool oneButton = std::strstr(commandLine, "one-button") != nullptr;
    if (!RegisterMainWindowClass(instance, BareWindowProc))
        return 1;
    app.mainWindow = CreateMainWindow(instance);
    if (app.mainWindow == nullptr)
        return 1;
    ShowWindow(app.mainWindow, showCommand);

    if (oneButton) {
        BuildOneButton();
        CreateStepsBox(instance); // hidden: the bench's marker
    } else
        BuildViews(instance);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
