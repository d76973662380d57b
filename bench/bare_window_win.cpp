// The bench's yardstick program: the program's main window without the program. Built with the
// same compiler, runtime, resources and link options as Tessaly.exe.
//
// Without arguments it does what the program's start-up does to the window system and nothing
// else: registers the same window class (styles, white brush, icon, menu), creates the same main
// window, creates every control of the five panels from the same table rows (console/panel_*.cpp)
// with the same classes, styles and fonts, in the same order, fills the baud list and lifts the
// output boxes' text limit, creates the bootloader steps box, shows the Command panel's controls,
// hides the rest and the steps box, and runs a message loop. It paints the window as the program
// does (white, white label backgrounds). There is no state record, no link, no dialog and no
// command: a click is handled by doing nothing.
//
// With the argument "one-button" the same window holds only a "Get Voltage" button (same class,
// style, place, size, font and caption as the program's) and the hidden steps box, whose text limit
// the bench uses as its "everything posted so far is handled" marker, as with the program.
#include <windows.h>

#include <cstdint>
#include <cstring>

#include "app/main_window_win.h"
#include "console/panel_table.h"
#include "console/panels_win.h"
#include "res/resource.h"

namespace
{

// The program's build order, and its show and hide order.
constexpr Panel BuildOrder[PanelCount] = {Panel::Command, Panel::Trigger, Panel::Communication,
                                          Panel::Manufacturer, Panel::Status};
constexpr Panel HideOrder[PanelCount - 1] = {Panel::Status, Panel::Trigger, Panel::Communication,
                                             Panel::Manufacturer};

HWND handles[PanelCount][MaxPanelControls] = {};

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
        SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
    default:
        break; // WM_COMMAND included: a click does nothing
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateControl(HWND parent, const ControlRow& row, DWORD extraStyle, HFONT font)
{
    const ControlStyle& style = StyleOf(row.kind);
    HWND control = CreateWindowExA(style.exStyle, style.className, row.caption,
                                   style.style | extraStyle, row.x, row.y, row.width, row.height,
                                   parent, ChildId(row.id), GetModuleHandleA(nullptr), nullptr);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    return control;
}

void BuildAllPanels(HWND window)
{
    for (Panel panel : BuildOrder) {
        const PanelTable& table = TableOf(panel);
        HFONT font = CreatePanelFont();
        for (int i = 0; i < table.controlCount && i < MaxPanelControls; ++i) {
            const ControlRow& row = table.controls[i];
            HWND control = CreateControl(window, row, 0, font);
            handles[static_cast<int>(panel)][i] = control;
            if (row.kind == ControlKind::ListBox) {
                for (int b = 0; b < BaudChoiceCount; ++b)
                    SendMessageA(control, LB_INSERTSTRING, static_cast<WPARAM>(b),
                                 reinterpret_cast<LPARAM>(BaudLabels[b]));
                SendMessageA(control, LB_SETCURSEL, DefaultBaudIndex, 0);
            }
            if (row.kind == ControlKind::OutputBox)
                SendMessageA(control, EM_SETLIMITTEXT, 0, 0);
        }
    }
}

void ShowAll(Panel panel, int command)
{
    const PanelTable& table = TableOf(panel);
    for (int i = 0; i < table.controlCount && i < MaxPanelControls; ++i)
        ShowWindow(handles[static_cast<int>(panel)][i], command);
}

// The Command panel's "Get Voltage" row, made visible.
void BuildOneButton(HWND window)
{
    const PanelTable& table = TableOf(Panel::Command);
    for (int i = 0; i < table.controlCount; ++i) {
        if (table.controls[i].id == IDC_GET_VOLTAGE)
            CreateControl(window, table.controls[i], WS_VISIBLE, CreatePanelFont());
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand)
{
    bool oneButton = std::strstr(commandLine, "one-button") != nullptr;
    if (!RegisterMainWindowClass(instance, BareWindowProc))
        return 1;
    HWND window = CreateWindowExA(0, MainWindowClass, MainWindowClass, MainWindowStyle, 10, 10, 870,
                                  655, nullptr, nullptr, instance, nullptr);
    if (window == nullptr)
        return 1;
    ShowWindow(window, showCommand);

    if (oneButton)
        BuildOneButton(window);
    else
        BuildAllPanels(window);
    HWND stepsBox = CreateWindowExA(0, "EDIT", StepsText, StepsBoxStyle, 5, 5, 845, 600, window,
                                    reinterpret_cast<HMENU>(IDC_STEPS_BOX), instance, nullptr);
    if (!oneButton) {
        ShowAll(Panel::Command, SW_SHOW);
        for (Panel panel : HideOrder)
            ShowAll(panel, SW_HIDE);
    }
    ShowWindow(stepsBox, SW_HIDE);
    HFONT stepsFont = CreateFontA(22, 0, 0, 0, 500, FALSE, FALSE, FALSE, 0, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, 32, "Arial");
    SendMessageA(stepsBox, WM_SETFONT, reinterpret_cast<WPARAM>(stepsFont), TRUE);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
