// The link state rules as one table: for each action, the first row that matches the link flags
// and the chosen connection kind gives the step and the flags after it; and the functions that
// take a step and apply those flags.
#include "link/link_rules.h"

#include "core/app_state.h"
#include "core/platform.h"
#include "link/link.h"

namespace
{

constexpr int Any = -2; // matches every value of its column

constexpr int Keep = KeepFlag;
constexpr LinkFlags Unchanged = {Keep, Keep};

struct LinkRule {
    LinkAction action;
    int connected;
    int linkIsTcp;
    int chosenKind;
    LinkDecision decision;
};

// clang-format off
constexpr LinkRule LinkRules[] = {
    // Open acts only while no link is open, and then by the chosen kind alone; with no kind
    // chosen it does nothing. A failed open leaves the link closed and serial.
    {LinkAction::Open,     1,   Any, Any,          {LinkStep::None,                     Unchanged, Unchanged}},
    {LinkAction::Open,     0,   Any, Rs232Kind,    {LinkStep::OpenPortWithLineSettings, {1, 0},    {0, 0}}},
    {LinkAction::Open,     0,   Any, UsbKind,      {LinkStep::OpenPortAsItIs,           {1, 0},    {0, 0}}},
    {LinkAction::Open,     0,   Any, EthernetKind, {LinkStep::ConnectTcp,               {1, 1},    {0, 0}}},
    {LinkAction::Open,     0,   Any, Any,          {LinkStep::None,                     Unchanged, Unchanged}},
    // Close goes by the kind of the link that is, or was last, open. A TCP link that is already
    // closed needs nothing more; a serial port's handle is closed whatever the flags say. A
    // failed shutdown leaves the link open.
    {LinkAction::Close,    1,   1,   Any,          {LinkStep::ShutTcp,                  {0, Keep}, Unchanged}},
    {LinkAction::Close,    0,   1,   Any,          {LinkStep::None,                     Unchanged, Unchanged}},
    {LinkAction::Close,    Any, 0,   Any,          {LinkStep::ClosePort,                {0, Keep}, {0, Keep}}},
    // Commands go by linkIsTcp alone: on a closed link they fail and show a failure text.
    {LinkAction::Send,     Any, 1,   Any,          {LinkStep::TcpSend,                  Unchanged, Unchanged}},
    {LinkAction::Send,     Any, 0,   Any,          {LinkStep::SerialWrite,              Unchanged, Unchanged}},
    {LinkAction::Read,     Any, 1,   Any,          {LinkStep::TcpReceive,               Unchanged, Unchanged}},
    {LinkAction::Read,     Any, 0,   Any,          {LinkStep::SerialRead,               Unchanged, Unchanged}},
    // Letting go acts only on an open link, and leaves it closed but for a failed shutdown.
    {LinkAction::Teardown, 1,   1,   Any,          {LinkStep::ShutTcp,                  {0, Keep}, Unchanged}},
    {LinkAction::Teardown, 1,   0,   Any,          {LinkStep::ClosePort,                {0, Keep}, {0, Keep}}},
};
// clang-format on

bool Matches(int rule, int value)
{
    return rule == Any || rule == value;
}

} // namespace

LinkDecision LinkRuleFor(LinkAction action, int connected, int linkIsTcp, int chosenKind)
{
    for (const LinkRule& rule : LinkRules) {
        if (rule.action == action && Matches(rule.connected, connected) &&
            Matches(rule.linkIsTcp, linkIsTcp) && Matches(rule.chosenKind, chosenKind))
            return rule.decision;
    }
    return {LinkStep::None, Unchanged, Unchanged};
}

LinkStep LinkStepFor(LinkAction action, int connected, int linkIsTcp, int chosenKind)
{
    return LinkRuleFor(action, connected, linkIsTcp, chosenKind).step;
}

void ApplyLinkFlags(const LinkDecision& decision, bool succeeded)
{
    const LinkFlags& flags = succeeded ? decision.done : decision.failed;
    if (flags.connected != Keep)
        app.connected = flags.connected;
    if (flags.linkIsTcp != Keep)
        app.linkIsTcp = flags.linkIsTcp;
}

bool RunLinkStep(LinkStep step, const LinkChoice& choice)
{
    switch (step) {
    case LinkStep::OpenPortWithLineSettings:
        return SerialOpen(choice.portIndex, true, choice.baudIndex);
    case LinkStep::OpenPortAsItIs:
        return SerialOpen(choice.portIndex, false, choice.baudIndex);
    case LinkStep::ConnectTcp:
        return TcpConnect(choice.address, choice.port);
    case LinkStep::ShutTcp:
        return TcpDisconnect();
    case LinkStep::ClosePort:
        SerialClose();
        return true;
    case LinkStep::TcpSend:
        TcpSend();
        return true;
    case LinkStep::SerialWrite:
        SerialWrite();
        return true;
    case LinkStep::TcpReceive:
        TcpReceive();
        return true;
    case LinkStep::SerialRead:
        SerialRead();
        return true;
    case LinkStep::None:
        break;
    }
    return true;
}

bool TakeLinkStep(const LinkDecision& decision, const LinkChoice& choice)
{
    app.linkFailure.clear();
    app.linkGone = 0;
    app.peerClosed = 0;
    bool succeeded = RunLinkStep(decision.step, choice);
    ApplyLinkFlags(decision, succeeded);
    return succeeded;
}

bool ActOnLink(LinkAction action)
{
    bool succeeded = TakeLinkStep(LinkRuleFor(action, app.connected, app.linkIsTcp, NoLinkKind));
    if (!app.linkFailure.empty())
        StatusBox(app.linkFailure.c_str());
    // A link that found itself gone during the step is let go now that the step is over, so
    // that the next command fails at once and the port or address can be opened again.
    if (app.linkGone != 0)
        ActOnLink(LinkAction::Teardown);
    return succeeded;
}

bool OpenLink(int chosenKind, const LinkChoice& choice)
{
    LinkDecision decision = LinkRuleFor(LinkAction::Open, app.connected, app.linkIsTcp, chosenKind);
    if (decision.step == LinkStep::None)
        return false;
    if (decision.step == LinkStep::ConnectTcp)
        app.tcpSocket = INVALID_SOCKET;
    bool opened = TakeLinkStep(decision, choice);
    if (opened && decision.step == LinkStep::ConnectTcp)
        SetStatusText("Connected to server");
    return opened;
}
