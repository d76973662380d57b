// Which link operation an action runs, given the link flags connected and linkIsTcp and the
// connection kind chosen in the Configuration dialog, and the flags that follow its outcome. The
// dialog, the main window, the transaction and the TCP link go through here; the platform calls
// are reached through link/link.h, so this code runs natively with fakes of them.
#pragma once

// What is done to the link.
enum class LinkAction {
    Open,  // the dialog's Open button
    Close, // the dialog's Close button
    Send,  // a command goes out
    Read,  // an answer is read
    // The link is let go other than by the Close button: the main window goes, a TCP send
    // fails, the serial port has gone, the program ends. It acts only on an open link.
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

// A flag value in LinkFlags that leaves the flag as it is.
constexpr int KeepFlag = -1;
struct LinkFlags {
    int connected;
    int linkIsTcp;
};

// What the rules decide for one action: the step, and the flags after it succeeded or failed.
struct LinkDecision {
    LinkStep step;
    LinkFlags done;
    LinkFlags failed;
};

// The decision for action in the state (connected, linkIsTcp) with chosenKind selected in the
// connection kind list (a position of link.h's kinds, or NoLinkKind).
LinkDecision LinkRuleFor(LinkAction action, int connected, int linkIsTcp, int chosenKind);
LinkStep LinkStepFor(LinkAction action, int connected, int linkIsTcp, int chosenKind);

// The one place that writes app.connected and app.linkIsTcp: the flags the decision gives for
// the step's outcome.
void ApplyLinkFlags(const LinkDecision& decision, bool succeeded);

// What the open steps need from the dialog: the Comport and Baud Rate positions, and the IP
// address and TCP port texts.
struct LinkChoice {
    int portIndex;
    int baudIndex;
    const char* address;
    const char* port;
};

// Makes the step's platform call (link/link.h); true when it succeeded. The one mapping from a
// step to its call, for the dialog, the main window, the transaction and the links.
bool RunLinkStep(LinkStep step, const LinkChoice& choice = {});
// Runs the decision's step and applies the flags that follow; true when the step succeeded.
// app.linkFailure and app.linkGone then hold what the step left.
bool TakeLinkStep(const LinkDecision& decision, const LinkChoice& choice = {});
// The step for action in the present state, taken: Close, Send, Read and Teardown. A failure the
// step left is told in a "Status" box; a link the step found gone is torn down afterwards.
bool ActOnLink(LinkAction action);
// Opens the link of chosenKind as the Configuration dialog's Open button does, and as tessaly-cmd
// does: only while no link is open, the flags set by the outcome, and "Connected to server" in the
// dialog's status box when a TCP connection is made. True when a link was opened; when it was
// not, app.linkFailure says why, for the caller to show.
bool OpenLink(int chosenKind, const LinkChoice& choice);
