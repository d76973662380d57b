// About > Read Me: the About box, a modeless dialog owned by the main window; there is at most one.
#include "app/about_dialog_win.h"

#include "app/modeless_dialog_win.h"
#include "core/app_state.h"
#include "res/resource.h"

namespace
{

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
