// The run of one tessaly-cmd command line: open the link, click each command's button in turn,
// stop at the first that fails, at a lost answer or at Ctrl+C, then, for a logging run, click the
// repeated commands round after round on the monotonic clock, and let go of the link; and the
// discovery.
#include "cmd/cmd_run_win.h"

#include <windows.h>

#include <string>
#include <vector>

#include "cmd/cmd_args.h"
#include "cmd/cmd_logging.h"
#include "cmd/cmd_output_win.h"
#include "cmd/cmd_rules.h"
#include "cmd/console_state.h"
#include "link/discovery.h"
#include "link/link.h"
#include "link/link_rules.h"
#include "panels/transaction.h"

namespace
{

// Ctrl+C and Ctrl+Break ask the run to stop between commands; the command on the link completes.
// Other signals (the console closed, log-off, shut-down) go on to the default handler.
BOOL WINAPI OnConsoleControl(DWORD signal)
{
    if (signal != CTRL_C_EVENT && signal != CTRL_BREAK_EVENT)
        return FALSE;
    console.stopAsked = true;
    if (console.stopEvent != nullptr)
        SetEvent(console.stopEvent);
    return TRUE;
}

// Holds ms milliseconds, or less when Ctrl+C or Ctrl+Break comes; false then.
bool Hold(long long ms)
{
    if (console.stopEvent == nullptr) {
        Sleep(static_cast<DWORD>(ms));
        return !console.stopAsked;
    }
    return WaitForSingleObject(console.stopEvent, static_cast<DWORD>(ms)) == WAIT_TIMEOUT;
}

// Milliseconds on the schedule's clock: the system's tick, the same on every core (unlike the
// performance counter of some multi-core PCs of the Windows XP years), extended past its wrap.
long long NowMs()
{
    return ExtendedTick(console.clock, GetTickCount());
}

std::string LocalTimeNow()
{
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return IsoTime({t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds});
}

// One click; its verdict, and the answer (or what stands in its place) for a row that reads one.
StepVerdict Click(const ScriptStep& step, std::string& answer)
{
    console.clickedStep = &step;
    console.statusBoxShown = false;
    console.newestEntry.clear();
    int connectedBefore = app.connected;
    ClearCommandBuffers(); // as the main window does around every click
    RunCommand(*step.row);
    answer = AnswerLine(AnswerText());
    StepVerdict verdict =
        JudgeStep(*step.row, console.newestEntry, AnswerText(), console.statusBoxShown,
                  connectedBefore == 1 && app.connected == 0);
    ClearCommandBuffers();
    LogOf(PanelOf(*step.row)).clear(); // each entry has been shown; the log need not grow
    console.clickedStep = nullptr;
    return verdict;
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
        WriteLine(stderr, step.typed + ": " + answer);
    else if (verdict.status == ExitDone && ReadsAnswer(*step.row) && !console.printLog)
        WriteLine(stdout, answer);
    if (!verdict.message.empty())
        WriteLine(stderr, verdict.message);
    return StatusAfter(verdict.status, console.outputLost, console.stopAsked);
}

// The rounds of a logging run. A failed command is told and the run goes on; the run ends when
// the plan says, at Ctrl+C (after the round in flight; during a round's --wait at once, leaving
// that round out), or when the link or the output is lost. Each round's row or answers are
// written as one piece when the round ends.
int RunRounds(const ScriptPlan& plan)
{
    bool anyFailed = false;
    bool linkLost = false;
    long long round = 0;
    if (plan.csv)
        Write(stdout, CsvHeader(plan));
    const long long start = NowMs();
    for (; !console.outputLost && !linkLost && !console.stopAsked; ++round) {
        RoundStart next = NextRound(plan, round, NowMs() - start);
        if (!next.run)
            break;
        if (next.lateMs > 0)
            WriteLine(stderr, LateText(plan, round, next.lateMs));
        if (next.waitMs > 0 && !Hold(next.waitMs))
            break;
        std::vector<std::string> row = {LocalTimeNow(), SecondsText(NowMs() - start)};
        std::string plain;
        bool settled = true;
        for (std::size_t i = plan.firstRepeated; i < plan.steps.size(); ++i) {
            const ScriptStep& step = plan.steps[i];
            // A settling time: the round needs it whole, so Ctrl+C during it leaves the round out.
            if (step.row == nullptr) {
                settled = Hold(step.waitMs);
                if (!settled)
                    break;
                continue;
            }
            std::string answer;
            console.collected = &plain; // a --log entry
            StepVerdict verdict = Click(step, answer);
            console.collected = nullptr;
            if (verdict.status != ExitDone)
                WriteLine(stderr, RoundFailureText(round, verdict.message));
            anyFailed = anyFailed || verdict.status != ExitDone;
            linkLost = linkLost || app.connected == 0;
            if (ReadsAnswer(*step.row))
                row.push_back(answer);
            if (ReadsAnswer(*step.row) && !console.printLog)
                plain += answer + "\r\n";
        }
        if (!settled)
            break;
        Write(stdout, plan.csv ? CsvRecord(row) : plain);
    }
    if (linkLost)
        WriteLine(stderr, "the link was lost; the run ended after round " + std::to_string(round));
    if (console.stopAsked && !linkLost && !console.outputLost)
        WriteLine(stderr, "stopped by Ctrl+C or Ctrl+Break after round " + std::to_string(round));
    return RoundsStatus(anyFailed, linkLost, console.outputLost);
}

// Every command clicked once with the link left out, before the link opens: the first refusal,
// or "" when every command would be sent. A query has no answer then, which is no refusal.
std::string FirstRefusal(const ScriptPlan& plan)
{
    app.linkLeftOut = true;
    std::string refusal;
    for (const ScriptStep& step : plan.steps) {
        std::string answer;
        if (step.row == nullptr || !refusal.empty())
            continue;
        StepVerdict verdict = Click(step, answer);
        if (app.refused)
            refusal = verdict.message;
    }
    app.linkLeftOut = false;
    return refusal;
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
    // A process started with Ctrl+C ignored (by "start /b", or in a new process group) passes that
    // on to its children; Ctrl+C must end a logging run all the same.
    SetConsoleCtrlHandler(nullptr, FALSE);
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    int status = ExitLinkNotOpened;
    if (OpenLink(LinkKindOf(plan.link),
                 {plan.portIndex, plan.baudIndex, plan.host.c_str(), plan.port.c_str()})) {
        status = StatusAfter(ExitDone, false, console.stopAsked);
        for (std::size_t i = 0; i < plan.firstRepeated && status == ExitDone; ++i)
            status = RunOnce(plan, plan.steps[i]);
        if (status == ExitDone && IsLoggingRun(plan))
            status = RunRounds(plan);
        ActOnLink(LinkAction::Teardown);
    } else if (!app.linkFailure.empty()) {
        WriteLine(stderr, app.linkFailure);
    }
    CloseOutFile();
    if (status == ExitOutputLost)
        WriteLine(stderr, (plan.outPath.empty() ? "standard output" : plan.outPath) +
                              " could not be written; the run stopped there");
    if (status == ExitStopped)
        WriteLine(stderr, "stopped by Ctrl+C or Ctrl+Break");
    return status;
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
