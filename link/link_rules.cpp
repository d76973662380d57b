// The link state rules as one table: for each action, the first row that matches the link flags
// and the chosen connection kind gives the step.
#include "link/link_rules.h"

#include "link/link.h"

namespace
{

constexpr int Any = -2; // matches every value of its column

struct LinkRule {
    LinkAction action;
    int connected;
    int linkIsTcp;
    int chosenKind;
    LinkStep step;
};

// clang-format off
constexpr LinkRule LinkRules[] = {
    // Open acts only while no link is open, and then by the chosen kind alone; with no kind
    // chosen it does nothing.
    {LinkAction::Open,     1,   Any, Any,          LinkStep::None},
    {LinkAction::Open,     0,   Any, Rs232Kind,    LinkStep::OpenPortWithLineSettings},
    {LinkAction::Open,     0,   Any, UsbKind,      LinkStep::OpenPortAsItIs},
    {LinkAction::Open,     0,   Any, EthernetKind, LinkStep::ConnectTcp},
    {LinkAction::Open,     0,   Any, Any,          LinkStep::None},
    // Close goes by the kind of the link that is, or was last, open. A TCP link that is already
    // closed needs nothing more; a serial port's handle is closed whatever the flags say.
    {LinkAction::Close,    1,   1,   Any,          LinkStep::ShutTcp},
    {LinkAction::Close,    0,   1,   Any,          LinkStep::None},
    {LinkAction::Close,    Any, 0,   Any,          LinkStep::ClosePort},
    // Commands go by linkIsTcp alone: on a closed link they fail and show a failure text.
    {LinkAction::Send,     Any, 1,   Any,          LinkStep::TcpSend},
    {LinkAction::Send,     Any, 0,   Any,          LinkStep::SerialWrite},
    {LinkAction::Read,     Any, 1,   Any,          LinkStep::TcpReceive},
    {LinkAction::Read,     Any, 0,   Any,          LinkStep::SerialRead},
    // Letting go acts only on an open link.
    {LinkAction::Teardown, 1,   1,   Any,          LinkStep::ShutTcp},
    {LinkAction::Teardown, 1,   0,   Any,          LinkStep::ClosePort},
};
// clang-format on

bool Matches(int rule, int value)
{
    return rule == Any || rule == value;
}

} // namespace

LinkStep LinkStepFor(LinkAction action, int connected, int linkIsTcp, int chosenKind)
{
    for (const LinkRule& rule : LinkRules) {
        if (rule.action == action && Matches(rule.connected, connected) &&
            Matches(rule.linkIsTcp, linkIsTcp) && Matches(rule.chosenKind, chosenKind))
            return rule.step;
    }
    return LinkStep::None;
}
