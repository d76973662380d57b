// File > Bootloader and About > Read Me. The bootloader view replaces the panels with the steps
// box, repaints at once and starts the bootloader tool from the "Boot Loader" folder beside the
// program. The About box is a modeless dialog owned by the main window; there is at most one.
#include "app/shell_actions.h"

#include <shellapi.h>

#include <array>
#include <string>

#include "core/app_state.h"
#include "app/bootloader_path.h"
#include "app/modeless_dialog_win.h"
#include "core/platform.h"
#include "panels/panels_win.h"
#include "res/resource.h"

namespace
{

// The tool runs on its own: the program neither waits for it nor talks to it. When the shell
// cannot start it (most often because the maker's tool was never put in the folder), the
// operator is told which file was looked for, instead of waiting for a window that never comes.
void StartBootloaderTool()
{
    std::array<char, ModulePathSize> path{};
    DWORD n = GetModuleFileNameA(nullptr, path.data(), ModulePathSize);
    if (!MakeBootloaderPath(path, n, BootToolName))
        return;
    HINSTANCE started =
        ShellExecuteA(app.mainWindow, "open", path.data(), nullptr, nullptr, SW_SHOW);
    // ShellExecuteA reports success as a value above 32, for old programs' sake.
    if (reinterpret_cast<INT_PTR>(started) <= 32)
        StatusBox((std::string(BootToolMissingText) + path.data()).c_str());
}

// The About box has no buttons: it goes through its close box or the Escape key, or with its
// owner. There is only ever one, the window that aboutDialog holds; its handle is forgotten as the
// window goes, however it goes, so that aboutDialog never names a dead window.
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_CLOSE:
        DestroyWindow(dialog);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) // Escape, through the dialog keyboard handling
            DestroyWindow(dialog);
        return TRUE;
    case WM_NCDESTROY:
        ForgetDialog(app.aboutDialog, dialog);
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace

void StartBootloader()
{
    HideAllPanels();
    ShowWindow(app.StepsBox, SW_SHOW);
    // The steps are drawn first, so that they stand behind a box about a missing tool.
    InvalidateRect(app.mainWindow, nullptr, FALSE);
    UpdateWindow(app.mainWindow);
    StartBootloaderTool();
}

void ShowAbout()
{
    HWND dialog = OpenSingleDialog(app.aboutDialog, IDD_ABOUT, AboutDialogProc);
    if (dialog != nullptr)
        ShowWindow(dialog, SW_SHOW);
}

bool HandleAboutDialogKey(MSG& message)
{
    return IsDialogMessageFor(app.aboutDialog, message) &&
           IsDialogMessageA(app.aboutDialog, &message) != 0;
}
