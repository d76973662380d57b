// Discovery replies as list entries, and the whole result text of a run: field splitting at
// carriage returns, replies without them, stale bytes of an earlier reply, and the largest
// datagram.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "link/discovery.h"
#include "tests/unit/fakes.h"

namespace
{

const unsigned char Node7Address[4] = {192, 168, 1, 20};

std::string Entry(const std::string& payload, const unsigned char* address = Node7Address)
{
    return DiscoveryEntry(address, payload.data(), payload.size());
}

std::string ExpectedEntry(const std::string& ip, const std::string& host, const std::string& mac)
{
    return "\r\n IP Address: " + ip + "\r\n \r\n Host Name: " + host +
           "\r\n \r\n MAC Address: " + mac + "\r\n----------";
}

struct DiscoveryTextTest : ::testing::Test {
    void SetUp() override { fake::Reset(); }
};

} // namespace

TEST(DiscoveryEntry, HostNameAndMacEndAtCarriageReturns)
{
    EXPECT_EQ(Entry("NODE7\rAA-BB-CC-DD-EE-FF\r"),
              ExpectedEntry("192.168.1.20", "NODE7", "AA-BB-CC-DD-EE-FF"));
    // Whatever follows the second carriage return is ignored.
    EXPECT_EQ(Entry("NODE7\rAA-BB\rextra\r\nmore"),
              ExpectedEntry("192.168.1.20", "NODE7", "AA-BB"));
}

TEST(DiscoveryEntry, LineFeedAfterCarriageReturnStartsTheMacText)
{
    EXPECT_EQ(Entry("NODE7\r\nAA-BB\r\n"), ExpectedEntry("192.168.1.20", "NODE7", "\nAA-BB"));
}

TEST(DiscoveryEntry, EmptyFields)
{
    EXPECT_EQ(Entry("\rAA-BB\r"), ExpectedEntry("192.168.1.20", "", "AA-BB"));
    EXPECT_EQ(Entry("NODE7\r\r"), ExpectedEntry("192.168.1.20", "NODE7", ""));
    EXPECT_EQ(Entry("\r\r"), ExpectedEntry("192.168.1.20", "", ""));
    EXPECT_EQ(Entry(""), ExpectedEntry("192.168.1.20", "", ""));
}

TEST(DiscoveryEntry, FieldsReachingTheEndOfTheDatagramEndThere)
{
    // No carriage return at all: everything is the host name.
    EXPECT_EQ(Entry("Discovery: Who is out there?"),
              ExpectedEntry("192.168.1.20", "Discovery: Who is out there?", ""));
    // One carriage return: the MAC text runs to the end.
    EXPECT_EQ(Entry("NODE7\rAA-BB"), ExpectedEntry("192.168.1.20", "NODE7", "AA-BB"));
    // The carriage return is the last byte.
    EXPECT_EQ(Entry("NODE7\r"), ExpectedEntry("192.168.1.20", "NODE7", ""));
}

TEST(DiscoveryEntry, NeverReadsPastTheBytesReceived)
{
    // The buffer holds an earlier, longer reply; only the first `received` bytes are the new one.
    std::array<char, DiscoveryBufferSize> buffer{};
    const char longReply[] = "LONG-HOST-NAME-0123456789\rAA-BB-CC-DD-EE-FF-00-11\r";
    std::memcpy(buffer.data(), longReply, sizeof longReply - 1);
    std::memcpy(buffer.data(), "AB\rCD", 5); // the shorter reply has only one carriage return
    EXPECT_EQ(DiscoveryEntry(Node7Address, buffer.data(), 5),
              ExpectedEntry("192.168.1.20", "AB", "CD"));
    std::memcpy(buffer.data(), "XYZ", 3); // and now none at all
    EXPECT_EQ(DiscoveryEntry(Node7Address, buffer.data(), 3),
              ExpectedEntry("192.168.1.20", "XYZ", ""));
    // Exactly the bytes received, also when the next byte in memory would be a separator.
    EXPECT_EQ(DiscoveryEntry(Node7Address, longReply, 4),
              ExpectedEntry("192.168.1.20", "LONG", ""));
}

TEST(DiscoveryEntry, LargestDatagram)
{
    // 65507 bytes, the most one UDP datagram over IPv4 can carry, in a heap block of exactly that
    // size so that AddressSanitizer sees any read beyond it.
    const std::size_t size = 65507;
    std::unique_ptr<char[]> payload(new char[size]);
    std::memset(payload.get(), 'h', size);
    std::string entry = DiscoveryEntry(Node7Address, payload.get(), size);
    EXPECT_EQ(entry, ExpectedEntry("192.168.1.20", std::string(size, 'h'), ""));

    std::memset(payload.get(), 'm', size);
    payload[0] = '\r';
    entry = DiscoveryEntry(Node7Address, payload.get(), size);
    EXPECT_EQ(entry, ExpectedEntry("192.168.1.20", "", std::string(size - 1, 'm')));
}

TEST(DiscoveryEntry, AddressBytesInDecimalWithoutLeadingZeros)
{
    const unsigned char zeros[4] = {0, 0, 0, 0};
    const unsigned char highs[4] = {255, 255, 255, 255};
    const unsigned char mixed[4] = {192, 0, 2, 7};
    const unsigned char tens[4] = {10, 9, 100, 99};
    EXPECT_EQ(Entry("", zeros), ExpectedEntry("0.0.0.0", "", ""));
    EXPECT_EQ(Entry("", highs), ExpectedEntry("255.255.255.255", "", ""));
    EXPECT_EQ(Entry("", mixed), ExpectedEntry("192.0.2.7", "", ""));
    EXPECT_EQ(Entry("", tens), ExpectedEntry("10.9.100.99", "", ""));
}

TEST(DiscoveryEntry, ZeroBytesShowAsSpaces)
{
    // A zero byte would end the status box's text; every later entry must stay visible.
    std::string payload("A\0B\rC\0\0D\r\0", 10);
    EXPECT_EQ(Entry(payload), ExpectedEntry("192.168.1.20", "A B", "C  D"));
    EXPECT_EQ(Entry(std::string(3, '\0')), ExpectedEntry("192.168.1.20", "   ", ""));
}

TEST_F(DiscoveryTextTest, NoReplyGivesNoDevicesText)
{
    app.DiscoveryText = "left from an earlier run";
    BeginDiscoveryText();
    EndDiscoveryText(0);
    EXPECT_EQ(app.DiscoveryText, " No Devices Discovered");
}

TEST_F(DiscoveryTextTest, OneResponder)
{
    BeginDiscoveryText();
    const std::string reply = "NODE7\rAA-BB-CC-DD-EE-FF\r";
    AddDiscoveryReply(Node7Address, reply.data(), reply.size());
    EndDiscoveryText(1);
    EXPECT_EQ(app.DiscoveryText, " Devices Discovered:\r\n----------"
                                 "\r\n IP Address: 192.168.1.20\r\n \r\n Host Name: NODE7"
                                 "\r\n \r\n MAC Address: AA-BB-CC-DD-EE-FF\r\n----------");
    EXPECT_TRUE(fake::statusBoxes.empty());
}

TEST_F(DiscoveryTextTest, LongReplyThenShortReplyFromTheSameAddress)
{
    // Both replies land in one receive buffer, as they do in a run; the second must not show any
    // byte of the first.
    std::array<char, DiscoveryBufferSize> buffer{};
    const std::string first = "A-VERY-LONG-HOST-NAME\r00-11-22-33-44-55\r";
    const std::string second = "N2\rM2";
    BeginDiscoveryText();
    std::memcpy(buffer.data(), first.data(), first.size());
    AddDiscoveryReply(Node7Address, buffer.data(), first.size());
    std::memcpy(buffer.data(), second.data(), second.size());
    AddDiscoveryReply(Node7Address, buffer.data(), second.size());
    EndDiscoveryText(2);
    EXPECT_EQ(app.DiscoveryText,
              std::string(DiscoveryHeader) +
                  ExpectedEntry("192.168.1.20", "A-VERY-LONG-HOST-NAME", "00-11-22-33-44-55") +
                  ExpectedEntry("192.168.1.20", "N2", "M2"));
}

TEST_F(DiscoveryTextTest, ShownLinesForTwoResponders)
{
    const unsigned char second[4] = {192, 0, 2, 11};
    BeginDiscoveryText();
    AddDiscoveryReply(Node7Address, "NODE7\rAA\r", 9);
    AddDiscoveryReply(second, "NODE8\rBB\r", 9);
    EndDiscoveryText(2);
    // Split as the multi-line box does, at each carriage return and line feed pair.
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t at; (at = app.DiscoveryText.find("\r\n", start)) != std::string::npos;
         start = at + 2)
        lines.push_back(app.DiscoveryText.substr(start, at - start));
    lines.push_back(app.DiscoveryText.substr(start));
    const std::vector<std::string> expected = {
        " Devices Discovered:",    "----------", " IP Address: 192.168.1.20", " ",
        " Host Name: NODE7",       " ",          " MAC Address: AA",          "----------",
        " IP Address: 192.0.2.11", " ",          " Host Name: NODE8",         " ",
        " MAC Address: BB",        "----------"};
    EXPECT_EQ(lines, expected);
}

TEST(DiscoveryQuestion, IsTwentyEightBytesWithoutTerminator)
{
    EXPECT_EQ(DiscoveryQuestionLength, 28);
    EXPECT_EQ(std::string(DiscoveryQuestion, DiscoveryQuestionLength),
              "Discovery: Who is out there?");
    EXPECT_EQ(DiscoveryPort, 30303);
}

// The line of a reply for a script: the same fields, tab-separated, and no byte of the reply
// that could end the line or split a field.
TEST(DiscoveryLine, FieldsSplitAsInTheEntryWithControlBytesEscaped)
{
    auto line = [](const std::string& payload) {
        return DiscoveryLine(Node7Address, payload.data(), payload.size());
    };
    EXPECT_EQ(line("NODE7\rAA-BB-CC-DD-EE-FF\r"), "192.168.1.20\tNODE7\tAA-BB-CC-DD-EE-FF");
    EXPECT_EQ(line("NODE7\r\nAA-BB\r\n"), "192.168.1.20\tNODE7\t\\x0AAA-BB");
    EXPECT_EQ(line(std::string("a\tb\0c\\d\x7f\r", 9)), "192.168.1.20\ta\\x09b\\x00c\\\\d\\x7F\t");
    EXPECT_EQ(line("caf\xe9"), "192.168.1.20\tcaf\xe9\t");
    EXPECT_EQ(line(""), "192.168.1.20\t\t");
}

TEST_F(DiscoveryTextTest, EachRunListsItsOwnRepliesAsLines)
{
    const unsigned char other[4] = {10, 0, 0, 9};
    BeginDiscoveryText();
    AddDiscoveryReply(Node7Address, "A\rB\r", 4);
    BeginDiscoveryText();
    AddDiscoveryReply(Node7Address, "C\rD\r", 4);
    AddDiscoveryReply(other, "E\rF\r", 4);
    EndDiscoveryText(2);
    EXPECT_EQ(app.DiscoveryLines,
              (std::vector<std::string>{"192.168.1.20\tC\tD", "10.0.0.9\tE\tF"}));
}

TEST(DiscoveryCollection, OnlyAHostsResetReportKeepsItGoing)
{
    // Winsock's numbers: a port unreachable or time to live exceeded sent back by some host.
    EXPECT_TRUE(DiscoveryGoesOnAfter(10054));
    EXPECT_TRUE(DiscoveryGoesOnAfter(10052));
    // The quiet second (WSAETIMEDOUT), a closed socket (WSAEINTR, WSAENOTSOCK), a failed network
    // (WSAENETDOWN), a datagram too large (WSAEMSGSIZE) end it.
    for (int error : {10060, 10004, 10038, 10050, 10040})
        EXPECT_FALSE(DiscoveryGoesOnAfter(error)) << error;
}

// The same bytes from the same address are listed once; a reply that differs in one byte, or
// comes from another address, is its own entry. A new run starts with nothing seen.
TEST_F(DiscoveryTextTest, AReplyThatComesTwiceIsListedOnce)
{
    const unsigned char other[4] = {192, 168, 7, 30};
    const std::string reply = "NODE-7\r00-11-22-33-44-55\r";
    BeginDiscoveryText();
    EXPECT_TRUE(AddDiscoveryReply(Node7Address, reply.data(), reply.size()));
    EXPECT_FALSE(AddDiscoveryReply(Node7Address, reply.data(), reply.size()));
    EXPECT_TRUE(AddDiscoveryReply(Node7Address, reply.data(), reply.size() - 1));
    EXPECT_TRUE(AddDiscoveryReply(other, reply.data(), reply.size()));
    EXPECT_EQ(app.DiscoveryLines.size(), 3u);
    BeginDiscoveryText();
    EXPECT_TRUE(AddDiscoveryReply(Node7Address, reply.data(), reply.size()));
}

// The question goes to the limited broadcast, then to each other network's own broadcast
// address: only interfaces that are up, can broadcast and are no loopback, each address once.
TEST(DiscoveryTargets, EveryNetworkOfThePcIsAskedOnce)
{
    constexpr std::uint32_t Slash24 = 0xFFFFFF00, Slash16 = 0xFFFF0000;
    const std::vector<NetworkInterface> interfaces = {
        {0xC0A80714, Slash24, true, true, false},    // 192.168.7.20/24: the instrument's cable
        {0x0A010203, Slash16, true, true, false},    // 10.1.2.3/16: the office
        {0xC0A80715, Slash24, true, true, false},    // a second address on 192.168.7.0/24
        {0x7F000001, 0xFF000000, true, true, true},  // loopback
        {0xAC100001, Slash24, false, true, false},   // down
        {0xAC110001, Slash24, true, false, false},   // no broadcast (point to point)
        {0xAC120001, 0xFFFFFFFF, true, true, false}, // a /32 has no network to ask
        {0xAC130001, 0xFFFFFFFE, true, true, false}, // nor has a /31
        {0x0B000001, 0x00000000, true, true, false}, // mask 0: the limited broadcast again
    };
    EXPECT_EQ(DiscoveryTargets(interfaces),
              (std::vector<std::uint32_t>{LimitedBroadcast, 0xC0A807FF, 0x0A01FFFF}));
    EXPECT_EQ(DiscoveryTargets({}), std::vector<std::uint32_t>{LimitedBroadcast});
}

// Each receive waits for the quiet second, cut short by the run's overall limit, after which the
// run is over whatever still comes.
TEST(DiscoveryCollection, TheQuietSecondNeverOutlastsTheRunsLimit)
{
    EXPECT_EQ(DiscoveryWaitMs(0), DiscoveryQuietMs);
    EXPECT_EQ(DiscoveryWaitMs(DiscoveryLimitMs - DiscoveryQuietMs), DiscoveryQuietMs);
    EXPECT_EQ(DiscoveryWaitMs(DiscoveryLimitMs - 300), 300);
    EXPECT_EQ(DiscoveryWaitMs(DiscoveryLimitMs), 0);
    EXPECT_EQ(DiscoveryWaitMs(0xFFFFFFFF), 0);
}
