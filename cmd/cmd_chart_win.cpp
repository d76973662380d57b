// Writing the chart page for tessaly-cmd: after the rows of a logging run, at most once a second,
// and once more at its end; or once from a CSV. The page replaces the old one whole
// (WriteChartPage), so a browser that reloads it never reads half a page.
#include "cmd/cmd_chart_win.h"

#include "chart/chart_file.h"
#include "cmd/cmd_chart.h"
#include "cmd/cmd_output_win.h"

namespace
{

void WritePage(RunChart& chart, const ScriptPlan& plan, const PageInfo& info)
{
    chart.writtenTick = GetTickCount();
    chart.written = true;
    if (WriteChartPage(plan.chartPath, ChartPage(chart.state, info)) || chart.failureTold)
        return;
    chart.failureTold = true;
    WriteLine(stderr, "--chart " + plan.chartPath + ": the page could not be written (error " +
                          std::to_string(GetLastError()) + "); the run goes on");
}

void Begin(RunChart& chart, const ScriptPlan& plan, const std::string& startTime)
{
    chart.state = NewChart(ChartColumnsOf(plan), startTime);
    chart.begun = true;
}

} // namespace

void ChartRow(RunChart& chart, const ScriptPlan& plan, const std::vector<std::string>& fields,
              long long elapsedMs)
{
    if (plan.chartPath.empty() || fields.size() < 2)
        return;
    if (!chart.begun)
        Begin(chart, plan, fields[0]);
    AddRound(chart.state, elapsedMs, std::vector<std::string>(fields.begin() + 2, fields.end()));
    if (chart.written && !ChartPageDue(plan.intervalMs, GetTickCount() - chart.writtenTick))
        return;
    PageInfo info;
    info.intervalMs = plan.intervalMs;
    WritePage(chart, plan, info);
}

void EndChart(RunChart& chart, const ScriptPlan& plan, const std::string& reason)
{
    if (plan.chartPath.empty())
        return;
    if (!chart.begun)
        Begin(chart, plan, "");
    PageInfo info;
    info.intervalMs = plan.intervalMs;
    info.ended = true;
    info.endReason = reason;
    WritePage(chart, plan, info);
}

int DrawChartFromCsv(const ScriptPlan& plan)
{
    HANDLE file =
        CreateFileA(plan.csvPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        WriteLine(stderr, plan.csvPath + ": the file could not be opened (error " +
                              std::to_string(GetLastError()) + ")");
        return ExitCommandFailed;
    }
    std::string text;
    char buffer[65536];
    DWORD got = 0;
    bool read = true;
    while ((read = ReadFile(file, buffer, sizeof buffer, &got, nullptr) != 0) && got > 0)
        text.append(buffer, got);
    CloseHandle(file);
    ChartState state;
    std::string error;
    if (!read) {
        WriteLine(stderr, plan.csvPath + ": the file could not be read");
        return ExitCommandFailed;
    }
    if (!ChartFromCsv(text, state, error)) {
        WriteLine(stderr, plan.csvPath + ": not a CSV that tessaly-cmd wrote: " + error);
        return ExitCommandFailed;
    }
    PageInfo info;
    info.ended = true;
    info.endReason = "the page was drawn from " + plan.csvPath + " after the run.";
    if (WriteChartPage(plan.chartPath, ChartPage(state, info)))
        return ExitDone;
    WriteLine(stderr, plan.chartPath + ": the page could not be written (error " +
                          std::to_string(GetLastError()) + ")");
    return ExitOutputLost;
}
