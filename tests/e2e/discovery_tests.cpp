// The real LAN discovery under Wine against simulated instruments that are hosts of their own on a
// private test networks (scripts/netns.sh): what the Configuration dialog's status box shows for
// no, one and four responders on two networks, repeated and malformed replies, a datagram that is
// no reply, the largest datagram, a run with a TCP link open, and the failure when the question
// cannot be sent.
#include <gtest/gtest.h>

#include <winsock2.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "link/discovery.h"
#include "link/link.h"
#include "link/link_rules.h"
#include "panels/transaction.h"
#include "res/resource.h"
#include "support/lan_hosts.h"
#include "support/sim_control.h"
#include "tests/e2e/discovery_fixture.h"
#include "tests/e2e/link_test_platform.h"

namespace
{

std::string Header()
{
    return " Devices Discovered:\r\n----------";
}

// Winsock has been ended as often as it was started: without a start of its own, a socket
// cannot be made.
bool WinsockEnded()
{
    SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (s != INVALID_SOCKET) {
        closesocket(s);
        return false;
    }
    return WSAGetLastError() == WSANOTINITIALISED;
}

} // namespace

TEST_F(DiscoveryTest, NoInstrumentShowsNoDevicesAfterOneQuietSecond)
{
    EXPECT_EQ(Discover(), " No Devices Discovered");
    EXPECT_EQ(app.DiscoveryText, " No Devices Discovered");
    EXPECT_GE(runMs, 900.0);
    EXPECT_LT(runMs, 3000.0);
    EXPECT_TRUE(statusBoxes.empty());
    EXPECT_TRUE(WinsockEnded());
}

TEST_F(DiscoveryTest, OneInstrumentIsListedWithItsOwnAddress)
{
    const Host& b = hosts[1];
    Replies(b, "none");
    std::string shown = Discover();
    EXPECT_EQ(shown, Header() + Entry(b.address, b.name, b.mac));
    EXPECT_EQ(app.DiscoveryText, shown);
    EXPECT_TRUE(statusBoxes.empty());
    EXPECT_TRUE(WinsockEnded());
}

// Three instruments on the network of the best route, which the limited broadcast reaches and
// each network's own broadcast reaches again, and one on a second network that only its own
// broadcast reaches: every one listed, each once.
TEST_F(DiscoveryTest, InstrumentsOnBothNetworksAreEachListedOnce)
{
    std::vector<std::string> expected;
    for (const Host& h : hosts) {
        Replies(h, "none");
        expected.push_back(Entry(h.address, h.name, h.mac));
    }
    std::string shown = Discover();
    ASSERT_EQ(shown.substr(0, Header().size()), Header());
    std::vector<std::string> entries = EntriesOf(shown);
    std::sort(entries.begin(), entries.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(entries, expected);
    std::size_t listed = 0;
    for (const std::string& entry : expected)
        listed += entry.size();
    EXPECT_EQ(shown.size(), Header().size() + listed); // nothing else in between
}

// The same bytes twice from one address (both questions reached it, or it answered twice) are one
// instrument: listed once.
TEST_F(DiscoveryTest, TwoEqualRepliesFromOneAddressAreOneEntry)
{
    const Host& a = hosts[0];
    Replies(a, "burst 2");
    EXPECT_EQ(Discover(), Header() + Entry(a.address, a.name, a.mac));
}

TEST_F(DiscoveryTest, DatagramThatIsNoReplyIsListedAsADevice)
{
    const Host& c = hosts[2];
    Replies(c, "other"); // "NOTIFY * HTTP/1.1\r\nHOST: 239.255.255.250:1900\r\n\r\n"
    EXPECT_EQ(Discover(),
              Header() + Entry(c.address, "NOTIFY * HTTP/1.1", "\nHOST: 239.255.255.250:1900"));
}

TEST_F(DiscoveryTest, MalformedRepliesFromThreeHosts)
{
    Replies(hosts[0], "crlf");  // NAME CR LF MAC CR LF: the line feed starts the MAC text
    Replies(hosts[1], "nocr");  // NAME LF MAC LF: all host name, up to the datagram's end
    Replies(hosts[2], "empty"); // a datagram without payload
    std::vector<std::string> entries = EntriesOf(Discover());
    std::sort(entries.begin(), entries.end());
    std::vector<std::string> expected = {
        Entry(hosts[0].address, hosts[0].name, "\n" + hosts[0].mac),
        Entry(hosts[1].address, hosts[1].name + "\n" + hosts[1].mac + "\n", ""),
        Entry(hosts[2].address, "", ""),
    };
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(entries, expected);
}

TEST_F(DiscoveryTest, LargestDatagramBesideShortReplies)
{
    // A 65507-byte host name without carriage return, and a reply with only one carriage return:
    // whichever comes first, no byte of one shows in the other.
    Replies(hosts[0], "hugename");
    Replies(hosts[1], "short");
    std::vector<std::string> entries = EntriesOf(Discover());
    std::sort(entries.begin(), entries.end());
    std::string hugeName = hosts[0].name;
    hugeName.append(65507 - hugeName.size(), 'N');
    std::vector<std::string> expected = {Entry(hosts[0].address, hugeName, ""),
                                         Entry(hosts[1].address, hosts[1].name, "")};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(entries, expected);
}

TEST_F(DiscoveryTest, OpenTcpLinkIsNotAffected)
{
    std::string port = std::to_string(SimTcpPort());
    ASSERT_TRUE(TakeLinkStep(LinkRuleFor(LinkAction::Open, 0, 0, EthernetKind),
                             {0, 0, "127.0.0.1", port.c_str()}));
    SOCKET link = app.tcpSocket;

    Replies(hosts[1], "none");
    EXPECT_EQ(Discover(), Header() + Entry(hosts[1].address, hosts[1].name, hosts[1].mac));

    EXPECT_EQ(app.tcpSocket, link);
    EXPECT_EQ(app.connected, 1);
    ClearCommandBuffers();
    StoreCommand("*IDN?\n");
    TcpSend();
    TcpReceive();
    std::string answer = AnswerText();
    EXPECT_FALSE(answer.empty());
    EXPECT_NE(answer, EthTimeoutText);
    EXPECT_FALSE(WinsockEnded()); // the link's own start of Winsock still holds
    ActOnLink(LinkAction::Close);
    EXPECT_TRUE(WinsockEnded());
    EXPECT_TRUE(statusBoxes.empty());
}

// Run by netns.sh without-route: nothing routes the limited broadcast, so the question fails.
TEST(DiscoveryWithoutRoute, UnsendableQuestionIsReportedAndTheBoxKeepsItsText)
{
    if (std::getenv("TESSALY_LAN_NOROUTE") == nullptr)
        GTEST_SKIP() << "needs scripts/netns.sh without-route";
    app = AppState{};
    statusBoxes.clear();
    HWND dialog = MakeStandInDialog("Disconnected");
    ASSERT_NE(dialog, nullptr);
    app.configDialog = dialog;

    DWORD start = GetTickCount();
    DiscoverInstruments();
    DWORD elapsed = GetTickCount() - start;

    EXPECT_EQ(statusBoxes, std::vector<std::string>{"sendto Status = -1"});
    char shown[64] = {};
    GetDlgItemTextA(dialog, IDC_STATUS_TEXT, shown, sizeof shown);
    EXPECT_STREQ(shown, "Disconnected");
    EXPECT_TRUE(app.DiscoveryText.empty());
    EXPECT_LT(elapsed, 900u); // ended at once, without waiting for replies
    EXPECT_TRUE(WinsockEnded());
    DestroyWindow(dialog);
}
