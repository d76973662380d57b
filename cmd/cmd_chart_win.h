// tessaly-cmd's chart page: kept up to date as a logging run's rows are written (--chart), and
// drawn from a CSV written earlier (`tessaly-cmd chart`).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "chart/chart.h"
#include "cmd/cmd_plan.h"

// The page of one run: its chart, begun at the first row, and when the page was last written.
struct RunChart {
    bool begun = false;
    ChartState state;
    DWORD writtenTick = 0;
    bool written = false;
    bool failureTold = false; // a page that could not be written is told once
};

// One row as the CSV has it (time, elapsed_s, cells) and its elapsed time; the page is written
// again when it is due.
void ChartRow(RunChart& chart, const ScriptPlan& plan, const std::vector<std::string>& fields,
              long long elapsedMs);
// The last page: no more reloading, and why the run ended.
void EndChart(RunChart& chart, const ScriptPlan& plan, const std::string& reason);

// `tessaly-cmd chart RUN.csv [PAGE.html]`: the exit status.
int DrawChartFromCsv(const ScriptPlan& plan);
