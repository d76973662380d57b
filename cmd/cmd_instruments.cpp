// A run on several instruments: the names in the header and the lines, the cells of a link that
// is down, each worker's move before a round, the rows made of the workers' finished rounds, and
// the lines and statuses of lost and regained links.
#include "cmd/cmd_instruments.h"

#include "cmd/cmd_logging.h"
#include "cmd/cmd_rules.h"
#include "link/link.h"

std::string ColumnName(const ScriptPlan& plan, const Instrument& instrument,
                       const std::string& typed)
{
    return plan.instruments.size() > 1 ? instrument.name + " " + typed : typed;
}

std::string AnswerPrefix(const ScriptPlan& plan, const Instrument& instrument)
{
    return plan.instruments.size() > 1 ? instrument.name + " " : "";
}

std::string MessagePrefix(const ScriptPlan& plan, const Instrument& instrument)
{
    return plan.instruments.size() > 1 ? instrument.name + ": " : "";
}

std::size_t CellsPerRound(const ScriptPlan& plan)
{
    std::size_t cells = 0;
    for (std::size_t i = plan.firstRepeated; i < plan.steps.size(); ++i)
        cells += plan.steps[i].row != nullptr && ReadsAnswer(*plan.steps[i].row) ? 1 : 0;
    return cells;
}

LinkState StateAfterLoss(const ScriptPlan& plan)
{
    return plan.reconnect ? LinkState::Down : LinkState::Lost;
}

std::string DownCellText(const ScriptPlan& plan, const Instrument& instrument)
{
    if (plan.reconnect)
        return LinkDownText;
    return instrument.link == ScriptLink::Tcp ? EthTimeoutText : ReadFailureText;
}

bool RoundsEndWhenLost(std::size_t lostForGood, const ScriptPlan& plan)
{
    return !plan.reconnect && lostForGood >= plan.instruments.size();
}

WorkerMove NextWorkerMove(const ScriptPlan& plan, long long round, long long elapsedMs,
                          LinkState link)
{
    RoundStart start = NextRound(plan, round, elapsedMs);
    return {start.run, start.waitMs, start.lateMs, start.run && link == LinkState::Down};
}

void StartTable(RoundTable& table, std::size_t instruments)
{
    table.parts.assign(instruments, {});
    table.ended.assign(instruments, false);
}

namespace
{

// Whether TakeRow has something for the writer: a row, or the end.
bool WriterHasWork(const RoundTable& table)
{
    for (std::size_t i = 0; i < table.parts.size(); ++i) {
        if (table.parts[i].empty() && !table.ended[i])
            return false;
    }
    return true;
}

} // namespace

bool FinishPart(RoundTable& table, std::size_t instrument, RoundPart part)
{
    table.parts[instrument].push_back(std::move(part));
    return WriterHasWork(table);
}

bool EndRounds(RoundTable& table, std::size_t instrument)
{
    table.ended[instrument] = true;
    return WriterHasWork(table);
}

TableRow TakeRow(RoundTable& table, const ScriptPlan& plan)
{
    TableRow row;
    const RoundPart* first = nullptr;
    bool anyPart = false;
    for (std::size_t i = 0; i < table.parts.size(); ++i) {
        if (table.parts[i].empty() && !table.ended[i])
            return row; // still at the round
        if (table.parts[i].empty())
            continue;
        const RoundPart& part = table.parts[i].front();
        if (first == nullptr || part.elapsedMs < first->elapsedMs)
            first = &part;
        anyPart = true;
    }
    if (!anyPart) {
        row.over = true;
        return row;
    }
    row.ready = true;
    row.fields = {first->time, SecondsText(first->elapsedMs)};
    row.elapsedMs = first->elapsedMs;
    for (std::size_t i = 0; i < table.parts.size(); ++i) {
        if (table.parts[i].empty()) {
            row.fields.resize(row.fields.size() + CellsPerRound(plan));
            continue;
        }
        const RoundPart& part = table.parts[i].front();
        row.fields.insert(row.fields.end(), part.cells.begin(), part.cells.end());
        row.plain += part.plain;
    }
    for (std::deque<RoundPart>& parts : table.parts) {
        if (!parts.empty())
            parts.pop_front();
    }
    return row;
}

std::string LinkLostText(const ScriptPlan&, const Instrument& instrument, long long round,
                         const std::string& time, const std::string& why)
{
    return instrument.name + ": the link was lost in round " + std::to_string(round + 1) + " at " +
           time + (why.empty() ? "" : " (" + why + ")");
}

std::string LinkBackText(const ScriptPlan&, const Instrument& instrument, long long round,
                         const std::string& time)
{
    return instrument.name + ": the link came back before round " + std::to_string(round + 1) +
           " at " + time;
}

int FirstFailure(const std::vector<int>& statuses)
{
    for (int status : statuses) {
        if (status != ExitDone)
            return status;
    }
    return ExitDone;
}

int StatusWithFinally(int runStatus, bool finallyFailed)
{
    return runStatus == ExitDone && finallyFailed ? ExitCommandFailed : runStatus;
}
