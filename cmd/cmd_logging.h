// What tessaly-cmd decides for a logging run, apart from the platform: the CSV it writes (header,
// rows, quoting), the time texts of a row, when each round starts on the steady schedule, and
// the run's exit status. The console program supplies the clock and the waiting.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cmd/cmd_plan.h"

// One field as RFC 4180 writes it: between double quotes, its quotes doubled, when it holds a
// comma, a quote, a carriage return or a line feed; as it is otherwise, so a number stays a
// number to a spreadsheet.
std::string CsvField(const std::string& text);
// The fields of one record, separated by commas and ended by CR LF.
std::string CsvRecord(const std::vector<std::string>& fields);

// The header: time, elapsed_s, and for each instrument in turn each repeated step that reads an
// answer, named by ColumnName.
std::string CsvHeader(const ScriptPlan& plan);

// A local time as the system clock gives it, and its ISO 8601 text with milliseconds
// ("2024-03-05T08:07:06.042").
struct LocalTime {
    int year, month, day, hour, minute, second, millisecond;
};
std::string IsoTime(const LocalTime& time);

// Milliseconds as seconds with three decimals ("12.045").
std::string SecondsText(long long ms);

// The schedule's clock: the system's 32-bit millisecond tick, which wraps to 0 after 49.7 days,
// extended to 64 bits. last is the latest reading and wraps the number of wraps before it.
struct TickClock {
    std::uint32_t last = 0;
    std::uint32_t wraps = 0;
};

// Milliseconds on the extended clock for a new reading of the tick. A reading below the last one
// is taken as a wrap, so the clock must be read at least once in every 49.7 days (a round reads
// it at its start, and its interval is at most 11.6 days).
long long ExtendedTick(TickClock& clock, std::uint32_t tick);

// When the next round starts. Round k (from 0) is due k intervals after the first round's start;
// elapsedMs is the monotonic time since then. A round whose due time has passed starts at once and
// is late by the difference. run is false when the run is over: count rounds done, or the
// duration passed (measured from the first round's start).
struct RoundStart {
    bool run;
    long long waitMs;
    long long lateMs;
};
RoundStart NextRound(const ScriptPlan& plan, long long round, long long elapsedMs);

// The line on standard error for a late round (round counted from 0, told from 1).
std::string LateText(const ScriptPlan& plan, long long round, long long lateMs);

// The line on standard error for a step of a round that failed, naming the round (from 1).
std::string RoundFailureText(long long round, const std::string& message);

// The exit status of a logging run's rounds: a lost output first (the run stopped there), then a
// lost link (it ended the run), then any failed step (the run went on). Ctrl+C, which ends the
// rounds, is no failure.
int RoundsStatus(bool anyStepFailed, bool linkLost, bool outputLost);
