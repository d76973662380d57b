// The run of one tessaly-cmd command line: every command checked first, then one worker thread
// per instrument (cmd_worker_win.cpp) opens its link and clicks the commands; the main thread
// keeps them in step where the run needs it, writes each round's row once every instrument has
// finished that round, and waits for the --finally commands and the links' end; and the
// discovery.
#include "cmd/cmd_run_win.h"

#include <process.h>
#include <windows.h>

#include <string>
#include <vector>

#include "cmd/cmd_args.h"
#include "cmd/cmd_chart.h"
#include "cmd/cmd_chart_win.h"
#include "cmd/cmd_instruments.h"
#include "cmd/cmd_logging.h"
#include "cmd/cmd_output_win.h"
#include "cmd/cmd_rules.h"
#include "cmd/cmd_worker_win.h"
#include "cmd/console_state.h"
#include "link/discovery.h"
#include "link/link.h"
#include "link/link_rules.h"
#include "panels/transaction.h"

namespace
{

// How long the handler of a closed console waits for the --finally commands and the links' end.
// The system ends the process some 5 seconds after the signal, whatever the handler does.
constexpr DWORD CloseGraceMs = 4500;

// Ctrl+C and Ctrl+Break ask the run to stop between commands; the command on the link completes,
// and the --finally commands still run. A closed console asks the same, and the handler then
// holds the system's end of the process until the run has ended, within the time it is given.
// Other signals (log-off, shut-down, which reach services only) go on to the default handler.
BOOL WINAPI OnConsoleControl(DWORD signal)
{
    if (signal != CTRL_C_EVENT && signal != CTRL_BREAK_EVENT && signal != CTRL_CLOSE_EVENT)
        return FALSE;
    console.stopAsked = true;
    EndAllRounds();
    if (signal == CTRL_CLOSE_EVENT && console.runEnded != nullptr)
        WaitForSingleObject(console.runEnded, CloseGraceMs);
    return TRUE;
}

// Every command clicked once with the link left out, before any link opens: the first refusal,
// or "" when every command would be sent. A query has no answer then, which is no refusal.
std::string FirstRefusal(const ScriptPlan& plan)
{
    app.linkLeftOut = true;
    std::string refusal;
    for (const std::vector<ScriptStep>* steps : {&plan.steps, &plan.finallySteps}) {
        for (const ScriptStep& step : *steps) {
            if (step.row == nullptr || !refusal.empty())
                continue;
            clicking.clickedStep = &step;
            clicking.newestEntry.clear();
            ClearCommandBuffers();
            RunCommand(*step.row);
            if (app.refused)
                refusal = JudgeStep(*step.row, clicking.newestEntry, "", false, false).message;
            app.refused = false;
            LogOf(PanelOf(*step.row)).clear();
            clicking.clickedStep = nullptr;
        }
    }
    app.linkLeftOut = false;
    return refusal;
}

// Waits for every worker to end the phase it is in; their statuses, in the instruments' order.
std::vector<int> PhaseStatuses(Crew& crew)
{
    std::vector<int> statuses;
    for (Worker& worker : crew.workers) {
        WaitForSingleObject(worker.phaseDone, INFINITE);
        statuses.push_back(worker.status);
    }
    return statuses;
}

// Writes each round's row once every instrument has finished it, until every worker has ended
// its rounds; the number of rows written.
long long WriteRows(Crew& crew, RunChart& chart)
{
    const ScriptPlan& plan = *crew.plan;
    long long rows = 0;
    for (;;) {
        EnterCriticalSection(&crew.tableLock);
        TableRow row = TakeRow(crew.table, plan);
        LeaveCriticalSection(&crew.tableLock);
        if (row.over)
            return rows;
        if (!row.ready) {
            WaitForSingleObject(crew.progress, INFINITE);
            continue;
        }
        if (!console.outputLost)
            Write(stdout, plan.csv ? CsvRecord(row.fields) : row.plain);
        ChartRow(chart, plan, row.fields, row.elapsedMs);
        ++rows;
        if (console.outputLost)
            EndAllRounds();
    }
}

// Each worker's thread, started with the events and the table it needs; false when a thread could
// not be made (the ones made are then ended through the abandon flag).
bool StartWorkers(Crew& crew)
{
    StartTable(crew.table, crew.plan->instruments.size());
    crew.workers.resize(crew.plan->instruments.size());
    for (std::size_t i = 0; i < crew.workers.size(); ++i) {
        Worker& worker = crew.workers[i];
        worker.crew = &crew;
        worker.index = i;
        worker.phaseDone = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        unsigned id = 0;
        worker.thread =
            reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, WorkerMain, &worker, 0, &id));
        if (worker.thread == nullptr || worker.phaseDone == nullptr)
            return false;
    }
    return true;
}

// Waits for every worker's end and lets go of the threads and events.
void EndWorkers(Crew& crew)
{
    for (Worker& worker : crew.workers) {
        if (worker.thread != nullptr) {
            WaitForSingleObject(worker.thread, INFINITE);
            CloseHandle(worker.thread);
        }
        if (worker.phaseDone != nullptr)
            CloseHandle(worker.phaseDone);
    }
}

// The workers' run: links, once-commands, rounds, --finally. The run's status before --finally.
int RunWorkers(Crew& crew)
{
    const ScriptPlan& plan = *crew.plan;
    if (!StartWorkers(crew)) {
        WriteLine(stderr, "tessaly-cmd: a thread could not be started");
        crew.abandon = true;
        SetEvent(crew.goOnce);
        return ExitLinkNotOpened;
    }
    int status = FirstFailure(PhaseStatuses(crew));
    crew.abandon = status != ExitDone; // a link did not open: nothing is sent to any instrument
    SetEvent(crew.goOnce);
    if (crew.abandon)
        return status;
    status = FirstFailure(PhaseStatuses(crew));
    crew.rounds = status == ExitDone && IsLoggingRun(plan);
    if (crew.rounds && plan.csv)
        Write(stdout, CsvHeader(plan));
    crew.startMs = NowMs();
    SetEvent(crew.goRounds);
    if (!crew.rounds)
        return status;
    RunChart chart;
    long long rows = WriteRows(crew, chart);
    bool anyFailed = false;
    for (const Worker& worker : crew.workers)
        anyFailed = anyFailed || worker.anyFailed;
    bool allLost = RoundsEndWhenLost(crew.lostForGood, plan);
    if (allLost)
        WriteLine(stderr, std::string(plan.instruments.size() > 1 ? "every link was lost"
                                                                  : "the link was lost") +
                              "; the run ended after round " + std::to_string(rows));
    if (console.stopAsked && !allLost && !console.outputLost)
        WriteLine(stderr, "stopped by Ctrl+C or Ctrl+Break after round " + std::to_string(rows));
    int roundsStatus = RoundsStatus(anyFailed, crew.lostForGood > 0, console.outputLost);
    EndChart(chart, plan, ChartEndReason(roundsStatus, console.stopAsked, plan));
    return roundsStatus;
}

} // namespace

int RunScript(const ScriptPlan& plan)
{
    std::string refusal = FirstRefusal(plan);
    if (!refusal.empty()) {
        WriteLine(stderr, refusal);
        return ExitCommandFailed;
    }
    console.printLog = plan.log;
    if (!OpenOutFile(plan.outPath))
        return ExitOutputLost;
    console.stopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    console.runEnded = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    // A process started with Ctrl+C ignored (by "start /b", or in a new process group) passes that
    // on to its children; Ctrl+C must end a logging run all the same.
    SetConsoleCtrlHandler(nullptr, FALSE);
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);

    Crew crew;
    crew.plan = &plan;
    crew.goOnce = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    crew.goRounds = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    crew.progress = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    InitializeCriticalSection(&crew.tableLock);
    int status = RunWorkers(crew);
    SetEvent(crew.goRounds); // workers that wait for it go on to their end
    EndWorkers(crew);
    bool finallyFailed = false;
    for (const Worker& worker : crew.workers)
        finallyFailed = finallyFailed || worker.finallyFailed;
    DeleteCriticalSection(&crew.tableLock);
    for (HANDLE event : {crew.goOnce, crew.goRounds, crew.progress})
        CloseHandle(event);

    CloseOutFile();
    if (status == ExitOutputLost)
        WriteLine(stderr, (plan.outPath.empty() ? "standard output" : plan.outPath) +
                              " could not be written; the run stopped there");
    if (status == ExitStopped)
        WriteLine(stderr, "stopped by Ctrl+C or Ctrl+Break");
    SetEvent(console.runEnded);
    return StatusWithFinally(status, finallyFailed);
}

int Discover()
{
    DiscoverInstruments();
    for (const std::string& line : app.DiscoveryLines)
        WriteLine(stdout, line);
    if (app.DiscoveryLines.empty() && app.linkFailure.empty())
        WriteLine(stderr, NoDevicesText + 1); // without its leading space
    return StatusAfter(DiscoveryStatus(app.DiscoveryLines.size()), console.outputLost, false);
}
