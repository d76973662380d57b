// A logging run's decisions: CSV quoting and records, time texts, the clock and the steady
// schedule of rounds, and the run's exit status.
#include "cmd/cmd_logging.h"

#include "cmd/cmd_instruments.h"
#include "cmd/cmd_rules.h"

namespace
{

// The number with at least width digits, zeros in front.
std::string Padded(long long number, std::size_t width)
{
    std::string digits = std::to_string(number);
    return std::string(width > digits.size() ? width - digits.size() : 0, '0') + digits;
}

} // namespace

std::string CsvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string CsvRecord(const std::vector<std::string>& fields)
{
    std::string record;
    for (std::size_t i = 0; i < fields.size(); ++i)
        record += (i == 0 ? "" : ",") + CsvField(fields[i]);
    return record + "\r\n";
}

std::string CsvHeader(const ScriptPlan& plan)
{
    std::vector<std::string> names = {"time", "elapsed_s"};
    for (const Instrument& instrument : plan.instruments) {
        for (std::size_t i = plan.firstRepeated; i < plan.steps.size(); ++i) {
            const ScriptStep& step = plan.steps[i];
            if (step.row != nullptr && ReadsAnswer(*step.row))
                names.push_back(ColumnName(plan, instrument, step.typed));
        }
    }
    return CsvRecord(names);
}

std::string IsoTime(const LocalTime& t)
{
    return Padded(t.year, 4) + "-" + Padded(t.month, 2) + "-" + Padded(t.day, 2) + "T" +
           Padded(t.hour, 2) + ":" + Padded(t.minute, 2) + ":" + Padded(t.second, 2) + "." +
           Padded(t.millisecond, 3);
}

std::string SecondsText(long long ms)
{
    return std::to_string(ms / 1000) + "." + Padded(ms % 1000, 3);
}

long long ExtendedTick(TickClock& clock, std::uint32_t tick)
{
    if (tick < clock.last)
        ++clock.wraps;
    clock.last = tick;
    return (static_cast<long long>(clock.wraps) << 32) + tick;
}

RoundStart NextRound(const ScriptPlan& plan, long long round, long long elapsedMs)
{
    long long dueMs = round * plan.intervalMs;
    bool counted = plan.count > 0 && round >= plan.count;
    bool timeUp = plan.durationMs > 0 && round > 0 &&
                  (dueMs >= plan.durationMs || elapsedMs >= plan.durationMs);
    if (counted || timeUp)
        return {false, 0, 0};
    // The first round starts the schedule: no round came before it to make it late.
    if (round == 0)
        return {true, 0, 0};
    if (elapsedMs < dueMs)
        return {true, dueMs - elapsedMs, 0};
    return {true, 0, elapsedMs - dueMs};
}

std::string LateText(const ScriptPlan& plan, long long round, long long lateMs)
{
    return "round " + std::to_string(round + 1) + " started " + SecondsText(lateMs) +
           " s late: the round before took longer than the interval of " +
           SecondsText(plan.intervalMs) + " s";
}

std::string RoundFailureText(long long round, const std::string& message)
{
    return "round " + std::to_string(round + 1) + ": " + message;
}

int RoundsStatus(bool anyStepFailed, bool linkLost, bool outputLost)
{
    if (outputLost)
        return ExitOutputLost;
    if (linkLost)
        return ExitLinkNotOpened;
    return anyStepFailed ? ExitCommandFailed : ExitDone;
}
