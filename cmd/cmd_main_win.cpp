// tessaly-cmd.exe, the console program for scripts: the platform seam of core/platform.h for a
// console (a "Status" box and a link's note are lines on standard error, the controls of a click
// hold what its argument says, the output box is standard output, and there is no dialog for a
// status text), and the run of one command line: open the link, click each command's button in
// turn, stop at the first that fails, at a lost answer or at Ctrl+C, then, for a logging run,
// click the repeated commands round after round on the monotonic clock, and let go of the link.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cmd/cmd_logging.h"
#include "cmd/cmd_args.h"
#include "cmd/cmd_rules.h"
#include "core/platform.h"
#include "link/discovery.h"
#include "link/link.h"
#include "link/link_rules.h"
#include "panels/transaction.h"

namespace
{

const ScriptStep* clickedStep = nullptr; // the click being run; its argument fills the controls
bool printLog = false;
int statusBoxesShown = 0;
std::string newestEntry;
bool outputLost = false; // something meant for standard output could not be written
// Set by the console's control handler, which the system runs on a thread of its own; the event
// (manual-reset) cuts a wait short.
std::atomic<bool> stopAsked{false};
HANDLE stopEvent = nullptr;
HANDLE outFile = INVALID_HANDLE_VALUE; // --out FILE
std::string* collected = nullptr;      // a round's output while it runs, written when it ends

// Whether the process was given each standard handle. A process started without them (detached)
// has no file descriptor behind the stream, and the runtime is asked neither to set its mode nor
// to write to it.
bool stdoutHeld = false;
bool stderrHeld = false;

bool Held(DWORD standardHandle)
{
    HANDLE handle = GetStdHandle(standardHandle);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

// Bytes as they are: log entries and answers keep their own line ends. A failed write to standard
// output (a closed pipe, a full disk, no handle) is remembered: an answer that was not delivered
// must not end in success. Standard error's failures can be told to no one.
void Write(std::FILE* stream, const std::string& bytes)
{
    if (stream == stdout && collected != nullptr) {
        *collected += bytes;
        return;
    }
    if (stream == stdout && outFile != INVALID_HANDLE_VALUE) {
        // On to the disk as well, so that a run cut off by a power loss keeps what it logged.
        DWORD written = 0;
        bool whole =
            WriteFile(outFile, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size();
        outputLost = outputLost || !whole || !FlushFileBuffers(outFile);
        return;
    }
    bool held = stream == stdout ? stdoutHeld : stderrHeld;
    bool written = held && std::fwrite(bytes.data(), 1, bytes.size(), stream) == bytes.size();
    written = held && std::fflush(stream) == 0 && written;
    if (!written && stream == stdout)
        outputLost = true;
}

// Text of tessaly-cmd's own, its line feeds written as Windows line ends.
void WriteText(std::FILE* stream, const std::string& text)
{
    std::string out;
    for (char c : text)
        out += c == '\n' ? std::string("\r\n") : std::string(1, c);
    Write(stream, out);
}

// One line of bytes as they are (an answer, a refusal, a "Status" text) and a Windows line end.
void WriteLine(std::FILE* stream, const std::string& bytes)
{
    Write(stream, bytes + "\r\n");
}

// Ctrl+C and Ctrl+Break ask the run to stop between commands; the command on the link completes.
// Other signals (the console closed, log-off, shut-down) go on to the default handler.
BOOL WINAPI OnConsoleControl(DWORD signal)
{
    if (signal != CTRL_C_EVENT && signal != CTRL_BREAK_EVENT)
        return FALSE;
    stopAsked = true;
    if (stopEvent != nullptr)
        SetEvent(stopEvent);
    return TRUE;
}

// Holds ms milliseconds, or less when Ctrl+C or Ctrl+Break comes; false then.
bool Hold(long long ms)
{
    if (stopEvent == nullptr) {
        Sleep(static_cast<DWORD>(ms));
        return !stopAsked;
    }
    return WaitForSingleObject(stopEvent, static_cast<DWORD>(ms)) == WAIT_TIMEOUT;
}

// Milliseconds on the monotonic clock, from an origin of its own.
long long NowMs()
{
    static const long long frequency = [] {
        alignas(8) LARGE_INTEGER perSecond{};
        QueryPerformanceFrequency(&perSecond);
        return static_cast<long long>(perSecond.QuadPart);
    }();
    alignas(8) LARGE_INTEGER counter{}; // the call wants it on an 8-byte boundary
    QueryPerformanceCounter(&counter);
    long long count = counter.QuadPart;
    return count / frequency * 1000 + count % frequency * 1000 / frequency;
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
    clickedStep = &step;
    statusBoxesShown = 0;
    newestEntry.clear();
    int connectedBefore = app.connected;
    ClearCommandBuffers(); // as the main window does around every click
    RunCommand(*step.row);
    answer = AnswerLine(AnswerText());
    StepVerdict verdict = JudgeStep(*step.row, newestEntry, AnswerText(), statusBoxesShown > 0,
                                    connectedBefore == 1 && app.connected == 0);
    ClearCommandBuffers();
    LogOf(PanelOf(*step.row)).clear(); // each entry has been shown; the log need not grow
    clickedStep = nullptr;
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
    else if (verdict.status == ExitDone && ReadsAnswer(*step.row) && !printLog)
        WriteLine(stdout, answer);
    if (!verdict.message.empty())
        WriteLine(stderr, verdict.message);
    return StatusAfter(verdict.status, outputLost, stopAsked);
}

// The rounds of a logging run. A failed command is told and the run goes on; the run ends when
// the plan says, at Ctrl+C (after the round in flight), or when the link or the output is lost.
// Each round's row or answers are written as one piece when the round ends.
int RunRounds(const ScriptPlan& plan)
{
    bool anyFailed = false;
    bool linkLost = false;
    long long round = 0;
    if (plan.csv)
        Write(stdout, CsvHeader(plan));
    const long long start = NowMs();
    for (; !outputLost && !linkLost && !stopAsked; ++round) {
        RoundStart next = NextRound(plan, round, NowMs() - start);
        if (!next.run)
            break;
        if (next.lateMs > 0)
            WriteLine(stderr, LateText(plan, round, next.lateMs));
        if (next.waitMs > 0 && !Hold(next.waitMs))
            break;
        std::vector<std::string> row = {LocalTimeNow(), SecondsText(NowMs() - start)};
        std::string plain;
        for (std::size_t i = plan.firstRepeated; i < plan.steps.size(); ++i) {
            const ScriptStep& step = plan.steps[i];
            if (step.row == nullptr) {
                Sleep(static_cast<DWORD>(step.waitMs)); // a settling time: the round needs it whole
                continue;
            }
            std::string answer;
            collected = &plain; // a --log entry
            StepVerdict verdict = Click(step, answer);
            collected = nullptr;
            if (verdict.status != ExitDone)
                WriteLine(stderr, RoundFailureText(round, verdict.message));
            anyFailed = anyFailed || verdict.status != ExitDone;
            linkLost = linkLost || app.connected == 0;
            if (ReadsAnswer(*step.row))
                row.push_back(answer);
            if (ReadsAnswer(*step.row) && !printLog)
                plain += answer + "\r\n";
        }
        Write(stdout, plan.csv ? CsvRecord(row) : plain);
    }
    if (linkLost)
        WriteLine(stderr, "the link was lost; the run ended after round " + std::to_string(round));
    if (stopAsked && !linkLost && !outputLost)
        WriteLine(stderr, "stopped by Ctrl+C or Ctrl+Break after round " + std::to_string(round));
    return RoundsStatus(anyFailed, linkLost, outputLost);
}

// Opens the --out file, when there is one, so that another program (a spreadsheet) can open it
// to read, and to write, while the run goes on.
bool OpenOutFile(const std::string& path)
{
    if (path.empty())
        return true;
    outFile = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (outFile != INVALID_HANDLE_VALUE)
        return true;
    WriteLine(stderr, "--out " + path + ": the file could not be made (error " +
                          std::to_string(GetLastError()) + ")");
    return false;
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

int RunScript(const ScriptPlan& plan)
{
    std::string refusal = FirstRefusal(plan);
    if (!refusal.empty()) {
        WriteLine(stderr, refusal);
        return ExitCommandFailed;
    }
    printLog = plan.log;
    if (!OpenOutFile(plan.outPath))
        return ExitOutputLost;
    stopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    int status = ExitLinkNotOpened;
    if (OpenLink(LinkKindOf(plan.link),
                 {plan.portIndex, plan.baudIndex, plan.host.c_str(), plan.port.c_str()})) {
        status = StatusAfter(ExitDone, false, stopAsked);
        for (std::size_t i = 0; i < plan.firstRepeated && status == ExitDone; ++i)
            status = RunOnce(plan, plan.steps[i]);
        if (status == ExitDone && IsLoggingRun(plan))
            status = RunRounds(plan);
        ActOnLink(LinkAction::Teardown);
    } else if (!app.linkFailure.empty()) {
        WriteLine(stderr, app.linkFailure);
    }
    if (outFile != INVALID_HANDLE_VALUE)
        CloseHandle(outFile);
    outFile = INVALID_HANDLE_VALUE;
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
    return StatusAfter(DiscoveryStatus(app.DiscoveryLines.size()), outputLost, false);
}

} // namespace

// tessaly-cmd has no dialog whose status box could show the text.
void SetStatusText(const char*) {}

void LinkNote(const char* line)
{
    WriteLine(stderr, line);
}

void StatusBox(const char* text)
{
    ++statusBoxesShown;
    WriteLine(stderr, text);
}

void ReadEntryBox(int controlId)
{
    std::string text;
    if (clickedStep != nullptr)
        text = controlId == clickedStep->row->secondEntryId ? clickedStep->secondEntry
                                                            : clickedStep->entry;
    // As the window's box is read: at most 255 characters and the terminator.
    std::size_t length = std::min<std::size_t>(text.size(), TextBufferSize - 1);
    std::memcpy(app.EntryText.data(), text.data(), length);
    app.EntryText[length] = 0;
}

bool IsOptionChecked(int controlId)
{
    return clickedStep != nullptr && controlId == clickedStep->optionId;
}

int ListSelection(int)
{
    return clickedStep != nullptr ? clickedStep->listPosition : -1;
}

void ShowOutputLog(Panel panel, std::size_t newEntryLength)
{
    newestEntry = LogOf(panel).substr(0, newEntryLength);
    if (printLog)
        Write(stdout, newestEntry);
}

int main(int argc, char** argv)
{
    // Binary mode: the program writes its own line ends, and the runtime must add no carriage
    // returns.
    stdoutHeld = Held(STD_OUTPUT_HANDLE);
    stderrHeld = Held(STD_ERROR_HANDLE);
    if (stdoutHeld)
        _setmode(_fileno(stdout), _O_BINARY);
    if (stderrHeld)
        _setmode(_fileno(stderr), _O_BINARY);
    ScriptPlan plan = ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (!plan.error.empty()) {
        WriteText(stderr, plan.error + "\n");
        return ExitUsage;
    }
    switch (plan.mode) {
    case ScriptMode::Help:
        WriteText(stdout, HelpText());
        return StatusAfter(ExitDone, outputLost, false);
    case ScriptMode::List:
        WriteText(stdout, ListText());
        return StatusAfter(ExitDone, outputLost, false);
    case ScriptMode::Discover:
        return Discover();
    case ScriptMode::Run:
        break;
    }
    return RunScript(plan);
}
