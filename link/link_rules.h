// Which link operation an action runs, given the link flags connected and linkIsTcp and the
// connection kind chosen in the Configuration dialog. The dialog, the main window and the TCP link
// ask here and then make the platform calls; nothing here touches the platform.
#pragma once

// What is done to the link.
enum class LinkAction {
    Open,  // the dialog's Open button
    Close, // the dialog's Close button
    Send,  // a command goes out
    Read,  // an answer is read
    // The link is let go other than by the Close button: the main window goes, a TCP send
    // fails, the program ends. TcpDisconnect asks this row too, so that it acts only on an open
    // TCP link whoever calls it.
    Teardown,
};

// The link operation that an action comes to.
enum class LinkStep {
    None,
    OpenPortWithLineSettings, // SerialOpen, applying baud rate and framing (RS-232)
    OpenPortAsItIs,           // SerialOpen, the port keeping its own settings (USB)
    ConnectTcp,               // TcpConnect
    ShutTcp,                  // TcpDisconnect
    ClosePort,                // SerialClose
    TcpSend,
    SerialWrite,
    TcpReceive,
    SerialRead,
};

// The step for action in the state (connected, linkIsTcp) with chosenKind selected in the
// connection kind list (a position of link.h's kinds, or NoLinkKind).
LinkStep LinkStepFor(LinkAction action, int connected, int linkIsTcp, int chosenKind);
