// tessaly-cmd on several instruments: the link options and --reconnect and --finally on the
// command line, the header, the texts and statuses of lost links, and the schedule of several
// workers on a clock the test controls, with the rows the writer takes from their finished rounds.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "cmd/cmd_args.h"
#include "cmd/cmd_instruments.h"
#include "cmd/cmd_logging.h"
#include "link/link.h"

namespace
{

ScriptPlan Plan(const std::vector<std::string>& args)
{
    ScriptPlan plan = ParseArguments(args);
    EXPECT_EQ(plan.error, "");
    return plan;
}

std::vector<std::string> Names(const ScriptPlan& plan)
{
    std::vector<std::string> names;
    for (const Instrument& instrument : plan.instruments)
        names.push_back(instrument.name);
    return names;
}

} // namespace

TEST(CmdInstrumentArguments, EachLinkOptionIsOneInstrumentInTheOrderGiven)
{
    ScriptPlan plan = Plan({"--tcp", "192.168.1.10:5025", "--com", "3", "--baud", "19200", "--usb",
                            "4", "--com", "05", "--tcp", "[::1]:5025", "*IDN?"});
    EXPECT_EQ(Names(plan), std::vector<std::string>(
                               {"192.168.1.10:5025", "COM3", "USB4", "COM5", "[::1]:5025"}));
    EXPECT_EQ(plan.instruments[0].host, "192.168.1.10");
    EXPECT_EQ(plan.instruments[0].port, "5025");
    EXPECT_EQ(plan.instruments[1].link, ScriptLink::Rs232);
    EXPECT_EQ(plan.instruments[1].baudIndex, 7); // 19200 goes with COM3 alone
    EXPECT_EQ(plan.instruments[2].link, ScriptLink::Usb);
    EXPECT_EQ(plan.instruments[3].baudIndex, DefaultBaudIndex);
    EXPECT_EQ(plan.instruments[4].host, "::1");
    EXPECT_EQ(plan.steps.size(), 1u);
}

TEST(CmdInstrumentArguments, FinallyAndReconnectGoWithEvery)
{
    ScriptPlan plan = Plan({"--tcp", "h:1", "--tcp", "h:2", "--reconnect", "--csv", "VOLT=120",
                            "OUTP=ON", "--every", "1", "--count", "3", "MEAS:VOLT?", "--finally",
                            "OUTP=OFF", "--wait", "100", "--query", "SYST:ERR?"});
    EXPECT_TRUE(plan.reconnect);
    EXPECT_EQ(plan.steps.size(), 3u);
    EXPECT_EQ(plan.firstRepeated, 2u);
    ASSERT_EQ(plan.finallySteps.size(), 4u); // OUTP=OFF, the wait, the free line and its Read
    EXPECT_EQ(plan.finallySteps[0].typed, "OUTP=OFF");
    EXPECT_EQ(plan.finallySteps[1].waitMs, 100);
    EXPECT_EQ(plan.finallySteps[3].row->kind, CommandKind::Read);
    // Options after --finally still count; its commands are none of the run's.
    plan = Plan({"--tcp", "h:1", "OUTP=ON", "--finally", "OUTP=OFF", "--csv"});
    EXPECT_TRUE(plan.csv);
    EXPECT_EQ(plan.steps.size(), 1u);
    EXPECT_EQ(plan.finallySteps.size(), 1u);
    EXPECT_FALSE(plan.reconnect);

    const struct {
        std::vector<std::string> args;
        const char* named;
    } refused[] = {
        {{"--tcp", "h:1", "--finally", "OUTP=OFF", "--every", "1", "MEAS:VOLT?"},
         "--every goes before --finally"},
        {{"--tcp", "h:1", "--every", "1", "MEAS:VOLT?", "--finally"}, "--finally needs the"},
        {{"--tcp", "h:1", "--every", "1", "MEAS:VOLT?", "--finally", "OUTP=OFF", "--finally",
          "*RST"},
         "--finally: give it once"},
        {{"--tcp", "h:1", "--every", "1", "--finally", "OUTP=OFF"}, "--every needs the commands"},
        {{"--tcp", "h:1", "--reconnect", "MEAS:VOLT?"}, "--reconnect goes with --every"},
        {{"--tcp", "h:1", "--tcp", "h:2", "--log", "MEAS:VOLT?"}, "--log goes with one"},
        {{"--tcp", "h:1", "--every", "1", "MEAS:VOLT?", "--finally", "VOLT=12V"}, ""},
    };
    for (const auto& c : refused) {
        std::string error = ParseArguments(c.args).error;
        // A value refused among the --finally commands is no usage error: it is refused, like any
        // other, before a link opens (checked under Wine).
        if (*c.named == 0)
            EXPECT_EQ(error, "");
        else
            EXPECT_NE(error.find(c.named), std::string::npos) << c.named << ": " << error;
    }
    for (const char* option : {"--reconnect", "--finally", "more than once"})
        EXPECT_NE(HelpText().find(option), std::string::npos) << option;
}

TEST(CmdInstrumentHeader, EveryInstrumentsQueriesInTheOrderGivenNamedAsTyped)
{
    ScriptPlan plan = Plan({"--tcp", "192.168.1.10:5025", "--com", "3", "--csv", "OUTP=ON",
                            "--every", "1", "MEAS:VOLT?", "VOLT=1", "--query", "MEAS:POW?"});
    EXPECT_EQ(CsvHeader(plan), "time,elapsed_s,192.168.1.10:5025 MEAS:VOLT?,"
                               "192.168.1.10:5025 MEAS:POW?,COM3 MEAS:VOLT?,COM3 MEAS:POW?\r\n");
    EXPECT_EQ(CellsPerRound(plan), 2u);
    EXPECT_EQ(AnswerPrefix(plan, plan.instruments[1]), "COM3 ");
    EXPECT_EQ(MessagePrefix(plan, plan.instruments[1]), "COM3: ");
    // One instrument: the header and the lines as they always were.
    plan = Plan({"--tcp", "192.168.1.10:5025", "--csv", "--every", "1", "MEAS:VOLT?"});
    EXPECT_EQ(CsvHeader(plan), "time,elapsed_s,MEAS:VOLT?\r\n");
    EXPECT_EQ(AnswerPrefix(plan, plan.instruments[0]), "");
    EXPECT_EQ(MessagePrefix(plan, plan.instruments[0]), "");
}

TEST(CmdInstrumentStatus, LostLinksCellsAndTheRunsStatus)
{
    ScriptPlan plain = Plan({"--tcp", "h:1", "--com", "2", "--every", "1", "MEAS:VOLT?"});
    ScriptPlan again = Plan({"--tcp", "h:1", "--reconnect", "--every", "1", "MEAS:VOLT?"});
    EXPECT_EQ(DownCellText(again, again.instruments[0]), LinkDownText);
    EXPECT_EQ(DownCellText(plain, plain.instruments[0]), EthTimeoutText);
    EXPECT_EQ(DownCellText(plain, plain.instruments[1]), ReadFailureText);
    EXPECT_EQ(StateAfterLoss(again), LinkState::Down);
    EXPECT_EQ(StateAfterLoss(plain), LinkState::Lost);
    // The rounds end once every link is lost for good; never with --reconnect.
    EXPECT_FALSE(RoundsEndWhenLost(1, plain));
    EXPECT_TRUE(RoundsEndWhenLost(2, plain));
    EXPECT_TRUE(RoundsEndWhenLost(1, Plan({"--tcp", "h:1", "--every", "1", "MEAS:VOLT?"})));
    EXPECT_FALSE(RoundsEndWhenLost(1, again));

    EXPECT_EQ(FirstFailure({ExitDone, ExitDone}), ExitDone);
    EXPECT_EQ(FirstFailure({ExitDone, ExitLinkNotOpened, ExitCommandFailed}), ExitLinkNotOpened);
    EXPECT_EQ(StatusWithFinally(ExitDone, true), ExitCommandFailed);
    EXPECT_EQ(StatusWithFinally(ExitDone, false), ExitDone);
    for (int status : {ExitCommandFailed, ExitLinkNotOpened, ExitOutputLost, ExitStopped})
        EXPECT_EQ(StatusWithFinally(status, true), status);

    std::string lost = LinkLostText(again, again.instruments[0], 3, "2026-01-02T03:04:05.006",
                                    "Ethernet Connection Closed");
    EXPECT_EQ(lost, "h:1: the link was lost in round 4 at 2026-01-02T03:04:05.006 (Ethernet "
                    "Connection Closed)");
    EXPECT_EQ(LinkBackText(again, again.instruments[0], 6, "2026-01-02T03:04:09.000"),
              "h:1: the link came back before round 7 at 2026-01-02T03:04:09.000");
}

TEST(CmdInstrumentSchedule, OnlyADownLinkIsOpenedAgainBeforeARound)
{
    ScriptPlan plan =
        Plan({"--tcp", "h:1", "--reconnect", "--every", "2", "--count", "3", "MEAS:VOLT?"});
    WorkerMove move = NextWorkerMove(plan, 1, 500, LinkState::Down);
    EXPECT_TRUE(move.run);
    EXPECT_EQ(move.waitMs, 1500);
    EXPECT_TRUE(move.reopen);
    EXPECT_FALSE(NextWorkerMove(plan, 1, 500, LinkState::Up).reopen);
    EXPECT_FALSE(NextWorkerMove(plan, 1, 500, LinkState::Lost).reopen);
    move = NextWorkerMove(plan, 3, 6000, LinkState::Down); // the count is done
    EXPECT_FALSE(move.run);
    EXPECT_FALSE(move.reopen);
}

// Three instruments every 2 s for 6 rounds on a clock the test keeps: B's third round waits 21 s
// (a TCP connect to an address that does not answer), C's rounds take 0.3 s. Each worker follows
// the schedule alone, as its thread does; their finished rounds go into the table in the order of
// the clock, and the writer takes every row it can after each.
TEST(CmdInstrumentSchedule, ASlowInstrumentDelaysOnlyItsOwnCellsAndRowsWaitForAll)
{
    ScriptPlan plan = Plan({"--tcp", "a:1", "--tcp", "b:1", "--com", "3", "--csv", "--every", "2",
                            "--count", "6", "MEAS:VOLT?"});
    const long long rounds = 6;
    auto duration = [](std::size_t instrument, long long round) -> long long {
        if (instrument == 1 && round == 2)
            return 21000;
        return instrument == 2 ? 300 : 50;
    };
    std::vector<std::vector<long long>> starts(3), finishes(3);
    std::vector<std::vector<long long>> late(3);
    for (std::size_t i = 0; i < 3; ++i) {
        long long now = 0;
        for (long long round = 0;; ++round) {
            WorkerMove move = NextWorkerMove(plan, round, now, LinkState::Up);
            if (!move.run)
                break;
            now += move.waitMs;
            late[i].push_back(move.lateMs);
            starts[i].push_back(now);
            now += duration(i, round);
            finishes[i].push_back(now);
        }
        ASSERT_EQ(starts[i].size(), static_cast<std::size_t>(rounds)) << i;
    }
    for (long long round = 0; round < rounds; ++round) {
        EXPECT_EQ(starts[0][round], round * 2000) << round; // A is never held up by B
        EXPECT_EQ(starts[2][round], round * 2000) << round;
    }
    // B's rounds after the stuck one start at once, late, until it has caught up.
    EXPECT_EQ(starts[1][3], 4000 + 21000);
    EXPECT_EQ(late[1][3], 25000 - 6000);
    EXPECT_EQ(starts[1][5], finishes[1][4]);

    std::vector<std::tuple<long long, std::size_t, long long>> events;
    for (std::size_t i = 0; i < 3; ++i) {
        for (long long round = 0; round < rounds; ++round)
            events.emplace_back(finishes[i][round], i, round);
    }
    std::sort(events.begin(), events.end());
    RoundTable table;
    StartTable(table, 3);
    std::vector<long long> written;
    std::vector<TableRow> rows;
    for (const auto& [time, instrument, round] : events) {
        RoundPart part;
        part.time = "t" + std::to_string(starts[instrument][round]);
        part.elapsedMs = starts[instrument][round];
        part.cells = {std::string(1, static_cast<char>('A' + instrument)) + std::to_string(round)};
        bool wake = FinishPart(table, instrument, part);
        if (round == rounds - 1)
            wake = EndRounds(table, instrument) || wake;
        // The writer takes rows only when woken, as it does in the run.
        for (TableRow row = wake ? TakeRow(table, plan) : TableRow{}; row.ready;
             row = TakeRow(table, plan)) {
            written.push_back(time);
            rows.push_back(row);
        }
    }
    EXPECT_TRUE(TakeRow(table, plan).over);
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(rounds));
    for (long long round = 0; round < rounds; ++round) {
        long long allDone = std::max({finishes[0][round], finishes[1][round], finishes[2][round]});
        EXPECT_EQ(written[round], allDone) << "row " << round << " is written when its last "
                                           << "instrument finishes, not before or after";
        std::string k = std::to_string(round);
        EXPECT_EQ(rows[round].fields,
                  std::vector<std::string>({"t" + std::to_string(round * 2000),
                                            SecondsText(round * 2000), "A" + k, "B" + k, "C" + k}));
    }
}

// An instrument whose worker ended its rounds early (the run's end came during its round's
// --wait) leaves empty cells; the writer is over once every worker has ended and all is written.
TEST(CmdInstrumentSchedule, AnEndedInstrumentLeavesEmptyCellsAndTheTableEnds)
{
    ScriptPlan plan =
        Plan({"--tcp", "a:1", "--tcp", "b:1", "--csv", "--every", "1", "MEAS:VOLT?", "MEAS:CURR?"});
    RoundTable table;
    StartTable(table, 2);
    EXPECT_FALSE(TakeRow(table, plan).ready);
    EXPECT_FALSE(TakeRow(table, plan).over);
    EXPECT_FALSE(FinishPart(table, 1, {"t1", 1000, {"1", "2"}, "b 1\r\nb 2\r\n"}));
    EXPECT_FALSE(TakeRow(table, plan).ready) << "a is still at the round";
    EXPECT_TRUE(EndRounds(table, 0));
    TableRow row = TakeRow(table, plan);
    ASSERT_TRUE(row.ready);
    EXPECT_EQ(row.fields, std::vector<std::string>({"t1", "1.000", "", "", "1", "2"}));
    EXPECT_EQ(row.plain, "b 1\r\nb 2\r\n");
    EXPECT_FALSE(TakeRow(table, plan).over);
    EXPECT_TRUE(EndRounds(table, 1));
    EXPECT_TRUE(TakeRow(table, plan).over);
}
