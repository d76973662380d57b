// The link state rules: the step of every action in every state of the link flags, for every
// position of the connection kind list.
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

// Opening as the dialog's Open button and tessaly-cmd do: by the chosen kind, and only while no
// link is open.
TEST(OpenLink, SetsTheFlagsByTheKindOpened)
{
    fake::Reset();
    OpenLink(NoLinkKind, 3, 6, "192.0.2.5", "5025");
    EXPECT_EQ(app.connected, 0);
    OpenLink(EthernetKind, 3, 6, "192.0.2.5", "5025");
    EXPECT_EQ(app.connected, 1);
    EXPECT_EQ(app.linkIsTcp, 1);
    EXPECT_EQ(fake::statusText, "Connected to server");
    OpenLink(UsbKind, 3, 6, "", ""); // ignored while the TCP link is open
    EXPECT_EQ(app.linkIsTcp, 1);
    fake::Reset();
    OpenLink(Rs232Kind, 3, 6, "", ""); // the fake port never opens
    EXPECT_EQ(app.connected, 0);
    EXPECT_EQ(app.linkIsTcp, 0);
}
