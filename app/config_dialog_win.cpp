// The Configuration dialog: the connection kind, serial port and baud rate, or IP address and TCP
// port; its Open and Close buttons set the link flags connected and linkIsTcp, and its Discover
// button lists the instruments on the local network.
#include "app/config_dialog_win.h"

#include <array>

#include "app/modeless_dialog_win.h"
#include "core/app_state.h"
#include "core/platform.h"
#include "link/discovery.h"
#include "link/link.h"
#include "link/link_rules.h"
#include "res/resource.h"

namespace
{

// The connection kind list's entries, by position (Rs232Kind, UsbKind, EthernetKind).
constexpr std::array<const char*, LinkKindCount> LinkKind = {"RS-232", "USB", "Ethernet"};

void FillChoices(HWND dialog)
{
    for (std::size_t i = 0; i < LinkKind.size(); ++i)
        SendDlgItemMessageA(dialog, IDC_LINK_KIND, LB_INSERTSTRING, i,
                            reinterpret_cast<LPARAM>(LinkKind[i]));
    for (int i = 0; i < BaudChoiceCount; ++i)
        SendDlgItemMessageA(dialog, IDC_BAUD_RATE, CB_INSERTSTRING, i,
                            reinterpret_cast<LPARAM>(BaudLabels[i]));
    SendDlgItemMessageA(dialog, IDC_BAUD_RATE, CB_SETCURSEL, DefaultBaudIndex, 0);
    for (int i = 0; i < PortCount; ++i)
        SendDlgItemMessageA(dialog, IDC_COMPORT, CB_INSERTSTRING, i,
                            reinterpret_cast<LPARAM>(PortLabel(i).c_str()));
    SendDlgItemMessageA(dialog, IDC_COMPORT, CB_SETCURSEL, 0, 0);
}

int Selection(int controlId, UINT message)
{
    if (app.configDialog == nullptr)
        return -1;
    return static_cast<int>(SendDlgItemMessageA(app.configDialog, controlId, message, 0, 0));
}

// A button of the dialog. Close acts only for a click on the Close button itself.
void RunButton(HWND dialog, int id, HWND control)
{
    switch (id) {
    case IDOK:
        OpenSelectedLink();
        break;
    case IDCANCEL:
        if (control != nullptr && control == GetDlgItem(dialog, IDCANCEL))
            CloseLink();
        break;
    case IDC_DISCOVER:
        // The link is left alone; the result, when the run gets that far, replaces this text.
        SetStatusText("Disconnected");
        DiscoverInstruments();
        break;
    default:
        break;
    }
}

INT_PTR CALLBACK ConfigDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return TRUE; // keyboard focus on the first control
    case WM_CLOSE:
        if (!app.busy)
            DestroyWindow(dialog);
        return TRUE;
    case WM_NCDESTROY:
        ForgetDialog(app.configDialog, dialog);
        return FALSE;
    case WM_COMMAND:
        // Selection changes in the lists and boxes do nothing; only the buttons act, and not
        // while another command or button is still being handled.
        if (HIWORD(wParam) == 0 && !app.busy) {
            app.busy = true;
            RunButton(dialog, LOWORD(wParam), reinterpret_cast<HWND>(lParam));
            app.busy = false;
        }
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

void ShowConfiguration()
{
    HWND dialog = OpenSingleDialog(app.configDialog, IDD_CONFIGURATION, ConfigDialogProc);
    if (dialog == nullptr)
        return;
    FillChoices(dialog);
    SetStatusText(app.connected == 1 ? "Connected" : "Disconnected");
    ShowWindow(dialog, SW_SHOW);
}

void OpenSelectedLink()
{
    int kind = Selection(IDC_LINK_KIND, LB_GETCURSEL);
    if (LinkStepFor(LinkAction::Open, app.connected, app.linkIsTcp, kind) == LinkStep::ConnectTcp) {
        ClearTextBuffers();
        GetDlgItemTextA(app.configDialog, IDC_IP_ADDRESS, app.EntryText.data(), TextBufferSize);
        GetDlgItemTextA(app.configDialog, IDC_TCP_PORT, app.PortText.data(), TextBufferSize);
    }
    bool opened = OpenLink(kind, {Selection(IDC_COMPORT, CB_GETCURSEL),
                                  Selection(IDC_BAUD_RATE, CB_GETCURSEL), app.EntryText.data(),
                                  app.PortText.data()});
    if (!opened && !app.linkFailure.empty())
        StatusBox(app.linkFailure.c_str());
}

void CloseLink()
{
    if (!ActOnLink(LinkAction::Close))
        return; // the shutdown failed; its box has said so
    SetStatusText("Disconnected");
}

bool HandleConfigDialogKey(MSG& message)
{
    HWND dialog = app.configDialog;
    if (!IsDialogMessageFor(dialog, message))
        return false;
    bool key =
        message.message == WM_KEYDOWN || message.message == WM_KEYUP || message.message == WM_CHAR;
    if (key && message.wParam == VK_ESCAPE)
        return true;
    // Enter on the focused Close button would close the link; it is not a way to do that.
    if (key && message.wParam == VK_RETURN && GetFocus() == GetDlgItem(dialog, IDCANCEL))
        return true;
    return IsDialogMessageA(dialog, &message) != 0;
}
