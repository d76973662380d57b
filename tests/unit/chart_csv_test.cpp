// Reading a CSV that tessaly-cmd wrote back into the chart: RFC 4180 fields and line ends, the
// rows fed in order, and every file that is no such CSV refused with the line at fault.
#include <gtest/gtest.h>

#include <string>

#include "chart/chart.h"

TEST(ChartCsv, ReadsQuotedFieldsBothLineEndsAndFeedsEachRow)
{
    std::string csv = "\xEF\xBB\xBF"
                      "time,elapsed_s,MEAS:VOLT?,\"SYST:ERR?,\"\"x\"\"\"\r\n"
                      "2026-12-08T14:06:26.514,0.000,120.00,\"0,\"\"No error\"\"\"\r\n"
                      "2026-12-08T14:06:28.515,2.001,Eth Timeout,\"two\r\nlines\"\n"
                      "2026-12-08T14:06:30.514,4.001,-1.5E-3,\"\"\r\n";
    ChartState state;
    std::string error = "stale";
    ASSERT_TRUE(ChartFromCsv(csv, state, error)) << error;
    EXPECT_EQ(error, "");
    ASSERT_EQ(state.lines.size(), 2u);
    EXPECT_EQ(state.lines[0].query, "MEAS:VOLT?");
    EXPECT_EQ(state.lines[0].instrument, "");
    EXPECT_EQ(state.lines[1].query, "SYST:ERR?,\"x\"");
    EXPECT_EQ(state.startTime, "2026-12-08T14:06:26.514");
    EXPECT_EQ(state.rounds, 3);
    EXPECT_EQ(state.firstMs, 0);
    EXPECT_EQ(state.lastMs, 4001);
    EXPECT_EQ(state.lines[0].numbers, 2);
    EXPECT_EQ(state.lines[0].gaps, 1);
    EXPECT_EQ(state.lines[0].min, -0.0015);
    EXPECT_EQ(state.lines[1].numbers, 0);
    EXPECT_EQ(state.lines[1].buckets[1].gaps, 1);
    // A header alone is a run with no rounds yet; a last line without its end is read.
    ASSERT_TRUE(ChartFromCsv("time,elapsed_s,A?\r\n", state, error)) << error;
    EXPECT_EQ(state.rounds, 0);
    EXPECT_NE(ChartPage(state, PageInfo{}).find("0 rounds"), std::string::npos);
    ASSERT_TRUE(ChartFromCsv("time,elapsed_s,A?\nt,1.5,2\n\n", state, error)) << error;
    EXPECT_EQ(state.lastMs, 1500);
}

TEST(ChartCsv, AFileThatIsNoTessalyCsvIsRefusedNamingTheLine)
{
    struct Case {
        std::string csv, error;
    };
    const Case cases[] = {
        {"", "line 1: the file is empty"},
        {"time,elapsed,A?\r\n", "line 1: not a tessaly-cmd CSV"},
        {"elapsed_s,time,A?\r\n", "line 1: not a tessaly-cmd CSV"},
        {"time,elapsed_s\r\nt,0.000\r\n", "line 1: not a tessaly-cmd CSV"},
        {"time,elapsed_s,A?\r\nt,0.000,1\r\nt,2.000\r\n", "line 3: 2 cells where the header has 3"},
        {"time,elapsed_s,A?\r\nt,0.000,1\r\nt,2.000,1,2\r\n",
         "line 3: 4 cells where the header has 3"},
        {"time,elapsed_s,A?\r\nt,0.000,\"x\r\ny\"\r\nt,abc,1\r\n",
         "line 4: elapsed_s is not a number of seconds"},
        {"time,elapsed_s,A?\r\nt,-1,1\r\n", "line 2: elapsed_s is not a number of seconds"},
        {"time,elapsed_s,A?\r\nt,1e300,1\r\n", "line 2: elapsed_s is not a number of seconds"},
        {"time,elapsed_s,A?\r\nt,0.000,\"open\r\n", "line 2: a quoted field is not closed"},
        {"time,elapsed_s,A?\r\nt,0.000,\"a\"b\r\n", "line 2: text after the closing quote"},
        {"time,elapsed_s,A?\r\nt,0.000,a\"b\r\n", "line 2: a quote inside a field"},
        {"\x89PNG\r\n\x1a\n", "line 1: not a tessaly-cmd CSV"},
    };
    for (const Case& c : cases) {
        ChartState state = NewChart({{"", "old"}}, "");
        AddRound(state, 0, {"1"});
        std::string error;
        EXPECT_FALSE(ChartFromCsv(c.csv, state, error)) << c.csv;
        EXPECT_EQ(error.substr(0, c.error.size()), c.error) << c.csv << " gave " << error;
        EXPECT_TRUE(state.lines.empty()) << c.csv;
        EXPECT_EQ(state.rounds, 0) << c.csv;
    }
}
