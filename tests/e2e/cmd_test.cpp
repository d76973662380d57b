// tessaly-cmd.exe run as a script runs it, against tessaly-sim: every button case of the unit tests
// that its command line can express puts the bytes of that case on the link, and each exit status
// comes with its output. With the simulated LAN hosts of scripts/netns.sh (CmdDiscovery.*): the
// discovery with none, one and three instruments answering.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cmd/cmd_rules.h"
#include "link/link.h"
#include "panels/transaction.h"
#include "support/lan_hosts.h"
#include "support/sim_control.h"
#include "tests/e2e/cmd_runner.h"
#include "tests/unit/button_cases.h"

namespace
{

// The tessaly-cmd argument that makes the case's click, or "" when its command line cannot say
// that scene: no option checked, a baud position outside the list, an entry box the case leaves
// as it was, a comma in the current password, or a row that sends nothing of its own.
std::string ArgumentFor(const button_cases::Case& c, bool& freeLine)
{
    const CommandRow& row = *CommandFor(c.id);
    std::string name = NameOf(PanelOf(row)) + std::string(":") + KeywordOf(row);
    auto box = c.entries.find(row.entryId);
    bool typed = box != c.entries.end();
    freeLine = row.kind == CommandKind::FreeLine;
    switch (row.kind) {
    case CommandKind::Query:
    case CommandKind::QueryLineFeed:
    case CommandKind::Fixed:
        return name;
    case CommandKind::Value:
    case CommandKind::QuotedValue:
    case CommandKind::HostName:
    case CommandKind::Password:
        return typed ? name + "=" + box->second : "";
    case CommandKind::NewPassword: {
        auto second = c.entries.find(row.secondEntryId);
        if (!typed || second == c.entries.end() || box->second.find(',') != std::string::npos)
            return "";
        return name + "=" + box->second + "," + second->second;
    }
    case CommandKind::Selection:
        for (const OptionChoice& option : row.options) {
            if (option.id != 0 && c.checked.count(option.id) != 0)
                return name + "=" + CaptionOf(PanelOf(row), option.id);
        }
        return "";
    case CommandKind::BaudRate:
        if (c.baudPosition < 0 || c.baudPosition >= BaudChoiceCount)
            return "";
        return name + "=" + BaudLabels[static_cast<std::size_t>(c.baudPosition)];
    case CommandKind::FreeLine:
        return typed ? box->second : "";
    case CommandKind::Read:
    case CommandKind::ClearDisplay:
        break;
    }
    return "";
}

} // namespace

// Each command row's first case that sends, in one run: the simulator must receive exactly the
// bytes the unit tests pin for the window program's button, and every query is answered.
TEST(CmdSweep, EveryRowSendsTheBytesOfItsButton)
{
    std::vector<std::string> args = Tcp({});
    std::set<int> rowsRun;
    std::string expected;
    std::size_t queries = 0;
    for (const button_cases::Case& c : button_cases::Cases()) {
        bool freeLine = false;
        std::string argument = ArgumentFor(c, freeLine);
        if (c.expected.sends != 1 || argument.empty() || rowsRun.count(c.id) != 0)
            continue;
        rowsRun.insert(c.id);
        if (freeLine)
            args.push_back("--send");
        args.push_back(argument);
        expected += c.expected.sent;
        queries += ReadsAnswer(*CommandFor(c.id)) ? 1 : 0;
    }
    for (int id = FirstDispatchId; id <= LastDispatchId; ++id) {
        const CommandRow* row = CommandFor(id);
        bool sendsNothing = row == nullptr || row->kind == CommandKind::Read ||
                            row->kind == CommandKind::ClearDisplay;
        EXPECT_TRUE(sendsNothing || rowsRun.count(id) != 0) << "no case runs button " << id;
    }

    SimClear();
    CmdOutcome run = RunCmd(args);
    EXPECT_EQ(run.status, 0u) << run.err;
    EXPECT_EQ(SimRecord(), expected);
    EXPECT_EQ(LinesOf(run.out).size(), queries) << run.out;
}

TEST(CmdRun, AnswersOneLineEachAndTheLogWithLog)
{
    SimClear();
    CmdOutcome run = RunCmd(Tcp({"VOLT=120", "MEAS:VOLT?", "--query", "*IDN?"}));
    EXPECT_EQ(run.status, 0u) << run.err;
    EXPECT_EQ(run.out, SimControl("get MEAS:VOLT") + "\r\n" + SimControl("get *IDN") + "\r\n");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(SimRecord(), "VOLT 120\nMEAS:VOLT?\n*IDN?\n");

    run = RunCmd(Tcp({"--log", "FREQ=60", "Status:SYST:ERR?"}));
    EXPECT_EQ(run.status, 0u) << run.err;
    EXPECT_EQ(run.out, "Sending command:  FREQ 60\r\n \r\nSending command:  SYST:ERR?\r\n \r\n" +
                           SimControl("get SYST:ERR") + "\r\n \r\n");
}

TEST(CmdRun, SerialAndUsbPorts)
{
    SimClear();
    CmdOutcome run = RunCmd({"--com", "12", "--baud", "115200", "OUTP=off", "OUTP?"});
    EXPECT_EQ(run.status, 0u) << run.err;
    EXPECT_EQ(run.out, SimControl("get OUTP") + "\r\n");
    run = RunCmd({"--usb", "12", "--send", "*CLS"});
    EXPECT_EQ(run.status, 0u) << run.err;
    EXPECT_EQ(SimRecord("serial"), "OUTP 0\nOUTP?\n*CLS\n");
}

// A refused value stops the script before anything else is sent; so does a query that is not
// answered.
TEST(CmdRun, RefusedValueAndSilentInstrumentExitWithOne)
{
    SimClear();
    CmdOutcome run = RunCmd(Tcp({"VOLT=12V", "OUTP=ON"}));
    EXPECT_EQ(run.status, 1u);
    EXPECT_EQ(run.err, "Could not send command:  VOLT 12" + RefusalText(NonDigitReason) + "\r\n");
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(SimRecord(), "");

    ASSERT_EQ(SimControl("fault silent"), "ok");
    run = RunCmd(Tcp({"MEAS:POW?", "OUTP=ON"}));
    SimControl("fault none");
    EXPECT_EQ(run.status, 1u);
    EXPECT_EQ(run.err, "MEAS:POW?: " + std::string(EthTimeoutText) + "\r\n");
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(SimRecord(), "MEAS:POW?\n");
}

TEST(CmdRun, UsageErrorExitsWithTwoAndSendsNothing)
{
    SimClear();
    std::string connections = SimControl("connections");
    CmdOutcome run = RunCmd(Tcp({"VOLT=120", "VOLTAGE=120"}));
    EXPECT_EQ(run.status, 2u);
    EXPECT_NE(run.err.find("\"VOLTAGE=120\""), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("tessaly-cmd --list"), std::string::npos) << run.err;
    EXPECT_EQ(SimControl("connections"), connections);
    EXPECT_EQ(SimRecord(), "");

    run = RunCmd({"--list"});
    EXPECT_EQ(run.status, 0u);
    EXPECT_NE(run.out.find("VOLT\tCommand\tSet Voltage\t"), std::string::npos);
}

TEST(CmdRun, LinkThatDoesNotOpenExitsWithThreeAndTheDialogsText)
{
    CmdOutcome run = RunCmd({"--tcp", "127.0.0.1:1", "*IDN?"});
    EXPECT_EQ(run.status, 3u);
    EXPECT_EQ(run.err, "Unable to connect to server\r\n");
    run = RunCmd({"--com", "0", "*IDN?"});
    EXPECT_EQ(run.status, 3u);
    EXPECT_EQ(run.err, "COMPORT failed to open\r\n");
}

// An instrument that closes the connection after its answer: the setting after it goes out and
// is refused with a reset, so the send after that fails, which tessaly-cmd tells on standard
// error, apart from the answers; the run ends with 1 there.
TEST(CmdRun, ResetConnectionIsToldOnStandardErrorAndExitsWithOne)
{
    SimClear();
    ASSERT_EQ(SimControl("fault answerclose"), "ok");
    CmdOutcome run = RunCmd(Tcp({"*IDN?", "VOLT=120", "MEAS:VOLT?", "OUTP=ON"}));
    SimControl("fault none");
    EXPECT_EQ(run.status, 1u);
    EXPECT_EQ(run.out, SimControl("get *IDN") + "\r\n");
    EXPECT_NE(run.err.find("send failed: 10054\r\n"), std::string::npos) << run.err;
    const std::string last = "MEAS:VOLT?: " + std::string(EthTimeoutText) + "\r\n";
    EXPECT_EQ(run.err.substr(run.err.size() - std::min(run.err.size(), last.size())), last);
    EXPECT_EQ(SimRecord().find("OUTP"), std::string::npos);
}

// An answer that cannot be delivered ends the run with 4 and nothing more is sent: standard output
// a pipe its reader has closed, or no standard handles at all, where a run that prints nothing
// still succeeds.
TEST(CmdRun, LostOutputEndsTheRunWithFour)
{
    SimClear();
    CmdOutcome run = RunCmd(Tcp({"*IDN?", "VOLT=120"}), Output::ClosedPipe);
    EXPECT_EQ(run.status, 4u);
    EXPECT_EQ(run.err, "standard output could not be written; the run stopped there\r\n");
    EXPECT_EQ(SimRecord(), "*IDN?\n");

    run = RunCmd(Tcp({"VOLT=120", "MEAS:VOLT?", "FREQ=50"}), Output::None);
    EXPECT_EQ(run.status, 4u);
    EXPECT_EQ(SimRecord(), "*IDN?\nVOLT 120\nMEAS:VOLT?\n");
    EXPECT_EQ(RunCmd(Tcp({"FREQ=50"}), Output::None).status, 0u);
}

// Where the logging run leaves its CSV and the cells expected in it, for tests/e2e/read_csv.py
// (ctest's e2e_cmd_csv) to read back with Python's csv module.
std::string KeptLogPath()
{
    const char* path = std::getenv("TESSALY_CMD_LOG");
    return path != nullptr ? path : "";
}

// Four rounds two seconds apart: the voltage changes between the first two, and the third
// round's voltage query goes unanswered, so that its cell holds the failure text, the run goes
// on, the round after it starts late, and the run ends with 1. The file is read while the run
// writes it, as a spreadsheet would. The chart page beside it is whole whenever it is read, and
// at the end charts the two numeric queries, the failed cell as a gap with its mark.
TEST(CmdLogging, RowsFollowTheInstrumentAndAFailedQueryKeepsItsCell)
{
    SimClear();
    ASSERT_EQ(SimControl("set VOLT 120"), "ok");
    ASSERT_EQ(SimControl("set OUTP 1"), "ok");
    const std::vector<std::string> first = {
        SimControl("get MEAS:VOLT"), SimControl("get MEAS:CURR"), SimControl("get SYST:ERR")};
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    std::string path =
        KeptLogPath().empty() ? folder + std::string("tessaly-log.csv") : KeptLogPath() + ".csv";
    const std::string page = std::string(folder) + "tessaly-log.html";
    DeleteFileA(page.c_str());
    CmdProcess cmd = StartCmd(
        Tcp({"--csv", "--out", path, "--chart", page, "VOLT=120", "OUTP=ON", "--wait", "300",
             "--every", "2", "--count", "4", "MEAS:VOLT?", "meas:curr?", "--query", "SYST:ERR?"}));
    ASSERT_TRUE(cmd.started);
    ASSERT_EQ(WaitForRows(path, 1, cmd), 1u);
    ASSERT_EQ(SimControl("set VOLT 110"), "ok");
    const std::vector<std::string> second = {SimControl("get MEAS:VOLT"),
                                             SimControl("get MEAS:CURR"), first[2]};
    ASSERT_EQ(WaitForRows(path, 2, cmd), 2u);
    Sleep(300); // the page follows its row; the next is two seconds away
    std::string live = FileText(page, true);
    EXPECT_EQ(live.rfind("<!DOCTYPE html>", 0), 0u) << live.substr(0, 100);
    EXPECT_EQ(live.substr(live.size() - 15), "</body></html>\n");
    EXPECT_NE(live.find("<meta http-equiv=\"refresh\" content=\"2\">"), std::string::npos);
    ASSERT_EQ(SimControl("fault silent"), "ok");
    Sleep(3000); // the third round's first query is waiting for its answer
    SimControl("fault none");
    CmdOutcome run = FinishCmd(cmd);
    std::string text = FileText(path, true);
    std::string chart = FileText(page);
    // Two charts, one line each: MEAS:VOLT? drawn from its first two points and on again after
    // the gap (three pen positions), meas:curr? through all four; SYST:ERR? holds no number.
    std::vector<std::size_t> points;
    const std::string linePath = "<path class=\"line\" d=\"";
    for (std::size_t at = 0; (at = chart.find(linePath, at)) != std::string::npos;) {
        at += linePath.size();
        std::string d = chart.substr(at, chart.find('"', at) - at);
        points.push_back(static_cast<std::size_t>(
            std::count_if(d.begin(), d.end(), [](char c) { return c == 'M' || c == 'L'; })));
    }
    EXPECT_EQ(points, (std::vector<std::size_t>{3, 4})) << chart;
    EXPECT_EQ(chart.find("<meta http-equiv=\"refresh\""), std::string::npos);
    EXPECT_NE(chart.find("The run ended: its count of rounds was reached."), std::string::npos);
    EXPECT_NE(chart.find("<path class=\"gaps\" d=\"M"), std::string::npos);
    EXPECT_EQ(GetFileAttributesA((page + ".tmp").c_str()), INVALID_FILE_ATTRIBUTES);
    // The same page drawn afterwards from the CSV; a file that is no such CSV draws none.
    CmdOutcome drawn = RunCmd({"chart", path, page});
    EXPECT_EQ(drawn.status, 0u) << drawn.err;
    std::string redrawn = FileText(page, true);
    EXPECT_EQ(redrawn.substr(redrawn.find("<svg")), chart.substr(chart.find("<svg")));
    drawn = RunCmd({"chart", page, page + ".again.html"});
    EXPECT_EQ(drawn.status, 1u);
    EXPECT_NE(drawn.err.find("not a CSV that tessaly-cmd wrote: line 1"), std::string::npos)
        << drawn.err;
    EXPECT_EQ(GetFileAttributesA((page + ".again.html").c_str()), INVALID_FILE_ATTRIBUTES);
    DeleteFileA(page.c_str());

    EXPECT_EQ(run.status, 1u) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("round 3: MEAS:VOLT?: Eth Timeout\r\n"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("round 4 started "), std::string::npos) << run.err;
    std::string rounds;
    for (int i = 0; i < 4; ++i)
        rounds += "MEAS:VOLT?\nMEAS:CURR?\nSYST:ERR?\n";
    EXPECT_EQ(SimRecord(), "VOLT 120\nOUTP 1\n" + rounds);
    std::vector<std::vector<std::string>> expected = {
        {"time", "elapsed_s", "MEAS:VOLT?", "meas:curr?", "SYST:ERR?"},
        {"", "0.000", first[0], first[1], first[2]},
        {"", "2.000", second[0], second[1], second[2]},
        {"", "4.000", "Eth Timeout", second[1], second[2]},
        {"", "", second[0], second[1], second[2]}};
    std::vector<std::vector<std::string>> rows = CsvRows(text);
    ASSERT_EQ(rows.size(), expected.size()) << text;
    EXPECT_EQ(rows[0], expected[0]);
    EXPECT_NE(text.find(",\"0,\"\"No error\"\"\"\r\n"), std::string::npos) << text;
    // The times and the schedule: tests/e2e/read_csv.py.
    for (std::size_t r = 1; r < rows.size(); ++r) {
        ASSERT_EQ(rows[r].size(), expected[r].size()) << text;
        EXPECT_EQ(std::vector<std::string>(rows[r].begin() + 2, rows[r].end()),
                  std::vector<std::string>(expected[r].begin() + 2, expected[r].end()))
            << text;
    }
    if (!KeptLogPath().empty()) {
        std::string cells;
        for (const auto& row : expected) {
            for (const std::string& cell : row)
                cells += cell + (&cell == &row.back() ? "\n" : "\t");
        }
        HANDLE file = CreateFileA((KeptLogPath() + ".expected").c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(file, cells.data(), static_cast<DWORD>(cells.size()), &written, nullptr);
        CloseHandle(file);
    } else {
        DeleteFileA(path.c_str());
    }
}

// Without --csv the rounds' answers are lines, into --out's file; standard output stays empty.
// --csv without --every: one header, one row. A refused value among the repeated commands stops
// the run before the link is opened.
TEST(CmdLogging, PlainAnswersIntoTheFileOneRowAndRefusalsFirst)
{
    SimClear();
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    std::string path = folder + std::string("tessaly-plain.txt");
    CmdOutcome run = RunCmd(Tcp(
        {"--out", path, "*IDN?", "--every", "0.2", "--count", "3", "MEAS:VOLT?", "MEAS:FREQ?"}));
    EXPECT_EQ(run.status, 0u) << run.err;
    EXPECT_EQ(run.out, "");
    std::string round = SimControl("get MEAS:VOLT") + "\r\n" + SimControl("get MEAS:FREQ") + "\r\n";
    EXPECT_EQ(FileText(path), SimControl("get *IDN") + "\r\n" + round + round + round);

    run = RunCmd(Tcp({"--csv", "*IDN?", "FREQ=50", "MEAS:FREQ?"}));
    EXPECT_EQ(run.status, 0u) << run.err;
    std::vector<std::vector<std::string>> rows = CsvRows(run.out);
    ASSERT_EQ(rows.size(), 2u) << run.out;
    EXPECT_EQ(rows[0], std::vector<std::string>({"time", "elapsed_s", "*IDN?", "MEAS:FREQ?"}));
    EXPECT_EQ(rows[1][2], SimControl("get *IDN"));
    EXPECT_EQ(rows[1][3], SimControl("get MEAS:FREQ"));

    SimClear();
    std::string connections = SimControl("connections");
    run = RunCmd(Tcp({"--csv", "OUTP=ON", "--every", "1", "MEAS:VOLT?", "VOLT=12V"}));
    EXPECT_EQ(run.status, 1u);
    EXPECT_EQ(run.err, "Could not send command:  VOLT 12, set value contained a non digit "
                       "character. \r\n Command not sent\r\n");
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(SimControl("connections"), connections);
}

// The --out file is shared for reading only: a second run given the same file while the first
// writes it cannot make it, says so and ends with 4, and the first run's rows stay whole. A
// console as FILE, which has no buffers to flush, is written without a lost-output status.
TEST(CmdLogging, OutFileIsTheRunsOwnAndAConsoleIsNoFailure)
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    std::string path = folder + std::string("tessaly-held.csv");
    CmdProcess first =
        StartCmd(Tcp({"--csv", "--out", path, "--every", "0.5", "--count", "4", "MEAS:VOLT?"}));
    ASSERT_TRUE(first.started);
    ASSERT_EQ(WaitForRows(path, 1, first), 1u);
    CmdOutcome second = RunCmd(Tcp({"--csv", "--out", path, "*IDN?"}));
    EXPECT_EQ(second.status, 4u);
    EXPECT_EQ(second.err, "--out " + path + ": the file could not be made (error 32)\r\n");
    CmdOutcome run = FinishCmd(first);
    EXPECT_EQ(run.status, 0u) << run.err;
    EXPECT_EQ(CsvRows(FileText(path)).size(), 5u);

    run = RunCmd(Tcp({"--csv", "--out", "CON", "--every", "0.2", "--count", "2", "*IDN?"}),
                 Output::FileAndConsole);
    EXPECT_EQ(run.status, 0u) << run.err;
    EXPECT_EQ(run.err, "");
}

// A connection that the instrument closes for good ends the run with 3, after complete rows.
TEST(CmdLogging, LostLinkEndsTheRunWithThreeAfterWholeRows)
{
    SimClear();
    CmdProcess cmd =
        StartCmd(Tcp({"--csv", "--every", "0.5", "--count", "20", "MEAS:VOLT?", "MEAS:CURR?"}));
    Sleep(1200);
    ASSERT_EQ(SimControl("fault close"), "ok");
    CmdOutcome run = FinishCmd(cmd);
    SimControl("fault none");
    EXPECT_EQ(run.status, 3u) << run.err;
    EXPECT_NE(run.err.find("the link was lost; the run ended after round "), std::string::npos)
        << run.err;
    std::vector<std::vector<std::string>> rows = CsvRows(run.out);
    EXPECT_GT(rows.size(), 2u);
    EXPECT_LT(rows.size(), 21u);
    for (const auto& row : rows)
        EXPECT_EQ(row.size(), 4u) << run.out;
    EXPECT_EQ(run.out.substr(run.out.size() - 2), "\r\n");
}

struct CmdDiscovery : ::testing::Test {
    std::vector<Host> hosts = LanHosts();

    void SetUp() override
    {
        if (hosts.size() < 3)
            GTEST_SKIP() << "needs the simulated hosts of scripts/netns.sh with-hosts";
        for (const Host& h : hosts)
            ASSERT_EQ(HostControl(h, "discovery silent"), "ok") << h.name;
    }
    void TearDown() override
    {
        for (const Host& h : hosts)
            HostControl(h, "discovery silent");
    }
};

TEST_F(CmdDiscovery, NoneOneAndThreeInstruments)
{
    CmdOutcome run = RunCmd({"discover"});
    EXPECT_EQ(run.status, 1u);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "No Devices Discovered\r\n");

    const Host& b = hosts[1];
    ASSERT_EQ(HostControl(b, "discovery none"), "ok");
    run = RunCmd({"discover"});
    EXPECT_EQ(run.status, 0u);
    EXPECT_EQ(run.out, b.address + "\t" + b.name + "\t" + b.mac + "\r\n");

    // A responder that ends its fields with CR LF: the line feed is shown, not obeyed.
    std::vector<std::string> expected;
    for (const Host& h : hosts) {
        bool crlf = &h == &hosts[2];
        ASSERT_EQ(HostControl(h, crlf ? "discovery crlf" : "discovery none"), "ok");
        expected.push_back(h.address + "\t" + h.name + "\t" + (crlf ? "\\x0A" : "") + h.mac);
    }
    run = RunCmd({"discover"});
    EXPECT_EQ(run.status, 0u);
    std::vector<std::string> lines = LinesOf(run.out);
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(lines, expected);
}
