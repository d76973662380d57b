// What tessaly-cmd decides for a run on several instruments, apart from the platform: how an
// instrument is named in the CSV header and in its lines, what its cells hold while its link is
// down, what a worker does before each round, how the rounds the workers finish become rows, and
// the lines and status that losing and regaining a link give.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "cmd/cmd_plan.h"

// The header cell of one instrument's repeated query: the query as typed, after the instrument
// as typed when the run has several ("192.168.1.10:5025 MEAS:VOLT?", "COM3 MEAS:VOLT?").
std::string ColumnName(const ScriptPlan& plan, const Instrument& instrument,
                       const std::string& typed);

// What starts an instrument's answer line without --csv, and its lines on standard error, when
// the run has several: its name and a space ("COM3 120.00"), its name and a colon
// ("COM3: round 4: MEAS:VOLT?: Read Comport Failure"); "" for a run on one instrument.
std::string AnswerPrefix(const ScriptPlan& plan, const Instrument& instrument);
std::string MessagePrefix(const ScriptPlan& plan, const Instrument& instrument);

// How many cells one instrument fills in a round: the repeated steps that read an answer.
std::size_t CellsPerRound(const ScriptPlan& plan);

// The state of an instrument's link during the rounds.
enum class LinkState {
    Up,
    Down, // lost, and opened again before each later round (--reconnect)
    Lost, // lost for the rest of the run (no --reconnect)
};

// The state a link is in after it was found gone.
LinkState StateAfterLoss(const ScriptPlan& plan);

// The text in an instrument's cells for a round it could not read: LinkDownText while a link
// that will be opened again is down; without --reconnect, the failure text a query on the closed
// link gives (Eth Timeout for TCP, Read Comport Failure for a serial port).
std::string DownCellText(const ScriptPlan& plan, const Instrument& instrument);

// Whether the rounds end now that lostForGood links are lost for the rest of the run: when every
// instrument's is (so one instrument without --reconnect ends the run at its loss, as a single
// link always has). With --reconnect no link is lost for good.
bool RoundsEndWhenLost(std::size_t lostForGood, const ScriptPlan& plan);

// What a worker does before round `round` (from 0): the schedule's start (NextRound, the same
// for every instrument since all count from one start), and whether it first tries to open its
// link again.
struct WorkerMove {
    bool run;
    long long waitMs;
    long long lateMs;
    bool reopen;
};
WorkerMove NextWorkerMove(const ScriptPlan& plan, long long round, long long elapsedMs,
                          LinkState link);

// One instrument's part of a round: when it started (local time text, and milliseconds since the
// run's first round), its cells, and its answer lines for a run without --csv.
struct RoundPart {
    std::string time;
    long long elapsedMs = 0;
    std::vector<std::string> cells;
    std::string plain;
};

// The rounds the workers have finished and the writer has not yet written, per instrument, and
// which workers have ended their rounds. The writer alone takes rows out of it; the workers put
// their parts in (under a lock of the caller's). FinishPart and EndRounds say whether the writer
// now has a row or the end to take: only then need it be woken, once a round, not once per
// instrument.
struct RoundTable {
    std::vector<std::deque<RoundPart>> parts;
    std::vector<bool> ended;
};
void StartTable(RoundTable& table, std::size_t instruments);
bool FinishPart(RoundTable& table, std::size_t instrument, RoundPart part);
bool EndRounds(RoundTable& table, std::size_t instrument);

// A row that the table holds once every instrument has finished the next round or ended its
// rounds: the time and elapsed seconds of the instrument that started it first, the cells in the
// instruments' order (empty cells for one that ended before it), and the answer lines. ready is
// false while an instrument is still at the round; over is true when every instrument has ended
// and nothing is left to write.
struct TableRow {
    bool ready = false;
    bool over = false;
    std::vector<std::string> fields;
    long long elapsedMs = 0; // the second field, as milliseconds
    std::string plain;
};
TableRow TakeRow(RoundTable& table, const ScriptPlan& plan);

// The lines on standard error when an instrument's link was lost in round `round` (from 0) and
// when it was opened again before it, with the local time; why is the failure that told it.
std::string LinkLostText(const ScriptPlan& plan, const Instrument& instrument, long long round,
                         const std::string& time, const std::string& why);
std::string LinkBackText(const ScriptPlan& plan, const Instrument& instrument, long long round,
                         const std::string& time);

// The run's status from the instruments' statuses, in their order: the first that is not
// ExitDone, or ExitDone.
int FirstFailure(const std::vector<int>& statuses);

// The exit status once the --finally commands have run: the run's own, but that a failed
// --finally command turns a success into ExitCommandFailed.
int StatusWithFinally(int runStatus, bool finallyFailed);
