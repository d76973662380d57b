// The chart state: which answers are numbers, and buckets that stay few over any run while a
// spike, the extremes and every failed answer survive the merging.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chart/chart.h"

namespace
{

ChartState OneLine()
{
    return NewChart({{"", "MEAS:VOLT?"}}, "2026-12-08T14:06:26.514");
}

} // namespace

TEST(ChartNumbers, WholeDecimalAnswersAreNumbersAndNothingElseIs)
{
    double v = 0;
    EXPECT_TRUE(AnswerNumber("120.00", v));
    EXPECT_EQ(v, 120.0);
    EXPECT_TRUE(AnswerNumber("-1.5E-3", v));
    EXPECT_DOUBLE_EQ(v, -0.0015);
    EXPECT_TRUE(AnswerNumber("+2.500\r\n", v));
    EXPECT_EQ(v, 2.5);
    EXPECT_TRUE(AnswerNumber(" .5 ", v));
    EXPECT_EQ(v, 0.5);
    for (const char* text : {"Eth Timeout", "Read Comport Failure", "link down", "", " ", "1.2.3",
                             "12V", "1e", "+", ".", "inf", "nan", "0x10", "1e999", "1,5"})
        EXPECT_FALSE(AnswerNumber(text, v)) << text;
}

TEST(ChartBuckets, ASpikeAndTheExtremesSurviveAMillionRoundsInFewBuckets)
{
    ChartState state = OneLine();
    for (long long k = 0; k < 1000000; ++k)
        AddRound(state, k * 1000, {k == 654321 ? "999.5" : k == 3 ? "-7.25" : "120.00"});
    const ChartLine& line = state.lines[0];
    EXPECT_LE(line.buckets.size(), ChartMaxBuckets);
    EXPECT_GE(line.buckets.size(), ChartMaxBuckets / 2);
    long long cells = 0;
    int spikes = 0;
    for (const ChartBucket& b : line.buckets) {
        cells += b.numbers;
        spikes += b.max == 999.5;
        EXPECT_LE(b.firstMs, b.lastMs);
    }
    EXPECT_EQ(cells, 1000000);
    EXPECT_EQ(spikes, 1);
    EXPECT_EQ(line.buckets.front().min, -7.25);
    EXPECT_EQ(line.min, -7.25);
    EXPECT_EQ(line.max, 999.5);
    EXPECT_NEAR(line.sum / line.numbers, 120.0, 0.001);
    EXPECT_EQ(line.buckets.front().firstMs, 0);
    EXPECT_EQ(line.buckets.back().lastMs, 999999000);
    EXPECT_EQ(state.rounds, 1000000);
}

TEST(ChartBuckets, MergingPairsNeighboursKeepingMinMaxSumAndTimes)
{
    ChartState state = OneLine();
    // Exactly full, then one more round: the buckets halve, each pair joined.
    for (std::size_t k = 0; k <= ChartMaxBuckets; ++k)
        AddRound(state, k * 10, {std::to_string(k % 2 ? -double(k) : double(k))});
    const ChartLine& line = state.lines[0];
    ASSERT_EQ(line.buckets.size(), ChartMaxBuckets / 2 + 1);
    EXPECT_EQ(line.perBucket, 2);
    const ChartBucket& b = line.buckets[5]; // rounds 10 and 11
    EXPECT_EQ(b.min, -11);
    EXPECT_EQ(b.max, 10);
    EXPECT_EQ(b.sum, -1);
    EXPECT_EQ(b.numbers, 2);
    EXPECT_EQ(b.firstMs, 100);
    EXPECT_EQ(b.lastMs, 110);
    EXPECT_EQ(line.buckets.back().numbers, 1);
    EXPECT_EQ(line.buckets.back().firstMs, static_cast<long long>(ChartMaxBuckets) * 10);
}

TEST(ChartBuckets, FailedAnswersAreGapsThatSurviveMergingAndLeaveTheNumbersAlone)
{
    ChartState state = NewChart({{"", "MEAS:VOLT?"}, {"", "*IDN?"}}, "");
    for (long long k = 0; k < 300000; ++k) {
        std::string volts = k == 777 ? "Eth Timeout" : k == 250000 ? "link down" : "-3.5";
        AddRound(state, k * 2000, {volts, "TESSALY,SIM,1"});
    }
    AddRound(state, 600000000, {"-4"}); // a missing cell is a failed one
    const ChartLine& volts = state.lines[0];
    long long gaps = 0, bucketsWithGaps = 0;
    for (const ChartBucket& b : volts.buckets) {
        gaps += b.gaps;
        bucketsWithGaps += b.gaps > 0;
        if (b.numbers > 0) {
            EXPECT_GE(b.min, -4);
            EXPECT_LE(b.max, -3.5);
        }
    }
    EXPECT_EQ(gaps, 2);
    EXPECT_EQ(bucketsWithGaps, 2);
    EXPECT_EQ(volts.gaps, 2);
    EXPECT_EQ(volts.numbers, 299999);
    EXPECT_EQ(volts.max, -3.5);
    EXPECT_EQ(volts.min, -4);
    EXPECT_EQ(volts.latest, "-4");
    EXPECT_EQ(state.lines[1].numbers, 0);
    EXPECT_EQ(state.lines[1].gaps, 300001);
    EXPECT_EQ(state.lines[1].latest, "");
}

TEST(ChartBuckets, ColumnsBeyondTheLimitAreCountedAndTheSizeIsFixedFromTheStart)
{
    std::vector<ChartColumn> columns(ChartMaxLines + 3, {"", "Q?"});
    ChartState state = NewChart(columns, "");
    EXPECT_EQ(state.lines.size(), ChartMaxLines);
    EXPECT_EQ(state.columns, ChartMaxLines + 3);
    std::size_t before = ChartStateBytes(state);
    std::vector<std::string> cells(columns.size(), "1.25");
    for (int k = 0; k < 5000; ++k)
        AddRound(state, k, cells);
    EXPECT_EQ(ChartStateBytes(state), before);
}
