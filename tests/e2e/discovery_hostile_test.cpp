// LAN discovery on a hostile network: hosts that answer with the largest datagrams UDP carries,
// replies without carriage returns, a burst of 1,000 datagrams, and replies in an order chosen to
// catch a scan that runs past the bytes received. The run must not crash, every entry must hold
// only bytes of its own datagram, and the run must end one quiet second after the last datagram.
// Runs under scripts/netns.sh with-hosts (three simulated hosts on a private bridge); the
// ordered replies come from a responder thread in this process, which hears the broadcast
// question on the test run's own side of the bridge.
#include <gtest/gtest.h>

#include <winsock2.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "link/discovery.h"
#include "link/socket_win.h"
#include "res/resource.h"
#include "support/lan_hosts.h"
#include "tests/e2e/discovery_fixture.h"
#include "tests/e2e/gui_fixture.h"
#include "tests/e2e/link_test_platform.h"

namespace
{

constexpr std::size_t LargestDatagram = 65507; // the largest UDP payload over IPv4
constexpr int BurstSize = 1000;

// Answers one discovery question with the given datagrams, in order, as fast as it can send them.
struct Responder {
    std::vector<std::string> replies;
    std::string askerAddress; // the question's source address, where the replies come from
    double lastSentMs = 0;    // when the last reply had been sent
    DWORD gapMs = 0;          // a pause before each reply after the first
    int sent = 0;
    std::atomic<bool> ready{false};
    HANDLE thread = nullptr; // a Win32 thread: the -win32 runtime has no std::thread

    void Start()
    {
        thread = CreateThread(nullptr, 0, RunThread, this, 0, nullptr);
        for (int i = 0; i < 500 && !ready; ++i)
            Sleep(5);
    }
    void Join()
    {
        if (thread == nullptr)
            return;
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
        thread = nullptr;
    }
    static DWORD WINAPI RunThread(void* self)
    {
        static_cast<Responder*>(self)->Run();
        return 0;
    }

    void Run()
    {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
        sockaddr_in own{};
        own.sin_family = AF_INET;
        own.sin_port = htons(DiscoveryPort);
        own.sin_addr.s_addr = htonl(INADDR_ANY);
        if (s == INVALID_SOCKET || bind(s, reinterpret_cast<sockaddr*>(&own), sizeof own) != 0) {
            closesocket(s);
            WSACleanup();
            ready = true;
            return;
        }
        DWORD timeoutMs = 5000;
        setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeoutMs),
                   sizeof timeoutMs);
        ready = true;
        std::vector<char> question(LargestDatagram + 1);
        sockaddr_in asker{};
        int askerLength = sizeof asker;
        int got = recvfrom(s, question.data(), static_cast<int>(question.size()), 0,
                           reinterpret_cast<sockaddr*>(&asker), &askerLength);
        if (got == DiscoveryQuestionLength &&
            std::string(question.data(), static_cast<std::size_t>(got)) == DiscoveryQuestion) {
            askerAddress = inet_ntoa(asker.sin_addr);
            for (const std::string& reply : replies) {
                if (gapMs > 0 && &reply != &replies.front())
                    Sleep(gapMs);
                if (sendto(s, reply.data(), static_cast<int>(reply.size()), 0,
                           reinterpret_cast<sockaddr*>(&asker), askerLength) != SOCKET_ERROR)
                    ++sent;
            }
            lastSentMs = NowMs();
        }
        closesocket(s);
        WSACleanup();
    }
};

// The yardstick for "one quiet second after the last datagram", taken in the same place as the
// run, so that it holds on a slow machine as on a fast one: this test's own plain collection of
// the same replies from a fresh responder (the question broadcast, each datagram received into a
// buffer of the run's size and kept, ended by a receive time-out of the run's quiet second), and
// the run's list put into the same status box as the run put it. Returns how long after the last
// reply was sent that ended; negative when the responder did not hear the question.
double PlainCollectionGapMs(const std::vector<std::string>& replies, HWND dialog,
                            const std::string& shown)
{
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
        return -1;
    SetDlgItemTextA(dialog, IDC_STATUS_TEXT, "Disconnected");
    Responder responder;
    responder.replies = replies;
    responder.Start();
    SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    BOOL broadcast = TRUE;
    setsockopt(s, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&broadcast),
               sizeof broadcast);
    DWORD quietMs = DiscoveryQuietMs;
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&quietMs), sizeof quietMs);
    const sockaddr_in everyone = DiscoveryBroadcastAddress();
    sendto(s, DiscoveryQuestion, DiscoveryQuestionLength, 0,
           reinterpret_cast<const sockaddr*>(&everyone), sizeof everyone);
    std::vector<char> buffer(DiscoveryBufferSize);
    std::string kept;
    int received;
    while ((received = recvfrom(s, buffer.data(), DiscoveryBufferSize, 0, nullptr, nullptr)) !=
           SOCKET_ERROR)
        kept.append(buffer.data(), static_cast<std::size_t>(received));
    SetDlgItemTextA(dialog, IDC_STATUS_TEXT, shown.c_str());
    double ended = NowMs();
    closesocket(s);
    responder.Join();
    WSACleanup();
    return responder.askerAddress.empty() ? -1 : ended - responder.lastSentMs;
}

using HostileLanTest = DiscoveryTest;

// The three kinds of hostile host at once. The burst fills the receiving socket's buffer faster
// than the run empties it, so the system drops datagrams, the largest one among them at times;
// every one that arrives is listed once, and nothing else.
TEST_F(HostileLanTest, HugeRepliesRepliesWithoutCarriageReturnAndABurstFromThreeHosts)
{
    const Host& huge = hosts[0];
    const Host& plain = hosts[1];
    const Host& burst = hosts[2];
    ASSERT_EQ(HostControl(huge, "discovery huge"), "ok");  // name CR MAC CR, padded to 65,507
    ASSERT_EQ(HostControl(plain, "discovery nocr"), "ok"); // name LF MAC LF
    ASSERT_EQ(HostControl(burst, "discovery burst " + std::to_string(BurstSize)), "ok");

    double start = NowMs();
    std::string shown = Discover();
    double ended = endedMs;
    ASSERT_EQ(shown.rfind(DiscoveryHeader, 0), 0u) << shown.substr(0, 200);
    EXPECT_EQ(shown, app.DiscoveryText) << "the status box did not take the whole list";

    const std::string hugeEntry = Entry(huge.address, huge.name, huge.mac);
    const std::string plainEntry = Entry(plain.address, plain.name + "\n" + plain.mac + "\n", "");
    const std::string burstEntry = Entry(burst.address, burst.name, burst.mac);
    int hugeCount = 0, plainCount = 0, burstCount = 0;
    std::size_t listed = 0;
    for (const std::string& entry : EntriesOf(shown)) {
        hugeCount += entry == hugeEntry;
        plainCount += entry == plainEntry;
        burstCount += entry == burstEntry;
        EXPECT_TRUE(entry == hugeEntry || entry == plainEntry || entry == burstEntry)
            << "an entry holds bytes that its datagram did not: " << entry.substr(0, 300);
        listed += entry.size();
    }
    EXPECT_EQ(std::string(DiscoveryHeader).size() + listed, shown.size());
    EXPECT_LE(hugeCount, 1);
    EXPECT_LE(plainCount, 1);
    EXPECT_LE(burstCount, BurstSize);
    EXPECT_GE(hugeCount + plainCount + burstCount, 1);
    RecordProperty("burst_listed", burstCount);
    std::printf("hostile LAN: listed %d of 1 huge, %d of 1 without carriage return, %d of %d "
                "burst datagrams; run of %.0f ms\n",
                hugeCount, plainCount, burstCount, BurstSize, ended - start);
    EXPECT_GE(ended - start, 1000.0);
    EXPECT_LE(ended - start, 4000.0) << "the run went on long after the replies";
    EXPECT_TRUE(statusBoxes.empty());
}

// Replies in an order that shows a scan past the end of a datagram: each shorter one follows a
// longer one whose bytes stay in the receive buffer behind it. Then a burst of 1,000.
TEST_F(HostileLanTest, EachEntryHoldsOnlyTheBytesOfItsOwnDatagram)
{
    const std::string hugeWithFields = "HUGE\rAA-BB\r" + std::string(LargestDatagram - 11, '.');
    const std::string hugeName(LargestDatagram, 'N');
    Responder responder;
    responder.replies = {
        hugeWithFields,                 // fields at the front, padding behind
        "SHORT",                        // no carriage return: all host name
        "NAME\rMAC",                    // one carriage return: MAC up to the end
        hugeName,                       // 65,507 bytes of host name
        "\r",                           // empty host name and MAC address
        std::string(),                  // no payload at all
        std::string("A\0B\rC\0D\r", 8), // zero bytes inside the fields
        "NODE\r\nAA-BB\r\n",            // a line feed starts the MAC address text
    };
    const std::size_t ordered = responder.replies.size();
    for (int i = 0; i < BurstSize; ++i)
        responder.replies.push_back("BURST-" + std::to_string(i) + "\r00-00\r");
    responder.Start();
    ASSERT_TRUE(responder.ready);

    std::string shown = Discover();
    double ended = endedMs;
    responder.Join();
    ASSERT_FALSE(responder.askerAddress.empty()) << "the responder did not hear the question";
    ASSERT_EQ(responder.sent, static_cast<int>(responder.replies.size()));
    const std::string& from = responder.askerAddress;

    std::vector<std::string> expected = {
        Entry(from, "HUGE", "AA-BB"),   Entry(from, "SHORT", ""), Entry(from, "NAME", "MAC"),
        Entry(from, hugeName, ""),      Entry(from, "", ""),      Entry(from, "", ""),
        Entry(from, "A B", "C D"), // a zero byte is shown as a space
        Entry(from, "NODE", "\nAA-BB"),
    };
    std::vector<std::string> entries = EntriesOf(shown);
    ASSERT_GE(entries.size(), ordered);
    for (std::size_t i = 0; i < ordered; ++i)
        EXPECT_EQ(entries[i], expected[i]) << "reply " << i;
    // The burst, in the order sent; some may have been dropped by a full receive buffer.
    std::size_t next = 0;
    for (std::size_t i = ordered; i < entries.size(); ++i) {
        bool found = false;
        while (!found && next < static_cast<std::size_t>(BurstSize))
            found = entries[i] == Entry(from, "BURST-" + std::to_string(next++), "00-00");
        EXPECT_TRUE(found) << "entry " << i << " is no reply of the burst, or out of order: "
                           << entries[i].substr(0, 200);
    }
    const double gap = ended - responder.lastSentMs;
    const double plainGap = PlainCollectionGapMs(responder.replies, dialog, shown);
    ASSERT_GE(plainGap, 0.0) << "the yardstick's responder did not hear the question";
    std::printf("hostile LAN: %zu of %d burst datagrams listed; the run ended %.0f ms after the "
                "last was sent, a plain collection of the same replies %.0f ms\n",
                entries.size() - ordered, BurstSize, gap, plainGap);
    EXPECT_GE(gap, 950.0) << "the run did not wait for a quiet second";
    EXPECT_LE(gap, plainGap + 600.0) << "the run did not end after a quiet second";
    EXPECT_TRUE(statusBoxes.empty());
}

// A host that keeps sending, a datagram every 0.9 s, never lets the quiet second come: the run
// ends at its overall limit all the same and lists what came by then.
TEST_F(HostileLanTest, AHostThatKeepsSendingCannotHoldTheRun)
{
    Responder responder;
    for (int i = 0; i < 8; ++i)
        responder.replies.push_back("TRICKLE-" + std::to_string(i) + "\r00-00\r");
    responder.gapMs = 900;
    responder.Start();
    ASSERT_TRUE(responder.ready);
    std::size_t listed = EntriesOf(Discover()).size();
    responder.Join();
    ASSERT_FALSE(responder.askerAddress.empty()) << "the responder did not hear the question";
    EXPECT_GE(runMs, DiscoveryLimitMs - 100.0);
    EXPECT_LE(runMs, DiscoveryLimitMs + 1500.0) << "the run outlasted its limit";
    EXPECT_GE(listed, 4u);
    EXPECT_LE(listed, 6u);
}

// The real program, its own Configuration dialog, the same three hostile hosts.
class HostileLanProgramTest : public ProgramTest
{
};

TEST_F(HostileLanProgramTest, TheProgramListsWhatCameAndGoesOn)
{
    std::vector<Host> hosts = LanHosts();
    if (hosts.size() < 3)
        GTEST_SKIP() << "needs the simulated hosts of scripts/netns.sh with-hosts";
    ASSERT_EQ(HostControl(hosts[0], "discovery hugename"), "ok");
    ASSERT_EQ(HostControl(hosts[1], "discovery nocr"), "ok");
    ASSERT_EQ(HostControl(hosts[2], "discovery burst " + std::to_string(BurstSize)), "ok");
    HWND dialog = OpenConfiguration();
    ASSERT_NE(dialog, nullptr);
    DWORD start = GetTickCount();
    EXPECT_EQ(Click(program, DialogControl(dialog, IDC_DISCOVER), 30000), Settled::Done);
    DWORD elapsed = GetTickCount() - start;
    for (const Host& h : hosts)
        HostControl(h, "discovery silent");
    ASSERT_TRUE(ProgramRunning(program));

    std::string shown = TextOf(DialogControl(dialog, IDC_STATUS_TEXT));
    ASSERT_EQ(shown.rfind(DiscoveryHeader, 0), 0u) << shown.substr(0, 200);
    std::string hugeName = hosts[0].name;
    hugeName.append(LargestDatagram - hugeName.size(), 'N');
    const std::string hugeEntry = Entry(hosts[0].address, hugeName, "");
    const std::string plainEntry =
        Entry(hosts[1].address, hosts[1].name + "\n" + hosts[1].mac + "\n", "");
    const std::string burstEntry = Entry(hosts[2].address, hosts[2].name, hosts[2].mac);
    int hugeCount = 0, plainCount = 0, burstCount = 0;
    for (const std::string& entry : EntriesOf(shown)) {
        hugeCount += entry == hugeEntry;
        plainCount += entry == plainEntry;
        burstCount += entry == burstEntry;
        EXPECT_TRUE(entry == hugeEntry || entry == plainEntry || entry == burstEntry)
            << entry.substr(0, 300);
    }
    EXPECT_LE(hugeCount, 1);
    EXPECT_LE(plainCount, 1);
    EXPECT_LE(burstCount, BurstSize);
    EXPECT_GE(hugeCount + plainCount + burstCount, 1);
    EXPECT_LE(elapsed, 6000u);
    std::printf("hostile LAN, real program: listed %d of 1 huge, %d of 1 without carriage "
                "return, %d of %d burst datagrams in %lu ms\n",
                hugeCount, plainCount, burstCount, BurstSize, static_cast<unsigned long>(elapsed));

    // The program goes on: the dialog closes and a command still runs.
    ASSERT_EQ(PostAndWait(program, dialog, WM_CLOSE), Settled::Done);
    ASSERT_EQ(Click(program, ControlOf(IDC_CLS)), Settled::Done); // "*CLS" with no link open
    EXPECT_EQ(OutputOf(Panel::Command).rfind("Sending command:  *CLS", 0), 0u);
}

} // namespace
