// tessaly-cmd.exe, the console program for scripts: the platform seam of app/platform.h for a
// console (a "Status" box and a link's note are lines on standard error, the controls of a click
// hold what its argument says, the output box is standard output, and there is no dialog for a
// status text), and the run of one command line: open the link, click each command's button in
// turn, stop at the first that fails, at a lost answer or at Ctrl+C, let go of the link.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/platform.h"
#include "cmd/cmd_rules.h"
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
// Set by the console's control handler, which the system runs on a thread of its own.
std::atomic<bool> stopAsked{false};

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
    return TRUE;
}

int RunClick(const ScriptStep& step)
{
    clickedStep = &step;
    statusBoxesShown = 0;
    newestEntry.clear();
    int connectedBefore = app.connected;
    ClearCommandBuffers(); // as the main window does around every click
    RunCommand(*step.row);
    std::string answer = AnswerText();
    StepVerdict verdict = JudgeStep(*step.row, newestEntry, answer, statusBoxesShown > 0,
                                    connectedBefore == 1 && app.connected == 0);
    if (verdict.status == ExitDone && ReadsAnswer(*step.row) && !printLog)
        WriteLine(stdout, AnswerLine(answer));
    if (!verdict.message.empty())
        WriteLine(stderr, verdict.message);
    ClearCommandBuffers();
    LogOf(PanelOf(*step.row)).clear(); // each entry has been shown; the log need not grow
    clickedStep = nullptr;
    return StatusAfter(verdict.status, outputLost, stopAsked);
}

int RunScript(const ScriptPlan& plan)
{
    printLog = plan.log;
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    if (!OpenLink(LinkKindOf(plan.link),
                  {plan.portIndex, plan.baudIndex, plan.host.c_str(), plan.port.c_str()}))
        return ExitLinkNotOpened;
    int status = StatusAfter(ExitDone, false, stopAsked);
    for (std::size_t i = 0; i < plan.steps.size() && status == ExitDone; ++i)
        status = RunClick(plan.steps[i]);
    ActOnLink(LinkAction::Teardown);
    if (status == ExitOutputLost)
        WriteLine(stderr, "standard output could not be written; the run stopped there");
    if (status == ExitStopped)
        WriteLine(stderr, "stopped by Ctrl+C or Ctrl+Break");
    return status;
}

int Discover()
{
    DiscoverInstruments();
    for (const std::string& line : app.DiscoveryLines)
        WriteLine(stdout, line);
    if (app.DiscoveryLines.empty() && statusBoxesShown == 0)
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
