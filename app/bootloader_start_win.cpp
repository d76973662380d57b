// File > Bootloader: the bootloader view replaces the panels with the steps box, repaints at once
// and starts the bootloader tool from the "Boot Loader" folder beside the program.
#include "app/bootloader_start_win.h"

#include <windows.h>

#include <shellapi.h>

#include <array>
#include <string>

#include "app/bootloader_path.h"
#include "core/app_state.h"
#include "core/platform.h"
#include "panels/panels_win.h"

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
