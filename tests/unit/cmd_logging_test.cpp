// tessaly-cmd's logging runs: how --every splits the commands and what its companions accept,
// that the check made before the link opens refuses exactly what a click would, the CSV a
// spreadsheet reads back, and the steady schedule of rounds on a clock the test moves.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cmd/cmd_args.h"
#include "cmd/cmd_chart.h"
#include "cmd/cmd_logging.h"
#include "panels/transaction.h"
#include "res/resource.h"
#include "tests/unit/fakes.h"

namespace
{

ScriptPlan Parse(std::vector<std::string> args)
{
    args.insert(args.begin(), {"--tcp", "192.0.2.5:5025"});
    return ParseArguments(args);
}

} // namespace

TEST(CmdLoggingArguments, EverySplitsTheCommandsIntoOnceAndRepeated)
{
    ScriptPlan plan = Parse({"VOLT=120", "OUTP=ON", "--wait", "500", "--csv", "--every", "2",
                             "--count", "5", "meas:volt?", "--query", "MEAS:CURR?", "--out", "a"});
    ASSERT_EQ(plan.error, "");
    EXPECT_TRUE(IsLoggingRun(plan));
    ASSERT_EQ(plan.steps.size(), 6u);
    EXPECT_EQ(plan.firstRepeated, 3u);
    EXPECT_EQ(plan.steps[2].row, nullptr);
    EXPECT_EQ(plan.steps[2].waitMs, 500);
    EXPECT_EQ(plan.steps[3].typed, "meas:volt?");
    EXPECT_EQ(plan.steps[5].typed, "MEAS:CURR?");
    EXPECT_EQ(plan.intervalMs, 2000);
    EXPECT_EQ(plan.count, 5);
    EXPECT_EQ(plan.outPath, "a");
    EXPECT_EQ(CsvHeader(plan), "time,elapsed_s,meas:volt?,MEAS:CURR?\r\n");

    // --csv alone: the whole list is one round, once; no --csv nor --every: no round at all.
    plan = Parse({"VOLT=1", "MEAS:VOLT?", "--csv"});
    EXPECT_EQ(plan.firstRepeated, 0u);
    EXPECT_EQ(plan.count, 1);
    EXPECT_EQ(CsvHeader(plan), "time,elapsed_s,MEAS:VOLT?\r\n");
    plan = Parse({"VOLT=1", "MEAS:VOLT?", "--out", "x"});
    EXPECT_FALSE(IsLoggingRun(plan));
    EXPECT_EQ(plan.firstRepeated, 2u);

    const struct {
        const char* every;
        long long ms;
    } intervals[] = {{"0.1", 100}, {"2", 2000}, {".25", 250}, {"1.5", 1500}, {"600.125", 600125}};
    for (const auto& i : intervals)
        EXPECT_EQ(Parse({"--every", i.every, "*IDN?"}).intervalMs, i.ms) << i.every;
    const struct {
        const char* duration;
        long long ms;
    } durations[] = {{"90s", 90000}, {"15m", 900000}, {"8h", 28800000}};
    for (const auto& d : durations)
        EXPECT_EQ(Parse({"--every", "1", "--for", d.duration, "*IDN?"}).durationMs, d.ms);
    for (const char* option :
         {"--every SECONDS", "--count N", "--for DURATION", "--wait MS", "--csv", "--out FILE"})
        EXPECT_NE(HelpText().find(option), std::string::npos) << option;
}

TEST(CmdLoggingArguments, UsageErrorsStopBeforeAnything)
{
    const struct {
        std::vector<std::string> args;
        const char* named;
    } cases[] = {
        {{"--every", "0.09", "*IDN?"}, "--every 0.09"},
        {{"--every", "0.0999", "*IDN?"}, "--every 0.0999"},
        {{"--every", "1.", "*IDN?"}, "--every 1."},
        {{"--every", "-1", "*IDN?"}, "--every -1"},
        {{"--every", "1e3", "*IDN?"}, "--every 1e3"},
        {{"--every", "1", "--every", "2", "*IDN?"}, "--every: give it once"},
        {{"*IDN?", "--every", "1"}, "--every needs the commands to repeat"},
        {{"--every"}, "--every needs a value"},
        {{"--count", "3", "*IDN?"}, "--count goes with --every"},
        {{"--csv", "--for", "1m", "*IDN?"}, "--for goes with --every"},
        {{"--every", "1", "--count", "0", "*IDN?"}, "--count 0"},
        {{"--every", "1", "--count", "x", "*IDN?"}, "--count x"},
        {{"--every", "1", "--for", "90", "*IDN?"}, "--for 90:"},
        {{"--every", "1", "--for", "0s", "*IDN?"}, "--for 0s"},
        {{"--every", "1", "--for", "2d", "*IDN?"}, "--for 2d"},
        {{"--wait", "1.5", "*IDN?"}, "--wait 1.5"},
        {{"--out", "a", "--out", "b", "*IDN?"}, "--out: give one file"},
        {{"--log", "--csv", "*IDN?"}, "--log and --csv"},
    };
    for (const auto& c : cases) {
        std::string error = Parse(c.args).error;
        EXPECT_NE(error.find(c.named), std::string::npos) << c.named << ": " << error;
    }
}

TEST(CmdCsv, QuotingAsRfc4180)
{
    EXPECT_EQ(CsvField("+1.200000E+02"), "+1.200000E+02");
    EXPECT_EQ(CsvField("-0.5"), "-0.5");
    EXPECT_EQ(CsvField("Eth Timeout"), "Eth Timeout");
    EXPECT_EQ(CsvField(""), "");
    EXPECT_EQ(CsvField("-113,\"Undefined header\""), "\"-113,\"\"Undefined header\"\"\"");
    EXPECT_EQ(CsvField("a\rb"), "\"a\rb\"");
    EXPECT_EQ(CsvField("a\nb"), "\"a\nb\"");
    EXPECT_EQ(CsvField("\""), "\"\"\"\"");
    EXPECT_EQ(CsvRecord({"t", "0.000", "x,y", "1"}), "t,0.000,\"x,y\",1\r\n");
    EXPECT_EQ(CsvRecord({}), "\r\n");
}

TEST(CmdCsv, TimeTexts)
{
    EXPECT_EQ(IsoTime({2024, 3, 5, 8, 7, 6, 42}), "2024-03-05T08:07:06.042");
    EXPECT_EQ(IsoTime({1999, 12, 31, 23, 59, 59, 999}), "1999-12-31T23:59:59.999");
    EXPECT_EQ(SecondsText(0), "0.000");
    EXPECT_EQ(SecondsText(2001), "2.001");
    EXPECT_EQ(SecondsText(599999), "599.999");
    EXPECT_EQ(SecondsText(36000000), "36000.000");
}

// The run's loop as tessaly-cmd runs it, on a clock the test owns: each round takes the given
// time; the result is when each round started and which were late.
struct Started {
    long long atMs;
    long long lateMs;
    bool operator==(const Started& other) const
    {
        return atMs == other.atMs && lateMs == other.lateMs;
    }
};

std::vector<Started> RunRounds(const ScriptPlan& plan, const std::vector<long long>& roundMs)
{
    std::vector<Started> started;
    long long clock = 0;
    for (long long round = 0;; ++round) {
        RoundStart next = NextRound(plan, round, clock);
        if (!next.run || started.size() > 100)
            break;
        clock += next.waitMs;
        started.push_back({clock, next.lateMs});
        clock += roundMs[static_cast<std::size_t>(round) % roundMs.size()];
    }
    return started;
}

TEST(CmdSchedule, RoundsKeepTheirDueTimesAndLateOnesStartAtOnce)
{
    ScriptPlan plan = Parse({"--every", "2", "--count", "5", "*IDN?"});
    // Rounds of any length under the interval do not move the schedule.
    std::vector<Started> steady = {{0, 0}, {2000, 0}, {4000, 0}, {6000, 0}, {8000, 0}};
    EXPECT_EQ(RunRounds(plan, {1999, 10, 700}), steady);
    // A round of 3.5 s: the next starts at once, 1.5 s late; the one after is due again.
    std::vector<Started> late = {{0, 0}, {3500, 1500}, {4000, 0}, {6000, 0}, {8000, 0}};
    EXPECT_EQ(RunRounds(plan, {3500, 100, 100, 100, 100}), late);
    // Rounds that always take 2.5 s: every one is late by more; none is skipped.
    std::vector<Started> behind = {{0, 0}, {2500, 500}, {5000, 1000}, {7500, 1500}, {10000, 2000}};
    EXPECT_EQ(RunRounds(plan, {2500}), behind);
    EXPECT_EQ(LateText(plan, 1, 1500),
              "round 2 started 1.500 s late: the round before took longer than the interval of "
              "2.000 s");
    EXPECT_EQ(RoundFailureText(2, "MEAS:VOLT?: Eth Timeout"), "round 3: MEAS:VOLT?: Eth Timeout");
}

TEST(CmdSchedule, DurationCountsFromTheFirstRound)
{
    // 10 minutes at 2 s: 300 rounds, the last due at 598 s.
    ScriptPlan plan = Parse({"--every", "2", "--for", "10m", "*IDN?"});
    EXPECT_TRUE(NextRound(plan, 299, 597000).run);
    EXPECT_EQ(NextRound(plan, 299, 597000).waitMs, 1000);
    EXPECT_FALSE(NextRound(plan, 300, 598500).run);
    // A round due before the end is not started once the end has passed.
    EXPECT_FALSE(NextRound(plan, 299, 600000).run);
    plan = Parse({"--every", "0.5", "--for", "1s", "*IDN?"});
    EXPECT_EQ(RunRounds(plan, {1}).size(), 2u);
    // The first round runs even when it is slow to start; --count and --for: the first reached.
    plan = Parse({"--every", "1", "--for", "90s", "--count", "3", "*IDN?"});
    EXPECT_TRUE(NextRound(plan, 0, 100000).run);
    EXPECT_EQ(NextRound(plan, 0, 100000).lateMs, 0) << "no round before the first made it late";
    EXPECT_EQ(RunRounds(plan, {1}).size(), 3u);
    // Neither: the rounds go on (until Ctrl+C); --csv alone: one round.
    EXPECT_EQ(RunRounds(Parse({"--every", "1", "*IDN?"}), {1}).size(), 101u);
    EXPECT_EQ(RunRounds(Parse({"--csv", "*IDN?"}), {1}), std::vector<Started>({{0, 0}}));
}

TEST(CmdSchedule, StatusOfTheRounds)
{
    EXPECT_EQ(RoundsStatus(false, false, false), ExitDone);
    EXPECT_EQ(RoundsStatus(true, false, false), ExitCommandFailed);
    EXPECT_EQ(RoundsStatus(true, true, false), ExitLinkNotOpened);
    EXPECT_EQ(RoundsStatus(true, true, true), ExitOutputLost);
    EXPECT_EQ(RoundsStatus(false, false, true), ExitOutputLost);
}

// The 32-bit tick wraps to 0 after 49.7 days; the extended clock runs on across the wrap, so that
// a run's elapsed time stays right and the schedule never sees time run backwards.
TEST(CmdClock, TheTickIsExtendedAcrossItsWraps)
{
    TickClock clock;
    const long long wrap = 1LL << 32;
    const long long start = ExtendedTick(clock, 0xFFFFF830u); // 2 s before the wrap
    EXPECT_EQ(start, 0xFFFFF830LL);
    EXPECT_EQ(ExtendedTick(clock, 0xFFFFF830u), start) << "the same reading is no wrap";
    EXPECT_EQ(ExtendedTick(clock, 0xFFFFFFFFu) - start, 1999);
    EXPECT_EQ(ExtendedTick(clock, 0u) - start, 2000);
    EXPECT_EQ(ExtendedTick(clock, 2000u) - start, 4000);
    // A round due 6 s after the start, asked 4 s after it, still waits 2 s.
    ScriptPlan plan = Parse({"--every", "6", "*IDN?"});
    EXPECT_EQ(NextRound(plan, 1, ExtendedTick(clock, 2000u) - start).waitMs, 2000);
    // A second wrap, read once in the 49.7 days between.
    EXPECT_EQ(ExtendedTick(clock, 0x80000000u), wrap + 0x80000000LL);
    EXPECT_EQ(ExtendedTick(clock, 5u), 2 * wrap + 5);
    EXPECT_EQ(clock.wraps, 2u);
}

// --chart goes with a logging run only and beside --out, never onto it; `chart RUN.csv` draws
// RUN.html unless a page is named, and never over the CSV. The page charts each instrument's
// repeated queries in CSV order, and names the columns so that a CSV written by a run on several
// instruments is split back into instrument and query.
TEST(CmdChart, OptionsColumnsAndTheEndOfARun)
{
    ScriptPlan plan = Parse({"--chart", "run.html", "VOLT=120", "--every", "1", "MEAS:VOLT?"});
    ASSERT_EQ(plan.error, "");
    EXPECT_EQ(plan.chartPath, "run.html");
    EXPECT_NE(
        Parse({"--chart", "run.html", "MEAS:VOLT?"}).error.find("--chart goes with a logging"),
        std::string::npos);
    EXPECT_NE(Parse({"--csv", "--out", "a", "--chart", "a", "MEAS:VOLT?"}).error, "");
    plan = ParseArguments({"chart", "C:\\runs.d\\night"});
    EXPECT_EQ(plan.mode, ScriptMode::Chart);
    EXPECT_EQ(plan.chartPath, "C:\\runs.d\\night.html");
    EXPECT_EQ(ParseArguments({"chart", "night.csv"}).chartPath, "night.html");
    EXPECT_EQ(ParseArguments({"chart", "night.csv", "page.htm"}).chartPath, "page.htm");
    EXPECT_NE(ParseArguments({"chart", "a.csv", "a.csv"}).error, "");
    EXPECT_NE(ParseArguments({"chart"}).error, "");

    plan = ParseArguments({"--tcp", "192.0.2.5:5025", "--com", "3", "--csv", "OUTP=ON", "--every",
                           "1", "MEAS:VOLT?", "VOLT=1", "MEAS:CURR?"});
    ASSERT_EQ(plan.error, "");
    std::vector<ChartColumn> columns = ChartColumnsOf(plan);
    ASSERT_EQ(columns.size(), 4u);
    EXPECT_EQ(columns[1].instrument + "|" + columns[1].query, "192.0.2.5:5025|MEAS:CURR?");
    EXPECT_EQ(columns[2].instrument + "|" + columns[2].query, "COM3|MEAS:VOLT?");
    std::string header = CsvHeader(plan);
    for (const std::string& name :
         {std::string("192.0.2.5:5025 MEAS:CURR?"), std::string("COM3 MEAS:VOLT?")}) {
        ASSERT_NE(header.find(name), std::string::npos) << header;
        ChartColumn split = SplitColumnName(name);
        EXPECT_EQ(split.instrument + " " + split.query, name);
    }
    EXPECT_EQ(SplitColumnName("USB4 MEAS:POW?").instrument, "USB4");
    EXPECT_EQ(SplitColumnName("MEAS:VOLT?").instrument, "");
    EXPECT_EQ(SplitColumnName("SOUR:LIST:VOLT 1").instrument, ""); // a free line with a space

    EXPECT_TRUE(ChartPageDue(1000, 0));
    EXPECT_FALSE(ChartPageDue(200, 999));
    EXPECT_TRUE(ChartPageDue(200, 1000));
    EXPECT_EQ(ChartEndReason(ExitDone, true, plan), "stopped by Ctrl+C or Ctrl+Break.");
    EXPECT_EQ(ChartEndReason(ExitLinkNotOpened, false, plan), "every link was lost.");
}
