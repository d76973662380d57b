// The link state rules: the step of every action in every state of the link flags, for every
// position of the connection kind list, and the flags that follow each step; and which failures
// of a serial port let it go.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "link/link.h"
#include "link/link_rules.h"
#include "link/port_loss.h"
#include "link/send_whole.h"
#include "tests/unit/fakes.h"

namespace
{

constexpr int Kinds[] = {NoLinkKind, Rs232Kind, UsbKind, EthernetKind, LinkKindCount};

// What Open does with no link open, by the chosen kind: nothing without a kind in the list.
LinkStep OpeningStep(int kind)
{
    switch (kind) {
    case Rs232Kind:
        return LinkStep::OpenPortWithLineSettings;
    case UsbKind:
        return LinkStep::OpenPortAsItIs;
    case EthernetKind:
        return LinkStep::ConnectTcp;
    default:
        return LinkStep::None;
    }
}

} // namespace

// The rules the link table keeps, in every state of the link flags and for every position of the
// connection kind list: commands go by linkIsTcp alone; Open acts only while no link is open;
// letting go acts on an open link by its kind, and Close also closes a serial port's handle
// whatever the flags say; whatever lets go leaves the link closed, but a failed shutdown.
TEST(LinkRules, EveryActionInEveryStateAndChosenKind)
{
    for (int connected : {0, 1}) {
        for (int linkIsTcp : {0, 1}) {
            for (int kind : Kinds) {
                SCOPED_TRACE(testing::Message() << "connected " << connected << ", linkIsTcp "
                                                << linkIsTcp << ", kind " << kind);
                auto step = [&](LinkAction action) {
                    return LinkStepFor(action, connected, linkIsTcp, kind);
                };
                EXPECT_EQ(step(LinkAction::Send),
                          linkIsTcp ? LinkStep::TcpSend : LinkStep::SerialWrite);
                EXPECT_EQ(step(LinkAction::Read),
                          linkIsTcp ? LinkStep::TcpReceive : LinkStep::SerialRead);
                EXPECT_EQ(step(LinkAction::Open), connected ? LinkStep::None : OpeningStep(kind));
                LinkStep letGo = linkIsTcp ? LinkStep::ShutTcp : LinkStep::ClosePort;
                EXPECT_EQ(step(LinkAction::Teardown), connected ? letGo : LinkStep::None);
                EXPECT_EQ(step(LinkAction::Close),
                          connected || !linkIsTcp ? letGo : LinkStep::None);
                for (LinkAction action : {LinkAction::Close, LinkAction::Teardown}) {
                    LinkDecision decision = LinkRuleFor(action, connected, linkIsTcp, kind);
                    if (decision.step == LinkStep::None)
                        continue;
                    EXPECT_EQ(decision.done.connected, 0);
                    EXPECT_EQ(decision.failed.connected,
                              decision.step == LinkStep::ShutTcp ? KeepFlag : 0);
                }
            }
        }
    }
}

// A failed write or read lets the port go only for the codes of a device that has left: not for
// the program's own cancel at its time limit (995), nor a time-out (121, 1460), a handle already
// closed (6) or an operation still pending (997).
TEST(PortLoss, OnlyADeviceThatHasLeftLetsThePortGo)
{
    for (std::uint32_t code : {5u, 21u, 22u, 31u, 109u, 1167u, 1617u})
        EXPECT_TRUE(PortIsGone(code, true)) << code;
    for (std::uint32_t code : {0u, 2u, 6u, 55u, 121u, 995u, 997u, 1460u})
        EXPECT_FALSE(PortIsGone(code, true)) << code;
    // A port on which ClearCommError fails has gone, whatever code the operation ended with.
    for (std::uint32_t code : {2u, 55u, 995u, 1460u})
        EXPECT_TRUE(PortIsGone(code, false)) << code;
}

// The Configuration dialog's link state table, taken step by step through the fakes of the link
// operations: the operation that runs and the flags (connected, linkIsTcp) after it.
TEST(LinkRules, FlagsFollowEachStepAndItsOutcome)
{
    struct Transition {
        LinkAction action;
        int connected, linkIsTcp, kind;
        bool fails;
        const char* call; // "" when nothing runs
        int connectedAfter, linkIsTcpAfter;
    };
    const Transition transitions[] = {
        {LinkAction::Open, 0, 1, Rs232Kind, false, "SerialOpen", 1, 0},
        {LinkAction::Open, 0, 1, UsbKind, true, "SerialOpen", 0, 0},
        {LinkAction::Open, 0, 0, EthernetKind, false, "TcpConnect", 1, 1},
        {LinkAction::Open, 0, 1, EthernetKind, true, "TcpConnect", 0, 0},
        {LinkAction::Open, 0, 1, NoLinkKind, false, "", 0, 1},
        {LinkAction::Open, 1, 0, EthernetKind, false, "", 1, 0},
        {LinkAction::Close, 1, 0, NoLinkKind, false, "SerialClose", 0, 0},
        {LinkAction::Close, 0, 0, NoLinkKind, false, "SerialClose", 0, 0},
        {LinkAction::Close, 1, 1, NoLinkKind, false, "TcpDisconnect", 0, 1},
        {LinkAction::Close, 1, 1, NoLinkKind, true, "TcpDisconnect", 1, 1},
        {LinkAction::Close, 0, 1, NoLinkKind, false, "", 0, 1},
        {LinkAction::Teardown, 1, 1, NoLinkKind, false, "TcpDisconnect", 0, 1},
        {LinkAction::Teardown, 1, 1, NoLinkKind, true, "TcpDisconnect", 1, 1},
        {LinkAction::Teardown, 1, 0, NoLinkKind, false, "SerialClose", 0, 0},
        {LinkAction::Teardown, 0, 1, NoLinkKind, false, "", 0, 1},
    };
    for (const Transition& t : transitions) {
        fake::Reset();
        app.connected = t.connected;
        app.linkIsTcp = t.linkIsTcp;
        fake::linkCallsFail = t.fails;
        TakeLinkStep(LinkRuleFor(t.action, t.connected, t.linkIsTcp, t.kind), {});
        std::string ran = fake::linkCalls.empty() ? "" : fake::linkCalls.front();
        SCOPED_TRACE(testing::Message()
                     << "action " << static_cast<int>(t.action) << " from (" << t.connected << ", "
                     << t.linkIsTcp << "), kind " << t.kind << (t.fails ? ", failing" : ""));
        EXPECT_EQ(ran, t.call);
        EXPECT_LE(fake::linkCalls.size(), 1u);
        EXPECT_EQ(app.connected, t.connectedAfter);
        EXPECT_EQ(app.linkIsTcp, t.linkIsTcpAfter);
    }
}

// A link reports what happened in the record and the rules act on it once the step has returned:
// a link found gone is torn down, a failure is told in one "Status" box, and an open's failure is
// left for its caller to show.
TEST(LinkOutcomes, AGoneLinkIsTornDownAfterItsStepAndAFailedOpenOnlyLeavesItsReason)
{
    for (int linkIsTcp : {0, 1}) {
        fake::Reset();
        app.connected = 1;
        app.linkIsTcp = linkIsTcp;
        fake::linkGoesOnSend = true;
        EXPECT_TRUE(ActOnLink(LinkAction::Send));
        EXPECT_EQ(fake::linkCalls,
                  std::vector<std::string>{linkIsTcp ? "TcpDisconnect" : "SerialClose"});
        EXPECT_EQ(app.connected, 0);
        EXPECT_EQ(app.linkGone, 0);
        ActOnLink(LinkAction::Send); // a closed link is not torn down again
        EXPECT_EQ(fake::linkCalls.size(), 1u);
    }

    fake::Reset();
    app.connected = 1;
    app.linkIsTcp = 1;
    fake::linkCallsFail = true;
    EXPECT_FALSE(ActOnLink(LinkAction::Close));
    EXPECT_EQ(fake::statusBoxes, std::vector<std::string>{"Shutdown failed"});

    fake::Reset();
    fake::linkCallsFail = true;
    EXPECT_FALSE(OpenLink(EthernetKind, {0, 0, "192.0.2.1", "5025"}));
    EXPECT_EQ(app.linkFailure, "Unable to connect to server");
    EXPECT_TRUE(fake::statusBoxes.empty());
    fake::linkCallsFail = false;
    EXPECT_TRUE(OpenLink(EthernetKind, {0, 0, "192.0.2.1", "5025"}));
    EXPECT_EQ(app.linkFailure, "");
}

// A send that takes fewer bytes than it is given is called again for the rest, until the whole
// command is out in order; the first failure ends it.
TEST(TcpSendWhole, SendsTheRestUntilAllIsOutOrACallFails)
{
    const std::string command = "SYST:COMM:LAN:HOST \"bench-source-7\"\n";
    std::string wire;
    int calls = 0;
    auto threeAtATime = [&](const char* from, int count) {
        ++calls;
        int taken = std::min(count, 3);
        wire.append(from, static_cast<std::size_t>(taken));
        return taken;
    };
    EXPECT_TRUE(SendWhole(command.data(), static_cast<int>(command.size()), threeAtATime));
    EXPECT_EQ(wire, command);
    EXPECT_EQ(calls, static_cast<int>((command.size() + 2) / 3));

    wire.clear();
    calls = 0;
    auto failsThirdTime = [&](const char* from, int count) {
        return calls == 2 ? -1 : threeAtATime(from, count);
    };
    EXPECT_FALSE(SendWhole(command.data(), static_cast<int>(command.size()), failsThirdTime));
    EXPECT_EQ(wire, command.substr(0, 6));
}
