// tessaly-cmd on several instruments against tessaly-sim: the harness's simulator (its serial side
// as COM12, its TCP side) and the second simulator's two TCP instruments (tests/e2e/run.sh). Links
// dropped and restored mid-run, --reconnect, --finally after every kind of end, and what each
// simulated instrument received, in order.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "link/link.h"
#include "support/sim_control.h"
#include "tests/e2e/cmd_runner.h"

namespace
{

// The second simulator's instrument n (0 or 1): its TCP and control ports.
int Sim2Tcp(int n)
{
    const char* port = std::getenv("TESSALY_SIM2_TCP");
    return port != nullptr ? std::atoi(port) + n : 0;
}

int Sim2Control(int n)
{
    const char* port = std::getenv("TESSALY_SIM2_CONTROL");
    return port != nullptr ? std::atoi(port) + n : 0;
}

std::string Sim2(int n, const std::string& line)
{
    return SimControlAt("127.0.0.1", Sim2Control(n), line);
}

std::string Address(int n)
{
    return "127.0.0.1:" + std::to_string(Sim2Tcp(n));
}

// The bytes the second simulator's instrument n received, decoded.
std::string Sim2Record(int n)
{
    std::string hex = Sim2(n, "record tcp");
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::strtol(hex.substr(i, 2).c_str(), nullptr, 16));
    return bytes;
}

std::size_t Count(const std::string& text, const std::string& part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::string TempPath(const char* name)
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    return folder + std::string(name);
}

struct CmdBurnIn : ::testing::Test {
    void SetUp() override
    {
        if (Sim2Tcp(0) == 0)
            GTEST_SKIP() << "needs the second simulator of tests/e2e/run.sh";
        for (int n : {0, 1})
            ASSERT_EQ(Sim2(n, "clear"), "ok");
        SimClear();
    }
    void TearDown() override
    {
        for (int n : {0, 1})
            Sim2(n, "tcp on");
        SimControl("pty on");
        SimControl("fault none");
    }
};

// An instrument's column cells, down the rows (the header left out).
std::vector<std::string> Column(const std::vector<std::vector<std::string>>& rows, std::size_t c)
{
    std::vector<std::string> cells;
    for (std::size_t r = 1; r < rows.size(); ++r)
        cells.push_back(c < rows[r].size() ? rows[r][c] : "(missing)");
    return cells;
}

// The cells of an instrument whose link was lost and came back: its reading first, then after the
// round that found the loss (its cell a failure text) Link Down until the link opened again, and
// the reading again to the end.
void ExpectDownAndBack(const std::vector<std::string>& cells, const std::string& reading,
                       const std::string& name)
{
    auto firstOther = std::find_if(cells.begin(), cells.end(),
                                   [&](const std::string& cell) { return cell != reading; });
    auto lastDown = std::find(cells.rbegin(), cells.rend(), std::string(LinkDownText));
    ASSERT_NE(firstOther, cells.begin()) << name;
    ASSERT_NE(firstOther, cells.end()) << name << ": the link was never seen lost";
    ASSERT_NE(lastDown, cells.rend()) << name << ": no Link Down cell";
    auto afterDown = lastDown.base();
    for (auto cell = firstOther + 1; cell < afterDown; ++cell)
        EXPECT_EQ(*cell, LinkDownText) << name;
    ASSERT_NE(afterDown, cells.end()) << name << ": the link never came back";
    for (auto cell = afterDown; cell != cells.end(); ++cell)
        EXPECT_EQ(*cell, reading) << name;
}

// What an instrument that was down for some rounds received: the once-commands once, at first,
// fewer rounds than the run had, and --finally last.
void ExpectOnceRoundsThenFinally(const std::string& record, const std::string& name)
{
    EXPECT_EQ(record.rfind("VOLT 120\nOUTP 1\nMEAS:VOLT?\nOUTP?\n", 0), 0u) << name << record;
    EXPECT_EQ(Count(record, "VOLT 120\n"), 1u) << name << record;
    EXPECT_EQ(Count(record, "OUTP 1\n"), 1u) << name << record;
    EXPECT_GE(Count(record, "MEAS:VOLT?\n"), 3u) << name << record;
    EXPECT_LT(Count(record, "MEAS:VOLT?\n"), 10u) << name << record;
    EXPECT_TRUE(EndsWith(record, "OUTP?\nOUTP 0\n")) << name << record;
}

} // namespace

// Three instruments, every second for ten rounds: the second TCP instrument's connections are
// closed and refused, and the serial port is pulled out, for 2.5 s from the third row; both come
// back with --reconnect while the first instrument's rows go on untouched.
TEST_F(CmdBurnIn, ThreeInstrumentsOneDroppedAndOnePulledComeBack)
{
    // The readings while the output is on, as the once-commands leave it (--finally switches it
    // off at the end).
    std::vector<std::string> volts;
    for (int n : {0, 1, 2}) {
        auto control = [n](const std::string& line) {
            return n < 2 ? Sim2(n, line) : SimControl(line);
        };
        ASSERT_EQ(control("set VOLT 120"), "ok");
        ASSERT_EQ(control("set OUTP 1"), "ok");
        volts.push_back(control("get MEAS:VOLT"));
    }
    std::string path = TempPath("tessaly-burnin.csv");
    CmdProcess cmd = StartCmd({"--tcp",      Address(0), "--tcp",       Address(1), "--com",   "12",
                               "--baud",     "115200",   "--reconnect", "--csv",    "--out",   path,
                               "VOLT=120",   "OUTP=ON",  "--every",     "1",        "--count", "10",
                               "MEAS:VOLT?", "OUTP?",    "--finally",   "OUTP=OFF"});
    ASSERT_TRUE(cmd.started);
    ASSERT_EQ(WaitForRows(path, 2, cmd), 2u);
    ASSERT_EQ(Sim2(1, "tcp off"), "ok");
    ASSERT_EQ(SimControl("pty off"), "ok");
    Sleep(2500);
    ASSERT_EQ(Sim2(1, "tcp on"), "ok");
    ASSERT_EQ(SimControl("pty on"), "ok");
    CmdOutcome run = FinishCmd(cmd);
    std::string text = FileText(path);

    EXPECT_EQ(run.status, 1u) << run.err; // cells failed, and --reconnect went on
    std::vector<std::vector<std::string>> rows = CsvRows(text);
    ASSERT_EQ(rows.size(), 11u) << text;
    std::vector<std::string> header = {"time", "elapsed_s"};
    for (const std::string& name : {Address(0), Address(1), std::string("COM12")}) {
        header.push_back(name + " MEAS:VOLT?");
        header.push_back(name + " OUTP?");
    }
    EXPECT_EQ(rows[0], header);
    for (const std::string& cell : Column(rows, 2))
        EXPECT_EQ(cell, volts[0]) << text;
    for (const std::string& cell : Column(rows, 3))
        EXPECT_EQ(cell, "1") << text;
    ExpectDownAndBack(Column(rows, 4), volts[1], Address(1) + "\n" + text);
    ExpectDownAndBack(Column(rows, 5), "1", Address(1) + "\n" + text);
    ExpectDownAndBack(Column(rows, 6), volts[2], "COM12\n" + text);
    for (const std::string& who : {Address(1) + ": ", std::string("COM12: ")}) {
        EXPECT_NE(run.err.find(who + "the link was lost in round "), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(who + "the link came back before round "), std::string::npos)
            << run.err;
    }

    std::string rounds;
    for (int i = 0; i < 10; ++i)
        rounds += "MEAS:VOLT?\nOUTP?\n";
    EXPECT_EQ(Sim2Record(0), "VOLT 120\nOUTP 1\n" + rounds + "OUTP 0\n");
    ExpectOnceRoundsThenFinally(Sim2Record(1), Address(1));
    ExpectOnceRoundsThenFinally(SimRecord("serial"), "COM12");
}

// Without --reconnect the lost instrument's cells keep the failure text of its link while the
// other goes on to the count; the run ends with 3, and --finally reaches the instrument still
// there and is told as not sent to the other.
TEST_F(CmdBurnIn, WithoutReconnectALostInstrumentKeepsItsFailureTextAndTheRunEndsWithThree)
{
    std::string path = TempPath("tessaly-lost.csv");
    CmdProcess cmd =
        StartCmd({"--tcp", Address(0), "--tcp", Address(1), "--csv", "--out", path, "--every",
                  "0.5", "--count", "8", "MEAS:VOLT?", "--finally", "OUTP=OFF"});
    ASSERT_TRUE(cmd.started);
    ASSERT_EQ(WaitForRows(path, 2, cmd), 2u);
    ASSERT_EQ(Sim2(1, "tcp off"), "ok");
    CmdOutcome run = FinishCmd(cmd);
    Sim2(1, "tcp on");
    std::vector<std::vector<std::string>> rows = CsvRows(FileText(path));

    EXPECT_EQ(run.status, 3u) << run.err;
    ASSERT_EQ(rows.size(), 9u);
    for (const std::string& cell : Column(rows, 2))
        EXPECT_EQ(cell, Sim2(0, "get MEAS:VOLT"));
    std::vector<std::string> lost = Column(rows, 3);
    EXPECT_EQ(lost.front(), Sim2(1, "get MEAS:VOLT"));
    EXPECT_EQ(lost.back(), EthTimeoutText);
    EXPECT_NE(run.err.find(Address(1) + ": the link was lost in round "), std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find(Address(1) + ": the link is down; --finally was not sent"),
              std::string::npos)
        << run.err;
    EXPECT_TRUE(EndsWith(Sim2Record(0), "MEAS:VOLT?\nOUTP 0\n")) << Sim2Record(0);
    EXPECT_EQ(Count(Sim2Record(0), "MEAS:VOLT?"), 8u);
    EXPECT_EQ(Sim2Record(1).find("OUTP"), std::string::npos);
}

// --finally runs last after the count is done, and after a once-command that failed, in a run
// without --every too; its answers go to standard error. A value refused among its commands stops
// the run before anything is sent; a --finally command that fails turns a success into 1.
TEST_F(CmdBurnIn, FinallyRunsLastWhateverEndedTheRun)
{
    CmdOutcome run = RunCmd(Tcp({"OUTP=ON", "--every", "0.2", "--count", "2", "MEAS:VOLT?",
                                 "--finally", "OUTP=OFF", "--query", "SYST:ERR?"}));
    EXPECT_EQ(run.status, 0u) << run.err;
    EXPECT_EQ(LinesOf(run.out).size(), 2u) << run.out;
    EXPECT_NE(run.err.find("SYST:ERR?: " + SimControl("get SYST:ERR") + "\r\n"), std::string::npos)
        << run.err;
    EXPECT_EQ(SimRecord("tcp"), "OUTP 1\nMEAS:VOLT?\nMEAS:VOLT?\nOUTP 0\nSYST:ERR?\n");

    SimClear();
    ASSERT_EQ(SimControl("fault silent"), "ok");
    run = RunCmd(Tcp({"OUTP=ON", "MEAS:POW?", "VOLT=5", "--finally", "OUTP=OFF"}));
    SimControl("fault none");
    EXPECT_EQ(run.status, 1u) << run.err;
    EXPECT_EQ(SimRecord("tcp"), "OUTP 1\nMEAS:POW?\nOUTP 0\n");

    SimClear();
    std::string connections = SimControl("connections");
    run = RunCmd(Tcp({"OUTP=ON", "--finally", "VOLT=12V"}));
    EXPECT_EQ(run.status, 1u);
    EXPECT_NE(run.err.find("Could not send command:  VOLT 12"), std::string::npos) << run.err;
    EXPECT_EQ(SimControl("connections"), connections);
    EXPECT_EQ(SimRecord(), "");

    run = RunCmd(Tcp({"*CLS", "--finally", "--query", "NO:SUCH?"}));
    EXPECT_EQ(run.status, 1u) << run.err;
    EXPECT_NE(run.err.find(EthTimeoutText), std::string::npos) << run.err;
    EXPECT_EQ(SimRecord("tcp"), "*CLS\nNO:SUCH?\n");
}

// Without --csv each answer line starts with its instrument. A link that does not open stops the
// run before any command goes to any instrument.
TEST_F(CmdBurnIn, PlainLinesNameTheirInstrumentAndALinkThatDoesNotOpenSendsNothing)
{
    CmdOutcome run = RunCmd({"--tcp", Address(0), "--tcp", Address(1), "MEAS:VOLT?"});
    EXPECT_EQ(run.status, 0u) << run.err;
    std::vector<std::string> lines = LinesOf(run.out);
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(lines, std::vector<std::string>({Address(0) + " " + Sim2(0, "get MEAS:VOLT"),
                                               Address(1) + " " + Sim2(1, "get MEAS:VOLT")}));

    Sim2(0, "clear");
    run =
        RunCmd({"--tcp", Address(0), "--tcp", "127.0.0.1:1", "VOLT=120", "--finally", "OUTP=OFF"});
    EXPECT_EQ(run.status, 3u);
    EXPECT_EQ(run.err, "127.0.0.1:1: Unable to connect to server\r\n");
    EXPECT_EQ(Sim2Record(0), "");
}
