// The chart page: one chart per query that gave a number, a line per instrument with a legend,
// breaks and marks at failed answers, the table under each chart, escaped texts, the reload while
// the run goes on and the reason once it ended, and a size bound that holds for any run.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chart/chart.h"

namespace
{

std::size_t Count(const std::string& text, const std::string& part)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

// The text between the first `from` at or after `start` and the next `to`.
std::string Between(const std::string& text, const std::string& from, const std::string& to,
                    std::size_t start = 0)
{
    std::size_t a = text.find(from, start);
    if (a == std::string::npos)
        return "";
    a += from.size();
    return text.substr(a, text.find(to, a) - a);
}

// Two instruments answering MEAS:VOLT?, one MEAS:OFFS? with negative values, *IDN? never a
// number; instrument B's voltage fails in round 2.
ChartState TwoInstruments()
{
    ChartState state = NewChart({{"PSU-A", "MEAS:VOLT?"},
                                 {"PSU-B", "MEAS:VOLT?"},
                                 {"PSU-A", "MEAS:OFFS?"},
                                 {"PSU-A", "*IDN?"}},
                                "2026-12-08T14:06:26.514");
    AddRound(state, 0, {"120.00", "119.50", "-0.50", "TESSALY,1"});
    AddRound(state, 2000, {"121.00", "Eth Timeout", "-1.5E-3", "TESSALY,1"});
    AddRound(state, 4000, {"122.00", "118.50", "-2.00", "TESSALY,1"});
    return state;
}

} // namespace

TEST(ChartPage, OneChartPerNumericQueryWithALinePerInstrumentLegendAndTable)
{
    std::string page = ChartPage(TwoInstruments(), PageInfo{});
    EXPECT_EQ(Count(page, "<svg"), 2u);
    EXPECT_EQ(Count(page, "<h2>MEAS:VOLT?</h2>"), 1u);
    EXPECT_EQ(Count(page, "<h2>MEAS:OFFS?</h2>"), 1u);
    EXPECT_EQ(Count(page, "<h2>*IDN?</h2>"), 0u);
    EXPECT_NE(page.find("no chart: *IDN?"), std::string::npos);
    std::string volts = Between(page, "<h2>MEAS:VOLT?</h2>", "</section>");
    EXPECT_EQ(Count(volts, "class=\"line\""), 2u);
    EXPECT_NE(Between(volts, "class=\"legend\"", "</p>").find("PSU-B"), std::string::npos);
    // The table: per line latest, minimum, maximum, mean and failed answers.
    EXPECT_NE(volts.find("PSU-A</td><td>122.00</td><td>120</td><td>122</td><td>121</td><td>0"),
              std::string::npos);
    EXPECT_NE(volts.find("PSU-B</td><td>118.50</td><td>118.5</td><td>119.5</td><td>119</td><td>1"),
              std::string::npos);
    // A negative axis: the offsets' ticks reach below their minimum of -2.
    std::string offsets = Between(page, "<h2>MEAS:OFFS?</h2>", "</section>");
    EXPECT_NE(offsets.find(">-2</text>"), std::string::npos);
    EXPECT_NE(offsets.find("<td>-2</td><td>-0.0015</td>"), std::string::npos);
    EXPECT_EQ(Count(offsets, "class=\"legend\""), 0u);
    // The title names start, duration, queries and instruments; the x axis shows clock times.
    EXPECT_NE(page.find("<title>Tessaly run of 2026-12-08 14:06:26, 4 s: MEAS:VOLT?, MEAS:OFFS?, "
                        "*IDN? on PSU-A, PSU-B</title>"),
              std::string::npos);
    EXPECT_NE(volts.find(">14:06:27</text>"), std::string::npos);
}

TEST(ChartPage, AFailedAnswerBreaksItsLineAndIsMarkedUnderThePlot)
{
    std::string volts =
        Between(ChartPage(TwoInstruments(), PageInfo{}), "<h2>MEAS:VOLT?</h2>", "</section>");
    std::string first = Between(volts, "class=\"line\" d=\"", "\"");
    std::string second =
        Between(volts, "class=\"line\" d=\"", "\"", volts.find("class=\"line\"") + 1);
    EXPECT_EQ(Count(first, "M"), 1u) << first;
    EXPECT_EQ(Count(second, "M"), 2u) << second; // the line starts again after the gap
    EXPECT_EQ(Count(Between(volts, "class=\"gaps\" d=\"", "\""), "M"), 1u);
    std::string offsets =
        Between(ChartPage(TwoInstruments(), PageInfo{}), "<h2>MEAS:OFFS?</h2>", "</section>");
    EXPECT_EQ(Count(offsets, "class=\"gaps\""), 0u);
}

TEST(ChartPage, TextsFromTheRunAreEscaped)
{
    ChartState state =
        NewChart({{"<PSU \"A\">", "MEAS:VOLT?<b>&"}, {"B&'C'", "MEAS:VOLT?<b>&"}, {"", "*IDN?<x>"}},
                 "2026-12-08T14:06:26<script>");
    AddRound(state, 0, {"1", "<i>x</i>", "TESSALY"});
    PageInfo info;
    info.ended = true;
    info.endReason = "link lost: <\"Eth Timeout\">";
    std::string page = ChartPage(state, info);
    EXPECT_NE(page.find("&lt;PSU &quot;A&quot;&gt;"), std::string::npos);
    EXPECT_NE(page.find("B&amp;&#39;C&#39;"), std::string::npos);
    EXPECT_NE(page.find("<h2>MEAS:VOLT?&lt;b&gt;&amp;</h2>"), std::string::npos);
    EXPECT_NE(page.find("&lt;i&gt;x&lt;/i&gt;"), std::string::npos);
    EXPECT_NE(page.find("no chart: *IDN?&lt;x&gt;"), std::string::npos);
    EXPECT_NE(page.find("link lost: &lt;&quot;Eth Timeout&quot;&gt;"), std::string::npos);
    for (const char* raw : {"<PSU", "<b>", "<i>", "<x>", "<script", "\"A\"", "'C'", "&'", "<\""})
        EXPECT_EQ(page.find(raw), std::string::npos) << raw;
}

TEST(ChartPage, ReloadsWhileRunningNeverFasterThanTwoSecondsAndSaysWhyItEnded)
{
    ChartState state = TwoInstruments();
    PageInfo info;
    info.intervalMs = 5000;
    EXPECT_NE(ChartPage(state, info).find("<meta http-equiv=\"refresh\" content=\"5\">"),
              std::string::npos);
    info.intervalMs = 100;
    EXPECT_NE(ChartPage(state, info).find("<meta http-equiv=\"refresh\" content=\"2\">"),
              std::string::npos);
    info.intervalMs = 2500;
    EXPECT_NE(ChartPage(state, info).find("content=\"3\""), std::string::npos);
    info.ended = true;
    info.endReason = "10 rounds done";
    std::string ended = ChartPage(state, info);
    EXPECT_EQ(ended.find("refresh"), std::string::npos);
    EXPECT_NE(ended.find("The run ended: 10 rounds done"), std::string::npos);
}

TEST(ChartPage, StaysBelowTheLimitForALongRunOfManyLinesWithLongTexts)
{
    // The worst a run can give: the most lines, each its own query and instrument with long names
    // of characters that escape six times over, answers that swing and fail all the time.
    std::vector<ChartColumn> columns;
    for (std::size_t i = 0; i < ChartMaxLines + 10; ++i)
        columns.push_back(
            {std::string(300, '"') + std::to_string(i), std::string(300, '&') + std::to_string(i)});
    ChartState state = NewChart(columns, std::string(500, '<'));
    std::vector<std::string> cells(columns.size());
    for (long long k = 0; k < 20000; ++k) {
        for (std::size_t i = 0; i < cells.size(); ++i)
            cells[i] =
                k % 3 == 0 ? std::string(200, '\'') : std::to_string((k * 7919) % 2001 - 1000);
        AddRound(state, k * 100, cells);
    }
    PageInfo info;
    info.ended = true;
    info.endReason = std::string(5000, '>');
    std::string page = ChartPage(state, info);
    EXPECT_LT(page.size(), ChartPageLimit);
    EXPECT_EQ(Count(page, "<svg"), ChartMaxLines);
    EXPECT_NE(page.find("10 more columns are not charted"), std::string::npos);
}
