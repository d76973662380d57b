// The chart page: title and heading naming the run, the reload while it goes on (or the reason it
// ended), one chart per query that gave a number, each with a legend and a table of its lines,
// and a note of the queries that gave none. Every text from the run is escaped and cut, and each
// line is drawn with a share of a fixed number of points, so the page stays below ChartPageLimit.
#include <algorithm>

#include "chart/chart.h"
#include "chart/chart_svg.h"
#include "chart/chart_text.h"

namespace
{

// The points drawn across all lines of the page, shared equally, and the most for one line (a
// plot is 905 pixels wide).
constexpr std::size_t PagePoints = 8000;
constexpr std::size_t LinePointsMost = 1000;
// Queries named in the title.
constexpr std::size_t TitleQueries = 6;

const char Style[] =
    "<style>body{font-family:sans-serif;margin:16px;color:#222;background:#fafafa}"
    "h1{font-size:20px}h2{font-size:16px;margin:24px 0 4px}svg{display:block;font-size:12px}"
    "svg text{fill:#444}table{border-collapse:collapse;font-size:13px;margin:4px 0 8px 80px}"
    "th,td{border:1px solid #ccc;padding:2px 8px;text-align:right}th:first-child,"
    "td:first-child{text-align:left}.ended{color:#a00;font-weight:bold}"
    ".swatch{display:inline-block;width:14px;height:4px;margin-right:6px;vertical-align:middle}"
    "</style>\n";

// A query's lines, in the order of the columns.
struct Chart {
    std::string query;
    std::vector<const ChartLine*> lines;
    bool numeric = false;
};

std::vector<Chart> ChartsOf(const ChartState& state)
{
    std::vector<Chart> charts;
    for (const ChartLine& line : state.lines) {
        auto same = [&](const Chart& c) { return c.query == line.query; };
        auto found = std::find_if(charts.begin(), charts.end(), same);
        if (found == charts.end()) {
            charts.push_back({line.query, {}, false});
            found = charts.end() - 1;
        }
        found->lines.push_back(&line);
        found->numeric = found->numeric || line.numbers > 0;
    }
    return charts;
}

std::string LineName(const ChartLine& line)
{
    return Escaped(line.instrument.empty() ? line.query : line.instrument);
}

std::string Swatch(std::size_t i)
{
    return std::string("<span class=\"swatch\" style=\"background:") +
           LineColours[i % LineColourCount] + "\"></span>";
}

std::string Legend(const Chart& chart)
{
    std::string legend = "<p class=\"legend\">";
    for (std::size_t i = 0; i < chart.lines.size(); ++i)
        legend += (i ? " &nbsp; " : "") + Swatch(i) + LineName(*chart.lines[i]);
    return legend + "</p>\n";
}

std::string Table(const Chart& chart)
{
    std::string table = "<table><tr><th>Line</th><th>Latest</th><th>Minimum</th>"
                        "<th>Maximum</th><th>Mean</th><th>Failed</th></tr>\n";
    for (std::size_t i = 0; i < chart.lines.size(); ++i) {
        const ChartLine& l = *chart.lines[i];
        bool any = l.numbers > 0;
        table += "<tr><td>" + Swatch(i) + LineName(l) + "</td><td>" + Escaped(l.latest) +
                 "</td><td>" + (any ? ValueText(l.min) : "-") + "</td><td>" +
                 (any ? ValueText(l.max) : "-") + "</td><td>" +
                 (any ? ValueText(l.sum / double(l.numbers), 6) : "-") + "</td><td>" +
                 std::to_string(l.gaps) + "</td></tr>\n";
    }
    return table + "</table>\n";
}

// "2026-12-08 14:06:26, 10 min 0 s, MEAS:VOLT?, MEAS:CURR? on PSU-1, PSU-2"
std::string RunName(const ChartState& state, const std::vector<Chart>& charts)
{
    std::string start = Escaped(state.startTime.substr(0, 19), 40);
    std::replace(start.begin(), start.end(), 'T', ' ');
    std::string name = "Tessaly run of " + (start.empty() ? "unknown start" : start) + ", " +
                       DurationText(state.lastMs - state.firstMs) + ": ";
    for (std::size_t i = 0; i < charts.size() && i < TitleQueries; ++i)
        name += (i ? ", " : "") + Escaped(charts[i].query, 40);
    if (charts.size() > TitleQueries)
        name += " and " + std::to_string(charts.size() - TitleQueries) + " more";
    std::vector<std::string> instruments;
    for (const ChartLine& line : state.lines)
        if (!line.instrument.empty() &&
            std::find(instruments.begin(), instruments.end(), line.instrument) == instruments.end())
            instruments.push_back(line.instrument);
    for (std::size_t i = 0; i < instruments.size() && i < TitleQueries; ++i)
        name += (i ? ", " : " on ") + Escaped(instruments[i], 40);
    if (instruments.size() > TitleQueries)
        name += " and " + std::to_string(instruments.size() - TitleQueries) + " more";
    return name;
}

} // namespace

std::string ChartPage(const ChartState& state, const PageInfo& info)
{
    std::vector<Chart> charts = ChartsOf(state);
    std::string name = RunName(state, charts);
    std::string page = "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">\n";
    long long refreshS = std::max(2LL, (std::max(info.intervalMs, 0LL) + 999) / 1000);
    if (!info.ended)
        page += "<meta http-equiv=\"refresh\" content=\"" + std::to_string(refreshS) + "\">\n";
    page += "<title>" + name + "</title>\n" + Style + "</head><body>\n<h1>" + name + "</h1>\n";
    page += "<p>" + std::to_string(state.rounds) + " rounds. ";
    if (info.ended)
        page +=
            "</p>\n<p class=\"ended\">The run ended: " + Escaped(info.endReason, 300) + "</p>\n";
    else
        page +=
            "The run goes on: this page reloads every " + std::to_string(refreshS) + " s.</p>\n";

    std::size_t drawn = std::max<std::size_t>(state.lines.size(), 1);
    std::size_t points = std::min(LinePointsMost, PagePoints / drawn);
    std::vector<std::string> unnumbered;
    for (const Chart& chart : charts) {
        if (!chart.numeric) {
            unnumbered.push_back(Escaped(chart.query));
            continue;
        }
        page += "<section class=\"chart\"><h2>" + Escaped(chart.query) + "</h2>\n";
        if (chart.lines.size() > 1)
            page += Legend(chart);
        page += ChartSvg(chart.lines, state, points) + Table(chart) + "</section>\n";
    }
    page += "<p><span style=\"color:" + std::string(GapColour) +
            "\">&#9650;</span> under a chart: a failed answer; the line breaks there.</p>\n";
    if (!unnumbered.empty()) {
        page += "<p class=\"unnumbered\">No number in any answer, so no chart:";
        for (const std::string& query : unnumbered)
            page += " " + query;
        page += "</p>\n";
    }
    if (state.columns > state.lines.size())
        page += "<p>" + std::to_string(state.columns - state.lines.size()) +
                " more columns are not charted: a page shows " + std::to_string(ChartMaxLines) +
                " at most.</p>\n";
    return page + "</body></html>\n";
}
