// The single instance and the keyboard routing of the program's modeless dialogs.
#include "app/modeless_dialog_win.h"

#include "core/app_state.h"

HWND OpenSingleDialog(HWND& slot, int templateId, DLGPROC procedure)
{
    if (slot != nullptr) {
        ShowWindow(slot, SW_SHOW);
        SetForegroundWindow(slot);
        return nullptr;
    }
    slot = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId),
                              app.mainWindow, procedure, 0);
    return slot;
}

void ForgetDialog(HWND& slot, HWND dialog)
{
    if (slot == dialog)
        slot = nullptr;
}

bool IsDialogMessageFor(HWND dialog, const MSG& message)
{
    return dialog != nullptr && (message.hwnd == dialog || IsChild(dialog, message.hwnd));
}
