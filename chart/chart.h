// The live chart of a logging run, apart from the platform: the state that keeps each line's
// curve small however long the run goes on, the self-contained HTML page drawn from it, and the
// reader that rebuilds the state from a CSV that tessaly-cmd wrote earlier.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// A line keeps at most this many buckets; when they are full, neighbours merge pairwise.
constexpr std::size_t ChartMaxBuckets = 2000;
// A state keeps at most this many lines (columns); later columns are counted, not charted.
constexpr std::size_t ChartMaxLines = 64;
// The page never reaches this size, whatever the run's length and its texts.
constexpr std::size_t ChartPageLimit = 1000000;

// The cells of one stretch of a line, in order: numbers give the minimum, maximum and sum;
// gaps counts the failed (non-numeric) cells among them.
struct ChartBucket {
    long long firstMs = 0, lastMs = 0;
    double min = 0, max = 0, sum = 0;
    long long numbers = 0, gaps = 0;
};

// One instrument's answers to one repeated query.
struct ChartLine {
    std::string instrument; // "" when the run has one instrument
    std::string query;
    std::vector<ChartBucket> buckets;
    long long perBucket = 1; // cells a bucket takes before the next one begins
    long long numbers = 0, gaps = 0;
    double min = 0, max = 0, sum = 0;
    std::string latest; // the latest answer as given, trimmed
};

// A column of the run: which instrument, which query.
struct ChartColumn {
    std::string instrument;
    std::string query;
};

struct ChartState {
    std::vector<ChartLine> lines;
    std::size_t columns = 0; // all the run's columns, charted or not
    std::string startTime;   // the first round's local time, ISO 8601 ("2026-12-08T14:06:26.514")
    long long rounds = 0;
    long long firstMs = 0, lastMs = 0; // elapsed time of the first and the latest round
};

// What the page says beyond the data: the round interval (the reload period while running),
// and whether the run has ended and why.
struct PageInfo {
    long long intervalMs = 2000;
    bool ended = false;
    std::string endReason;
};

// The instrument and the query a CSV header cell names: a run on several instruments names each
// column "INSTRUMENT QUERY" (COM3, USB4 or HOST:PORT, a space, the query as typed); a run on one
// names it by the query alone.
ChartColumn SplitColumnName(const std::string& header);

// A state for a run with these columns, starting at startTime.
ChartState NewChart(const std::vector<ChartColumn>& columns, const std::string& startTime);

// One round: its elapsed time and its cells in column order (a missing cell counts as failed).
void AddRound(ChartState& state, long long elapsedMs, const std::vector<std::string>& cells);

// The number an answer holds when the whole answer is one ("120.00", "-1.5E-3", "+2.500"; spaces,
// CR and LF around it are ignored). Anything else (a failure text, "link down") is no number.
bool AnswerNumber(const std::string& answer, double& value);

// The bytes the state holds, for the benchmark: fixed by ChartMaxBuckets per line.
std::size_t ChartStateBytes(const ChartState& state);

// The whole HTML page: a heading and one chart per query with a number, each with a table of its
// lines. Self-contained (inline SVG and style, nothing fetched), below ChartPageLimit bytes.
std::string ChartPage(const ChartState& state, const PageInfo& info);

// Rebuilds the state from the text of a tessaly-cmd CSV. On a text that is no such CSV, false,
// with error naming the line, and the state left empty.
bool ChartFromCsv(const std::string& csvText, ChartState& state, std::string& error);
