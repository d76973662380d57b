// One instrument's worker thread: opens its link, runs the once-commands, then the rounds on the
// run's common schedule, putting each finished round into the table for the main thread to write;
// a lost link is told, and with --reconnect opened again before each later round; at the end the
// --finally commands, and the link is let go. Everything it clicks works this thread's own state
// record, so a slow or silent instrument holds up no other.
#include "cmd/cmd_worker_win.h"

#include <windows.h>

#include <string>
#include <vector>

#include "cmd/cmd_logging.h"
#include "cmd/cmd_output_win.h"
#include "cmd/cmd_rules.h"
#include "cmd/console_state.h"
#include "link/link.h"
#include "link/link_rules.h"
#include "panels/transaction.h"

long long NowMs()
{
    EnterCriticalSection(&console.clockLock);
    long long ms = ExtendedTick(console.clock, GetTickCount());
    LeaveCriticalSection(&console.clockLock);
    return ms;
}

std::string LocalTimeNow()
{
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return IsoTime({t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds});
}

bool Hold(long long ms)
{
    if (console.stopEvent == nullptr) {
        Sleep(static_cast<DWORD>(ms));
        return !console.roundsOver;
    }
    return WaitForSingleObject(console.stopEvent, static_cast<DWORD>(ms)) == WAIT_TIMEOUT;
}

void EndAllRounds()
{
    console.roundsOver = true;
    if (console.stopEvent != nullptr)
        SetEvent(console.stopEvent);
}

namespace
{

// One click; its verdict, and the answer (or what stands in its place) for a row that reads one.
StepVerdict Click(const ScriptStep& step, std::string& answer)
{
    clicking.clickedStep = &step;
    clicking.statusBoxShown = false;
    clicking.statusText.clear();
    clicking.newestEntry.clear();
    int connectedBefore = app.connected;
    ClearCommandBuffers(); // as the main window does around every click
    RunCommand(*step.row);
    answer = AnswerLine(AnswerText());
    StepVerdict verdict =
        JudgeStep(*step.row, clicking.newestEntry, AnswerText(), clicking.statusBoxShown,
                  connectedBefore == 1 && app.connected == 0);
    ClearCommandBuffers();
    LogOf(PanelOf(*step.row)).clear(); // each entry has been shown; the log need not grow
    clicking.clickedStep = nullptr;
    return verdict;
}

bool OpenInstrument(const Instrument& instrument)
{
    return OpenLink(LinkKindOf(instrument.link),
                    {instrument.portIndex, instrument.baudIndex, instrument.host.c_str(),
                     instrument.port.c_str()});
}

// Whether the click just made found the link gone: the link rules let it go (a failed send, a
// serial port that left), or the instrument closed the connection, which the TCP link only marks
// (app.peerClosed).
// Such a link is let go here, so that it can be opened again: a teardown whose shutdown failed
// closes the socket but leaves the flags, and a second one, finding the socket closed, lets go.
bool LinkFoundGone()
{
    bool gone = app.peerClosed != 0 || app.connected == 0 ||
                (app.linkIsTcp == 1 && app.tcpSocket == INVALID_SOCKET);
    for (int i = 0; i < 2 && gone && app.connected == 1; ++i)
        ActOnLink(LinkAction::Teardown);
    return gone;
}

// A command that runs once: the run stops at its failure. In a CSV run its answer has no column
// and goes to standard error.
int RunOnce(const ScriptPlan& plan, const ScriptStep& step)
{
    if (step.row == nullptr)
        return Hold(step.waitMs) ? ExitDone : ExitStopped;
    std::string answer;
    StepVerdict verdict = Click(step, answer);
    if (verdict.status == ExitDone && ReadsAnswer(*step.row) && plan.csv)
        WriteLine(stderr, clicking.messagePrefix + step.typed + ": " + answer);
    else if (verdict.status == ExitDone && ReadsAnswer(*step.row) && !console.printLog)
        WriteLine(stdout, clicking.answerPrefix + answer);
    if (!verdict.message.empty())
        WriteLine(stderr, clicking.messagePrefix + verdict.message);
    return StatusAfter(verdict.status, console.outputLost, console.stopAsked);
}

int RunOnceSteps(const ScriptPlan& plan)
{
    int status = StatusAfter(ExitDone, false, console.stopAsked);
    for (std::size_t i = 0; i < plan.firstRepeated && status == ExitDone; ++i)
        status = RunOnce(plan, plan.steps[i]);
    return status;
}

// The link was found gone in round `round`: told, and either down until it opens again or, without
// --reconnect, lost for the rest of the run, which ends once every link is.
void TellLoss(Worker& worker, long long round, LinkState& link)
{
    Crew& crew = *worker.crew;
    const ScriptPlan& plan = *crew.plan;
    WriteLine(stderr, LinkLostText(plan, plan.instruments[worker.index], round, LocalTimeNow(),
                                   clicking.statusText));
    link = StateAfterLoss(plan);
    if (link != LinkState::Lost)
        return;
    worker.lostForGood = true;
    if (RoundsEndWhenLost(++crew.lostForGood, plan))
        EndAllRounds();
}

// One round on this instrument; false when a --wait among its commands was cut short, which
// leaves the round out.
bool RunRound(Worker& worker, long long round, LinkState& link, RoundPart& part)
{
    const ScriptPlan& plan = *worker.crew->plan;
    const Instrument& instrument = plan.instruments[worker.index];
    for (std::size_t i = plan.firstRepeated; i < plan.steps.size(); ++i) {
        const ScriptStep& step = plan.steps[i];
        // A settling time: the round needs it whole, so the run's end during it leaves it out.
        if (step.row == nullptr) {
            if (link == LinkState::Up && !Hold(step.waitMs))
                return false;
            continue;
        }
        bool reads = ReadsAnswer(*step.row);
        if (link != LinkState::Up) {
            if (reads)
                part.cells.push_back(DownCellText(plan, instrument));
            worker.anyFailed = true;
            continue;
        }
        std::string answer;
        clicking.collected = &part.plain; // a --log entry
        StepVerdict verdict = Click(step, answer);
        clicking.collected = nullptr;
        if (verdict.status != ExitDone)
            WriteLine(stderr, clicking.messagePrefix + RoundFailureText(round, verdict.message));
        worker.anyFailed = worker.anyFailed || verdict.status != ExitDone;
        if (LinkFoundGone())
            TellLoss(worker, round, link);
        if (reads)
            part.cells.push_back(answer);
        if (reads && !console.printLog)
            part.plain += clicking.answerPrefix + answer + "\r\n";
    }
    return true;
}

// The rounds, on the schedule every worker shares, until the plan says or the rounds are over.
void RunRounds(Worker& worker)
{
    Crew& crew = *worker.crew;
    const ScriptPlan& plan = *crew.plan;
    const Instrument& instrument = plan.instruments[worker.index];
    LinkState link = LinkState::Up;
    for (long long round = 0; !console.roundsOver; ++round) {
        WorkerMove move = NextWorkerMove(plan, round, NowMs() - crew.startMs, link);
        if (!move.run)
            break;
        if (move.lateMs > 0)
            WriteLine(stderr, clicking.messagePrefix + LateText(plan, round, move.lateMs));
        if (move.waitMs > 0 && !Hold(move.waitMs))
            break;
        if (move.reopen && OpenInstrument(instrument)) {
            link = LinkState::Up;
            WriteLine(stderr, LinkBackText(plan, instrument, round, LocalTimeNow()));
        }
        RoundPart part;
        part.time = LocalTimeNow();
        part.elapsedMs = NowMs() - crew.startMs;
        if (!RunRound(worker, round, link, part))
            break;
        EnterCriticalSection(&crew.tableLock);
        bool rowDone = FinishPart(crew.table, worker.index, std::move(part));
        LeaveCriticalSection(&crew.tableLock);
        if (rowDone)
            SetEvent(crew.progress);
    }
    EnterCriticalSection(&crew.tableLock);
    bool rowDone = EndRounds(crew.table, worker.index);
    LeaveCriticalSection(&crew.tableLock);
    if (rowDone)
        SetEvent(crew.progress);
}

// The --finally commands, whatever ended the run; with --reconnect a link that is down is tried
// once more for them. Their answers go to standard error. Nothing here waits on the stop event,
// so a second Ctrl+C does not cut them short; the link's own time-outs bound them.
void RunFinally(Worker& worker)
{
    const ScriptPlan& plan = *worker.crew->plan;
    const Instrument& instrument = plan.instruments[worker.index];
    if (plan.finallySteps.empty())
        return;
    if (app.connected == 0 && plan.reconnect && OpenInstrument(instrument))
        WriteLine(stderr, instrument.name + ": the link came back for --finally");
    if (app.connected == 0) {
        WriteLine(stderr, instrument.name + ": the link is down; --finally was not sent");
        worker.finallyFailed = true;
        return;
    }
    for (const ScriptStep& step : plan.finallySteps) {
        if (step.row == nullptr) {
            Sleep(static_cast<DWORD>(step.waitMs));
            continue;
        }
        std::string answer;
        StepVerdict verdict = Click(step, answer);
        if (verdict.status == ExitDone && ReadsAnswer(*step.row))
            WriteLine(stderr, clicking.messagePrefix + step.typed + ": " + answer);
        if (!verdict.message.empty())
            WriteLine(stderr, clicking.messagePrefix + verdict.message);
        worker.finallyFailed = worker.finallyFailed || verdict.status != ExitDone;
        LinkFoundGone();
    }
}

} // namespace

unsigned __stdcall WorkerMain(void* parameter)
{
    Worker& worker = *static_cast<Worker*>(parameter);
    Crew& crew = *worker.crew;
    const ScriptPlan& plan = *crew.plan;
    const Instrument& instrument = plan.instruments[worker.index];
    clicking.answerPrefix = AnswerPrefix(plan, instrument);
    clicking.messagePrefix = MessagePrefix(plan, instrument);
    bool opened = OpenInstrument(instrument);
    if (!opened && !app.linkFailure.empty())
        WriteLine(stderr, clicking.messagePrefix + app.linkFailure);
    worker.status = opened ? ExitDone : ExitLinkNotOpened;
    SetEvent(worker.phaseDone);

    WaitForSingleObject(crew.goOnce, INFINITE);
    if (!crew.abandon) {
        worker.status = RunOnceSteps(plan);
        SetEvent(worker.phaseDone);
        WaitForSingleObject(crew.goRounds, INFINITE);
        if (crew.rounds)
            RunRounds(worker);
        RunFinally(worker);
    }
    ActOnLink(LinkAction::Teardown);
    return 0;
}
