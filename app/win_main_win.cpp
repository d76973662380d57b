// The program's entry: registers the main window class, creates the main window with its menu, the
// panels and the hidden bootloader steps box, shows the Command panel and runs the message loop.
#include <objbase.h>

#include "app/about_dialog_win.h"
#include "app/config_dialog_win.h"
#include "app/main_window_create_win.h"
#include "app/main_window_win.h"
#include "core/app_state.h"
#include "link/link_rules.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    // File > Bootloader starts the tool through the shell, which may hand the work to shell
    // extensions that need COM, some of them in a single-threaded apartment: COM is set up once on
    // this, the window thread, as the shell asks, and released when the loop ends. Without it the
    // program runs on; only such an extension could fail.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);

    // At both start-up failures the box names the step that failed, which is all the operator can
    // act on. There is no return after the first: without its class the window cannot be made
    // either, and that failure's box ends the program.
    if (!RegisterMainWindowClass(instance, MainWindowProc)) {
        MessageBoxA(nullptr, "Window class creation failed\r\n", "Window Class Failed",
                    MB_ICONERROR);
    }
    app.mainWindow = CreateMainWindow(instance);
    if (app.mainWindow == nullptr) {
        MessageBoxA(nullptr, "Window creation failed\r\n", "Window Creation Failed", MB_ICONERROR);
        if (SUCCEEDED(com))
            CoUninitialize();
        return 1; // no window, so no message loop
    }
    ShowWindow(app.mainWindow, showCommand);

    BuildViews(instance);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (HandleConfigDialogKey(message) || HandleAboutDialogKey(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }

    // The link is let go a second time on purpose. Normally the main window's destruction has
    // already done it, so the rules find nothing to do; they act only when the loop ended without
    // that destruction, so that no socket is left open at exit.
    ActOnLink(LinkAction::Teardown);
    DeleteFonts(); // the main window and its controls are destroyed by now
    if (SUCCEEDED(com))
        CoUninitialize();
    return 0;
}
