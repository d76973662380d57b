// The chart page's rules for tessaly-cmd: which columns become lines, how often the page is
// written, what its last version says about the end of the run.
#include "cmd/cmd_chart.h"

#include "cmd/cmd_rules.h"

std::vector<ChartColumn> ChartColumnsOf(const ScriptPlan& plan)
{
    std::vector<ChartColumn> columns;
    for (const Instrument& instrument : plan.instruments) {
        for (std::size_t i = plan.firstRepeated; i < plan.steps.size(); ++i) {
            const ScriptStep& step = plan.steps[i];
            if (step.row != nullptr && ReadsAnswer(*step.row))
                columns.push_back({plan.instruments.size() > 1 ? instrument.name : "", step.typed});
        }
    }
    return columns;
}

bool ChartPageDue(long long intervalMs, long long sinceWrittenMs)
{
    return intervalMs >= 1000 || sinceWrittenMs >= 1000;
}

std::string ChartEndReason(int status, bool stopAsked, const ScriptPlan& plan)
{
    if (status == ExitOutputLost)
        return "the output could not be written.";
    if (status == ExitLinkNotOpened)
        return plan.instruments.size() > 1 ? "every link was lost." : "the link was lost.";
    if (stopAsked)
        return "stopped by Ctrl+C or Ctrl+Break.";
    if (plan.count > 0 && plan.durationMs > 0)
        return "its count of rounds or its duration was reached.";
    return plan.durationMs > 0 ? "its duration was reached." : "its count of rounds was reached.";
}

std::string ChartPagePathFor(const std::string& csvPath)
{
    std::size_t dot = csvPath.find_last_of('.');
    std::size_t slash = csvPath.find_last_of("/\\");
    bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? csvPath.substr(0, dot) : csvPath) + ".html";
}
