// What tessaly-cmd decides about the chart page of a logging run, apart from the platform: the
// lines a run charts, when the page is written again, why the run ended as the page says it, and
// where `tessaly-cmd chart RUN.csv` puts the page it draws.
#pragma once

#include <string>
#include <vector>

#include "chart/chart.h"
#include "cmd/cmd_plan.h"

// The run's charted columns in CSV order: each instrument's repeated queries, named as typed; the
// instrument is "" when the run has one.
std::vector<ChartColumn> ChartColumnsOf(const ScriptPlan& plan);

// Whether the page is written again after a round: after every round when rounds are a second or
// more apart, else at most once a second, sinceWrittenMs after it was last written.
bool ChartPageDue(long long intervalMs, long long sinceWrittenMs);

// The words after "The run ended: " on the last page, for the run's exit status before --finally.
std::string ChartEndReason(int status, bool stopAsked, const ScriptPlan& plan);

// `tessaly-cmd chart RUN.csv` without a page name: RUN.html beside it.
std::string ChartPagePathFor(const std::string& csvPath);
