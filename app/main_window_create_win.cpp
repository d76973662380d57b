// The main window as start-up makes it: its class, its menu, the window sized to hold its
// controls, the panels and the bootloader steps box with its font. The bench's bare program uses
// these too, so that its window is made exactly as the program's is.
#include "app/main_window_create_win.h"

#include "app/main_window_size.h"
#include "core/app_state.h"
#include "panels/panel_table.h"
#include "panels/panels_win.h"
#include "res/resource.h"

namespace
{

constexpr DWORD MainWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX; // 0x00CA0000
constexpr DWORD StepsBoxStyle = WS_CHILD | WS_BORDER | ES_READONLY | ES_MULTILINE;

constexpr const char* StepsText =
    "Steps for using the bootloader:\r\n"
    "   Close all RS-232, USB, and Ethernet connections\r\n"
    "   Turn off unit\r\n"
    "   Move boot loader switch to the UP position\r\n"
    "   Turn unit on\r\n"
    " \r\n"
    "In the popup boot loader window:\r\n"
    "   Click Connect\r\n"
    "   Load Hex File\r\n"
    "   Erase-Program-Verify\r\n"
    "   Run application\r\n"
    " \r\n"
    " \r\n"
    "Note: the communication configuration parameters and password will be reset to default.";

// The main menu: File and About from the resource script, and between them the View popup with
// the panel registry's items in the View menu's order. Without the View popup (the system refused
// it) the menu still offers File and About; nullptr when the menu cannot be loaded at all.
HMENU MakeMainMenu(HINSTANCE instance)
{
    HMENU menu = LoadMenuA(instance, MAKEINTRESOURCEA(IDM_MAIN));
    HMENU view = CreatePopupMenu();
    if (menu == nullptr || view == nullptr) {
        if (view != nullptr)
            DestroyMenu(view);
        return menu;
    }
    bool filled = true;
    for (const ViewItem& item : ViewMenuItems())
        filled = filled && AppendMenuA(view, MF_STRING, static_cast<UINT_PTR>(item.menuId),
                                       item.caption) != 0;
    // Inserted into the menu, the popup is destroyed with it, and with the window it is given to.
    if (!filled || !InsertMenuA(menu, 1, MF_BYPOSITION | MF_POPUP | MF_STRING,
                                reinterpret_cast<UINT_PTR>(view), "View"))
        DestroyMenu(view);
    return menu;
}

void SetStepsFont()
{
    app.stepsFont = CreateFontA(22, 0, 0, 0, 500, FALSE, FALSE, FALSE, 0, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, 32, "Arial");
    SendMessageA(app.StepsBox, WM_SETFONT, reinterpret_cast<WPARAM>(app.stepsFont), TRUE);
}

} // namespace

bool RegisterMainWindowClass(HINSTANCE instance, WNDPROC procedure)
{
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_TESSALY));
    windowClass.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_TESSALY),
                                                        IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), 0));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = MainWindowClass;
    return RegisterClassExA(&windowClass) != 0;
}

// The outer size is what the system's frame, caption and menu bar add to the client area the
// controls need: ClassicWindow under the classic metrics, more where they are larger. The frame
// computation counts the menu bar as one row; where it wraps onto more, the window, still hidden,
// grows by what its client area lacks.
HWND CreateMainWindow(HINSTANCE instance)
{
    const Extent client = MainClientSize();
    RECT outer{0, 0, client.width, client.height};
    if (!AdjustWindowRectEx(&outer, MainWindowStyle, TRUE, 0))
        outer = {0, 0, ClassicWindow.width, ClassicWindow.height};
    // Given to the window, the menu goes with it. Should the window not be made, the program ends
    // at once, and the menu with the process: whether a failed creation had already taken the menu
    // cannot be told, so it is not destroyed here.
    HMENU menu = MakeMainMenu(instance);
    HWND window = CreateWindowExA(0, MainWindowClass, MainWindowClass, MainWindowStyle, 10, 10,
                                  outer.right - outer.left, outer.bottom - outer.top, nullptr, menu,
                                  instance, nullptr);
    RECT has{};
    if (window == nullptr || !GetWindowRect(window, &outer) || !GetClientRect(window, &has))
        return window;
    const Extent grown = GrownToHold({outer.right - outer.left, outer.bottom - outer.top},
                                     {has.right, has.bottom}, client);
    if (grown.width != outer.right - outer.left || grown.height != outer.bottom - outer.top)
        SetWindowPos(window, nullptr, 0, 0, grown.width, grown.height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return window;
}

void CreateStepsBox(HINSTANCE instance)
{
    app.StepsBox = CreateWindowExA(0, "EDIT", StepsText, StepsBoxStyle, StepsBoxX, StepsBoxY,
                                   StepsBoxWidth, StepsBoxHeight, app.mainWindow,
                                   reinterpret_cast<HMENU>(IDC_STEPS_BOX), instance, nullptr);
}

// A control does not delete the font it was given: that is done here, once the windows are gone.
void DeleteFonts()
{
    for (HFONT* font : {&app.panelFont, &app.stepsFont}) {
        if (*font != nullptr)
            DeleteObject(*font);
        *font = nullptr;
    }
}

void BuildViews(HINSTANCE instance)
{
    for (const PanelEntry& entry : PanelRegistry)
        BuildPanel(entry.panel);
    CreateStepsBox(instance);

    ShowOnlyPanel(PanelRegistry.front().panel);
    ShowWindow(app.StepsBox, SW_HIDE);
    SetStepsFont();
}
