// Opening the link of a chosen kind, as the Configuration dialog's Open button and tessaly-cmd
// both do (the serial port with or without line settings, or the TCP connection, and the link
// flags afterwards), and letting it go when the program ends.
#include "app/app_state.h"
#include "app/platform.h"
#include "link/link.h"
#include "link/link_rules.h"

void OpenLink(int chosenKind, int portIndex, int baudIndex, const char* address, const char* port)
{
    LinkStep step = LinkStepFor(LinkAction::Open, app.connected, app.linkIsTcp, chosenKind);
    if (step == LinkStep::OpenPortWithLineSettings || step == LinkStep::OpenPortAsItIs) {
        SerialOpen(portIndex, step == LinkStep::OpenPortWithLineSettings, baudIndex);
        app.linkIsTcp = 0;
    } else if (step == LinkStep::ConnectTcp) {
        app.tcpSocket = INVALID_SOCKET;
        if (TcpConnect(address, port)) {
            app.connected = 1;
            app.linkIsTcp = 1;
            SetStatusText("Connected to server");
        } else {
            app.linkIsTcp = 0;
        }
    }
}

void TearDownLink()
{
    LinkStep step = LinkStepFor(LinkAction::Teardown, app.connected, app.linkIsTcp, NoLinkKind);
    if (step == LinkStep::ShutTcp)
        TcpDisconnect();
    else if (step == LinkStep::ClosePort)
        SerialClose();
}
