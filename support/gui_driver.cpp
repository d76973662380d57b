// Drives the real program from the test process. Every action is posted, never sent, when its
// handler may open a message box: a sent message would wait for the box to be closed. To know
// when the program has handled what was posted, a marker value is posted after it (a text limit
// on the bootloader steps box, which nothing in the program reads) and read back: once the marker
// is seen, every message posted before it has been handled, unless a "Status" box is up.
#include "support/gui_driver.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/main_window_create_win.h"
#include "panels/panel_table.h"
#include "res/resource.h"

namespace
{

constexpr DWORD QueryTimeoutMs = 200;

DWORD ProcessOf(HWND window)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process;
}

struct TopLevelSearch {
    DWORD process;
    const char* className;
    const char* title; // nullptr: any
    bool visibleOnly;
    HWND found;
    bool anyProcess;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<TopLevelSearch*>(data);
    if (!search->anyProcess && ProcessOf(window) != search->process)
        return TRUE;
    if (search->visibleOnly && !IsWindowVisible(window))
        return TRUE;
    if (ClassOf(window) != search->className)
        return TRUE;
    if (search->title != nullptr) {
        char title[256] = {};
        GetWindowTextA(window, title, sizeof title);
        if (std::strcmp(title, search->title) != 0)
            return TRUE;
    }
    search->found = window;
    return FALSE;
}

HWND FindTopLevel(DWORD process, const char* className, const char* title, bool visibleOnly,
                  bool anyProcess = false)
{
    TopLevelSearch search{process, className, title, visibleOnly, nullptr, anyProcess};
    EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool ReadMarker(const Program& program, DWORD_PTR& value)
{
    return SendMessageTimeoutA(program.stepsBox, EM_GETLIMITTEXT, 0, 0,
                               SMTO_NORMAL | SMTO_ABORTIFHUNG, QueryTimeoutMs, &value) != 0;
}

std::string ScreenshotPath(const std::string& name)
{
    const char* dir = std::getenv("TESSALY_SCREENSHOT_DIR");
    if (dir == nullptr || *dir == 0)
        return "";
    std::string path = dir;
    if (path[0] == '/')
        path = "Z:" + path; // a Unix path as the Wine drive that maps the root
    CreateDirectoryA(path.c_str(), nullptr);
    return path + "\\" + name + ".bmp";
}

} // namespace

bool ProgramRunning(const Program& program)
{
    return program.process.hProcess != nullptr &&
           WaitForSingleObject(program.process.hProcess, 0) == WAIT_TIMEOUT;
}

bool StartProgram(Program& program, int showCommand)
{
    const char* path = std::getenv("TESSALY_PROGRAM");
    if (path == nullptr || *path == 0)
        return false;
    return StartProgramAt(program, path, "", showCommand);
}

bool StartProgramAt(Program& program, const std::string& path, const std::string& arguments,
                    int showCommand)
{
    program.path = path;
    std::string command = "\"" + path + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (showCommand >= 0) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(showCommand);
    }
    if (!CreateProcessA(path.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &program.process))
        return false;
    DWORD deadline = GetTickCount() + 30000;
    while (GetTickCount() < deadline && ProgramRunning(program)) {
        if (program.main == nullptr)
            program.main =
                FindTopLevel(program.process.dwProcessId, MainWindowClass, nullptr, false);
        if (program.main != nullptr)
            program.stepsBox = GetDlgItem(program.main, IDC_STEPS_BOX);
        if (program.stepsBox != nullptr)
            return WaitSettled(program, 30000) == Settled::Done;
        Sleep(20);
    }
    return false;
}

DWORD CloseProgram(Program& program, DWORD limitMs)
{
    if (program.process.hProcess == nullptr)
        return STILL_ACTIVE;
    PostMessageA(program.main, WM_CLOSE, 0, 0);
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(program.process.hProcess, limitMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(program.process.hProcess, &code);
    else
        StopProgram(program);
    return code;
}

void StopProgram(Program& program)
{
    if (program.process.hProcess == nullptr)
        return;
    if (ProgramRunning(program)) {
        AnswerAllStatusBoxes(program);
        PostMessageA(program.main, WM_CLOSE, 0, 0);
        DWORD deadline = GetTickCount() + 10000;
        while (ProgramRunning(program) && GetTickCount() < deadline) {
            if (HWND box = FindStatusBox(program))
                AnswerStatusBox(program, box);
            PostMessageA(program.main, WM_CLOSE, 0, 0);
            WaitForSingleObject(program.process.hProcess, 200);
        }
        if (ProgramRunning(program)) {
            TerminateProcess(program.process.hProcess, 99);
            WaitForSingleObject(program.process.hProcess, 5000);
        }
    }
    CloseHandle(program.process.hThread);
    CloseHandle(program.process.hProcess);
    program.process = PROCESS_INFORMATION{};
}

Settled WaitSettled(Program& program, DWORD limitMs)
{
    unsigned marker = ++program.marker;
    PostMessageA(program.stepsBox, EM_SETLIMITTEXT, marker, 0);
    DWORD deadline = GetTickCount() + limitMs;
    do {
        if (!ProgramRunning(program))
            return Settled::Done;
        DWORD_PTR value = 0;
        if (ReadMarker(program, value) && value == marker)
            return FindStatusBox(program) != nullptr ? Settled::StatusBox : Settled::Done;
        if (FindStatusBox(program) != nullptr)
            return Settled::StatusBox;
        Sleep(5);
    } while (GetTickCount() < deadline);
    return Settled::TimedOut;
}

Settled PostAndWait(Program& program, HWND target, UINT message, WPARAM wParam, LPARAM lParam,
                    DWORD limitMs)
{
    PostMessageA(target, message, wParam, lParam);
    return WaitSettled(program, limitMs);
}

Settled Click(Program& program, HWND control, DWORD limitMs)
{
    return PostAndWait(program, control, BM_CLICK, 0, 0, limitMs);
}

std::string MenuCaption(HMENU menu, int position)
{
    char text[128] = {};
    GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
    return text;
}

namespace
{

// The identifier of popup > item in the program file's main menu; 0 when it has none.
UINT MenuItemId(const std::string& path, const char* popup, const char* item)
{
    UINT id = 0;
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HMENU menu = module == nullptr ? nullptr : LoadMenuA(module, MAKEINTRESOURCEA(IDM_MAIN));
    for (int p = 0; menu != nullptr && p < GetMenuItemCount(menu); ++p) {
        HMENU items = GetSubMenu(menu, p);
        if (items == nullptr || MenuCaption(menu, p) != popup)
            continue;
        for (int i = 0; i < GetMenuItemCount(items); ++i) {
            if (MenuCaption(items, i) == item)
                id = GetMenuItemID(items, i);
        }
    }
    if (menu != nullptr)
        DestroyMenu(menu);
    if (module != nullptr)
        FreeLibrary(module);
    return id == static_cast<UINT>(-1) ? 0 : id;
}

} // namespace

Settled ChooseMenu(Program& program, const char* popup, const char* item, DWORD limitMs)
{
    UINT id = MenuItemId(program.path, popup, item);
    if (id == 0) {
        std::fprintf(stderr, "the menu of %s has no item %s > %s\n", program.path.c_str(), popup,
                     item);
        return Settled::NoMenuItem;
    }
    return PostAndWait(program, program.main, WM_COMMAND, MAKEWPARAM(id, 0), 0, limitMs);
}

Settled ChooseView(Program& program, const std::string& panelName, DWORD limitMs)
{
    const std::string caption = panelName + " Tab";
    for (const ViewItem& item : ViewMenuItems()) {
        if (item.caption == caption)
            return PostAndWait(program, program.main, WM_COMMAND, MAKEWPARAM(item.menuId, 0), 0,
                               limitMs);
    }
    std::fprintf(stderr, "the View menu has no item %s\n", caption.c_str());
    return Settled::NoMenuItem;
}

Settled PressKey(Program& program, HWND target, WPARAM key)
{
    UINT scan = MapVirtualKeyA(static_cast<UINT>(key), 0);
    PostMessageA(target, WM_KEYDOWN, key, 1 | (scan << 16));
    PostMessageA(target, WM_KEYUP, key, 0xC0000001u | (scan << 16));
    return WaitSettled(program);
}

HWND FindStatusBox(const Program& program)
{
    return FindTopLevel(program.process.dwProcessId, "#32770", "Status", true);
}

HWND FindProgramDialog(const Program& program, const char* title)
{
    return FindTopLevel(program.process.dwProcessId, "#32770", title, true);
}

namespace
{

struct DialogCount {
    DWORD process;
    const char* title;
    int count;
};

BOOL CALLBACK CountDialog(HWND window, LPARAM data)
{
    auto* counting = reinterpret_cast<DialogCount*>(data);
    char title[256] = {};
    GetWindowTextA(window, title, sizeof title);
    if (ProcessOf(window) == counting->process && ClassOf(window) == "#32770" &&
        std::strcmp(title, counting->title) == 0)
        ++counting->count;
    return TRUE;
}

} // namespace

int CountProgramDialogs(const Program& program, const char* title)
{
    DialogCount counting{program.process.dwProcessId, title, 0};
    EnumWindows(CountDialog, reinterpret_cast<LPARAM>(&counting));
    return counting.count;
}

HWND WaitForWindow(const char* className, const char* title, DWORD limitMs)
{
    DWORD deadline = GetTickCount() + limitMs;
    for (;;) {
        if (HWND found = FindTopLevel(0, className, title, true, true))
            return found;
        if (GetTickCount() >= deadline)
            return nullptr;
        Sleep(50);
    }
}

bool CloseWindowProcess(HWND window, DWORD limitMs)
{
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, ProcessOf(window));
    if (process == nullptr)
        return false;
    PostMessageA(window, WM_CLOSE, 0, 0);
    bool ended = WaitForSingleObject(process, limitMs) == WAIT_OBJECT_0;
    if (!ended) {
        TerminateProcess(process, 99);
        WaitForSingleObject(process, 5000);
    }
    CloseHandle(process);
    return ended;
}

std::string StatusBoxText(HWND box)
{
    for (HWND child : ChildrenOf(box)) {
        if (_stricmp(ClassOf(child).c_str(), "Static") == 0) {
            std::string text = TextOf(child);
            if (!text.empty())
                return text;
        }
    }
    return "";
}

Settled AnswerStatusBox(Program& program, HWND box)
{
    HWND ok = GetDlgItem(box, IDOK);
    if (ok != nullptr)
        PostMessageA(ok, BM_CLICK, 0, 0);
    else
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    DWORD deadline = GetTickCount() + 10000;
    while (IsWindow(box) && IsWindowVisible(box) && GetTickCount() < deadline)
        Sleep(5);
    return WaitSettled(program);
}

std::vector<std::string> AnswerAllStatusBoxes(Program& program, int most)
{
    std::vector<std::string> texts;
    for (int i = 0; i < most; ++i) {
        HWND box = FindStatusBox(program);
        if (box == nullptr)
            break;
        texts.push_back(StatusBoxText(box));
        AnswerStatusBox(program, box);
    }
    return texts;
}

HWND Control(const Program& program, int id)
{
    return GetDlgItem(program.main, id);
}
HWND DialogControl(HWND dialog, int id)
{
    return GetDlgItem(dialog, id);
}

std::string TextOf(HWND window)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 10000, &length))
        return "<no answer>";
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]),
                             SMTO_NORMAL, 10000, &copied))
        return "<no answer>";
    text.resize(std::strlen(text.c_str()));
    return text;
}

bool SetTextOf(HWND window, const std::string& text)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                               SMTO_NORMAL, 10000, &result) != 0;
}

std::string ListText(HWND list, UINT message, int position)
{
    // Asked in UTF-16: the 8-bit form of these messages is not converted between processes.
    wchar_t wide[256] = {};
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(list, message, static_cast<WPARAM>(position),
                             reinterpret_cast<LPARAM>(wide), SMTO_NORMAL, 10000, &length) ||
        static_cast<LRESULT>(length) < 0)
        return "<none>";
    char text[256] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    return text;
}

std::string ClassOf(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

Place PlaceOf(HWND child)
{
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

std::vector<HWND> ChildrenOf(HWND parent)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

HWND FocusOf(const Program& program)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(program.process.dwThreadId, &info))
        return nullptr;
    return info.hwndFocus;
}

void SaveScreenshot(HWND window, const std::string& name)
{
    std::string path = ScreenshotPath(name);
    if (path.empty())
        return;
    Sleep(400); // let the controls' own paint messages and the display catch up
    RECT rect{};
    GetWindowRect(window, &rect);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, old);

    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    std::vector<unsigned char> pixels(stride * static_cast<DWORD>(height));
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
              reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    if (FILE* out = std::fopen(path.c_str(), "wb")) {
        std::fwrite(&file, sizeof file, 1, out);
        std::fwrite(&info, sizeof info, 1, out);
        std::fwrite(pixels.data(), 1, pixels.size(), out);
        std::fclose(out);
    }
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

COLORREF ScreenPixel(HWND window, int x, int y)
{
    POINT point{x, y};
    ClientToScreen(window, &point);
    HDC screen = GetDC(nullptr);
    COLORREF colour = GetPixel(screen, point.x, point.y);
    ReleaseDC(nullptr, screen);
    return colour;
}
