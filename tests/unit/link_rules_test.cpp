// The link state rules: the step of every action in every state of the link flags, for every
// position of the connection kind list, and the flags that follow each step.
#include <gtest/gtest.h>

#include "link/link.h"
#include "link/link_rules.h"
#include "tests/unit/fakes.h"

namespace
{

// One letter per step, in the order of LinkStep: nothing, open the port with line settings (RS-232)
// or as it is (USB), connect TCP, shut TCP down, close the port, TCP send, serial write, TCP
// receive, serial read.
constexpr char StepLetters[] = "-LUCSPswtr";

// The chosen kinds of each letter of a row below: none, RS-232, USB, Ethernet, past the list.
constexpr int Kinds[] = {NoLinkKind, Rs232Kind, UsbKind, EthernetKind, LinkKindCount};

struct ExpectedRow {
    LinkAction action;
    const char* byState[4]; // (connected, linkIsTcp) = (0,0), (0,1), (1,0), (1,1)
};

// Written out in full from the Configuration dialog's link state table (Open, Close, the main
// window's destruction as Teardown) and the transaction's choice of link by linkIsTcp alone.
constexpr ExpectedRow Expected[] = {
    {LinkAction::Open, {"-LUC-", "-LUC-", "-----", "-----"}},
    {LinkAction::Close, {"PPPPP", "-----", "PPPPP", "SSSSS"}},
    {LinkAction::Send, {"wwwww", "sssss", "wwwww", "sssss"}},
    {LinkAction::Read, {"rrrrr", "ttttt", "rrrrr", "ttttt"}},
    {LinkAction::Teardown, {"-----", "-----", "PPPPP", "SSSSS"}},
};

TEST(LinkRules, EveryActionInEveryStateAndChosenKind)
{
    for (const ExpectedRow& row : Expected) {
        for (int state = 0; state < 4; ++state) {
            int connected = state / 2;
            int linkIsTcp = state % 2;
            for (int k = 0; k < 5; ++k) {
                LinkStep step = LinkStepFor(row.action, connected, linkIsTcp, Kinds[k]);
                EXPECT_EQ(StepLetters[static_cast<int>(step)], row.byState[state][k])
                    << "action " << static_cast<int>(row.action) << ", connected " << connected
                    << ", linkIsTcp " << linkIsTcp << ", kind " << Kinds[k];
            }
        }
    }
}

} // namespace

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
        {LinkAction::Teardown, 1, 0, NoLinkKind, false, "SerialClose", 1, 0},
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
