// Tests of what the simulated instrument puts on the wire and tells its control channel: answer
// shaping under each fault, discovery replies, the byte record and the control commands.
#include <gtest/gtest.h>

#include <string>

#include "sim/control.h"
#include "sim/discovery.h"
#include "sim/faults.h"
#include "sim/record.h"

namespace
{

std::vector<AnswerPiece> Shape(const std::string& faultText, const std::string& answer)
{
    Fault fault;
    EXPECT_TRUE(ParseFault(faultText, fault)) << faultText;
    std::uint32_t rng = 1;
    return ShapeAnswer(fault, answer, "\n", rng);
}

TEST(Faults, ShapeTheAnswer)
{
    auto pieces = Shape("none", "120.00");
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0].bytes, "120.00\n");
    EXPECT_EQ(pieces[0].atMs, 0);

    EXPECT_TRUE(Shape("silent", "120.00").empty());

    pieces = Shape("late 700", "1");
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0].atMs, 700);
    EXPECT_EQ(pieces[0].bytes, "1\n");

    pieces = Shape("split 50", "120.00");
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(pieces[0].bytes, "120");
    EXPECT_EQ(pieces[1].bytes, ".00");
    EXPECT_EQ(pieces[2].bytes, "\n");
    EXPECT_EQ(pieces[1].atMs, 50);
    EXPECT_EQ(pieces[2].atMs, 100);

    pieces = Shape("long 150", "x");
    ASSERT_EQ(pieces.size(), 1u);
    ASSERT_EQ(pieces[0].bytes.size(), 151u);
    EXPECT_EQ(pieces[0].bytes.substr(98, 4), "8901");
    EXPECT_EQ(pieces[0].bytes.back(), '\n');

    EXPECT_EQ(Shape("nolf", "120.00")[0].bytes, "120.00");
    EXPECT_EQ(Shape("zero", "120.00")[0].bytes, std::string("120\0.00\n", 8));
    pieces = Shape("close", "120.00");
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_TRUE(pieces[0].closeAfter);
    EXPECT_TRUE(pieces[0].bytes.empty());
    pieces = Shape("answerclose", "1");
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0].bytes, "1\n");
    EXPECT_TRUE(pieces[0].closeAfter);

    pieces = Shape("garbage 64", "120.00");
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0].bytes.size(), 64u);
    EXPECT_EQ(pieces[0].bytes.find('\n'), std::string::npos);
    EXPECT_NE(pieces[0].bytes[0], '\0');
    EXPECT_NE(pieces[0].bytes.find('\0'), std::string::npos);
}

TEST(Faults, BadTextsAreRefused)
{
    Fault fault;
    for (const char* text : {"late", "late x", "late -5", "split 5 6", "nolf 3", "slow 5", ""})
        EXPECT_FALSE(ParseFault(text, fault)) << text;
}

TEST(Discovery, QuestionAndReplies)
{
    EXPECT_TRUE(IsDiscoveryQuestion("Discovery: Who is out there?", 28));
    EXPECT_FALSE(IsDiscoveryQuestion("Discovery: Who is out there?", 29)); // with its zero byte
    EXPECT_FALSE(IsDiscoveryQuestion("Discovery: Who is out there", 27));
    EXPECT_FALSE(IsDiscoveryQuestion("discovery: who is out there?", 28));

    DiscoveryFault fault;
    EXPECT_EQ(DiscoveryReplies(fault, "NODE7", "AA-BB").at(0), "NODE7\rAA-BB\r");
    ASSERT_TRUE(ParseDiscoveryFault("crlf", fault));
    EXPECT_EQ(DiscoveryReplies(fault, "NODE7", "AA-BB").at(0), "NODE7\r\nAA-BB\r\n");
    ASSERT_TRUE(ParseDiscoveryFault("nocr", fault));
    EXPECT_EQ(DiscoveryReplies(fault, "NODE7", "AA-BB").at(0).find('\r'), std::string::npos);
    ASSERT_TRUE(ParseDiscoveryFault("huge", fault));
    const auto huge = DiscoveryReplies(fault, "NODE7", "AA-BB");
    EXPECT_EQ(huge.at(0).size(), 65507u);
    EXPECT_EQ(huge.at(0).substr(0, 12), "NODE7\rAA-BB\r");
    ASSERT_TRUE(ParseDiscoveryFault("burst 4", fault));
    EXPECT_EQ(DiscoveryReplies(fault, "NODE7", "AA-BB").size(), 4u);
    EXPECT_FALSE(ParseDiscoveryFault("burst 0", fault));
    EXPECT_FALSE(ParseDiscoveryFault("loud", fault));
}

TEST(Record, KeepsArrivalOrderAndFiltersByLink)
{
    Records records;
    RecordReceived(records, 1, LinkKind::Tcp, "A\n", 2);
    RecordReceived(records, 0, LinkKind::Serial, "B", 1);
    RecordReceived(records, 2, LinkKind::Tcp, std::string("\0\xff", 2).data(), 2);
    RecordReceived(records, 0, LinkKind::Serial, "\r\n", 2);
    std::string hex;
    ASSERT_TRUE(RecordHex(records, "", hex));
    EXPECT_EQ(hex, "410a4200ff0d0a");
    ASSERT_TRUE(RecordHex(records, "serial", hex));
    EXPECT_EQ(hex, "420d0a");
    ASSERT_TRUE(RecordHex(records, "tcp", hex));
    EXPECT_EQ(hex, "410a00ff");
    ASSERT_TRUE(RecordHex(records, "2", hex));
    EXPECT_EQ(hex, "00ff");
    EXPECT_FALSE(RecordHex(records, "udp", hex));
}

TEST(Control, GetSetRecordAndFaults)
{
    SimState sim;
    PowerOn(sim.instrument);
    EXPECT_EQ(RunControlCommand(sim, "set VOLT 120"), "ok");
    EXPECT_EQ(RunControlCommand(sim, "get VOLT"), "120.00");
    EXPECT_EQ(RunControlCommand(sim, "set HOST NODE7"), "ok");
    EXPECT_EQ(RunControlCommand(sim, "get HOST"), "NODE7");
    EXPECT_EQ(RunControlCommand(sim, "get SYST:COMM:LAN:HOST"), "\"NODE7\"");
    EXPECT_EQ(RunControlCommand(sim, "set TRIG:SOUR BUS"), "ok");
    EXPECT_EQ(RunControlCommand(sim, "get trig:sour"), "BUS");

    // A refused set is told to the test and leaves nothing in the instrument's error queue.
    EXPECT_EQ(RunControlCommand(sim, "set VOLT 300"), "error: -222,\"Data out of range\"");
    EXPECT_EQ(RunControlCommand(sim, "get VOLT"), "120.00");
    EXPECT_EQ(RunControlCommand(sim, "get ERRQ"), "");
    // Reading an event register through get does not clear it.
    EXPECT_EQ(RunControlCommand(sim, "get ESR"), "128");
    EXPECT_EQ(RunControlCommand(sim, "get ESR"), "128");

    EXPECT_EQ(RunControlCommand(sim, "fault late 250"), "ok");
    EXPECT_EQ(RunControlCommand(sim, "fault"), "late 250");
    EXPECT_EQ(RunControlCommand(sim, "fault sometimes"), "error: bad fault");
    EXPECT_EQ(RunControlCommand(sim, "fault"), "late 250");

    RecordReceived(sim.records, 1, LinkKind::Tcp, "*IDN?\n", 6);
    EXPECT_EQ(RunControlCommand(sim, "record"), "2a49444e3f0a");
    EXPECT_EQ(RunControlCommand(sim, "record serial"), "");
    EXPECT_EQ(RunControlCommand(sim, "clear"), "ok");
    EXPECT_EQ(RunControlCommand(sim, "record"), "");

    EXPECT_EQ(RunControlCommand(sim, "frobnicate"), "error: unknown command");
    EXPECT_EQ(RunControlCommand(sim, "quit"), "ok");
    EXPECT_TRUE(sim.quitRequested);
}

} // namespace
