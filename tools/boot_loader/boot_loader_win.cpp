// A stand-in for the instrument maker's bootloader tool. The program's File > Bootloader starts
// the file of this name in the "Boot Loader" folder beside it; this window only says where the
// maker's tool belongs, so that the menu entry can be tried without the maker's tool installed.
#include <windows.h>

#include "../../res/resource.h"

namespace
{

constexpr char WindowClass[] = "TessalyBootLoaderStandIn";

// The explanation with this file's own path, so the operator sees exactly which file to replace.
// The fixed text and a path of at most MAX_PATH characters fit the buffer.
constexpr int TextSize = MAX_PATH + 512;

void FillText(char (&text)[TextSize])
{
    char path[MAX_PATH + 1] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    path[n < MAX_PATH ? n : MAX_PATH] = '\0';
    wsprintfA(text,
              "This is a stand-in for the instrument maker's bootloader tool.\r\n\r\n"
              "The maker's bootloader tool belongs in this folder, under this file's name:\r\n\r\n"
              "%s\r\n\r\n"
              "Replace this file with the maker's tool to load new firmware into the instrument.",
              path);
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: {
        char text[TextSize];
        FillText(text);
        CreateWindowExA(0, "STATIC", text, WS_CHILD | WS_VISIBLE | SS_LEFT, 16, 16, 560, 200,
                        window, reinterpret_cast<HMENU>(IDC_BOOT_TOOL_TEXT), nullptr, nullptr);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = WindowClass;
    if (RegisterClassA(&windowClass) == 0)
        return 1;
    HWND window = CreateWindowExA(
        0, WindowClass, "Boot Loader", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
        CW_USEDEFAULT, CW_USEDEFAULT, 608, 280, nullptr, nullptr, instance, nullptr);
    if (window == nullptr)
        return 1;
    ShowWindow(window, show);
    UpdateWindow(window);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
