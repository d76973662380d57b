// tessaly-cmd.exe, the console program for scripts: the platform seam of app/platform.h for a
// console (a "Status" box is a line on standard error, the controls of a click hold what its
// argument says, the output box is standard output), and the run of one command line: open the
// link, click each command's button in turn, stop at the first that fails, let go of the link.
#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/platform.h"
#include "cmd/cmd_rules.h"
#include "console/transaction.h"
#include "link/discovery.h"
#include "link/link.h"
#include "link/link_rules.h"

namespace
{

const ScriptStep* clickedStep = nullptr; // the click being run; its argument fills the controls
bool printLog = false;
int statusBoxesShown = 0;
std::string newestEntry;

// Bytes as they are: log entries and answers keep their own line ends.
void Write(std::FILE* stream, const std::string& bytes)
{
    std::fwrite(bytes.data(), 1, bytes.size(), stream);
    std::fflush(stream);
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
        WriteLine(stdout, answer);
    if (!verdict.message.empty())
        WriteLine(stderr, verdict.message);
    ClearCommandBuffers();
    LogOf(step.row->panel).clear(); // each entry has been shown; the log need not grow
    clickedStep = nullptr;
    return verdict.status;
}

int RunScript(const ScriptPlan& plan)
{
    printLog = plan.log;
    if (!OpenLink(LinkKindOf(plan.link),
                  {plan.portIndex, plan.baudIndex, plan.host.c_str(), plan.port.c_str()}))
        return ExitLinkNotOpened;
    int status = ExitDone;
    for (const ScriptStep& step : plan.steps) {
        status = RunClick(step);
        if (status != ExitDone)
            break;
    }
    ActOnLink(LinkAction::Teardown);
    return status;
}

int Discover()
{
    DiscoverInstruments();
    for (const std::string& line : app.DiscoveryLines)
        WriteLine(stdout, line);
    if (app.DiscoveryLines.empty() && statusBoxesShown == 0)
        WriteLine(stderr, NoDevicesText + 1); // without its leading space
    return DiscoveryStatus(app.DiscoveryLines.size());
}

} // namespace

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
    // The program writes its own line ends; the runtime must not add carriage returns.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    ScriptPlan plan = ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (!plan.error.empty()) {
        WriteText(stderr, plan.error + "\n");
        return ExitUsage;
    }
    switch (plan.mode) {
    case ScriptMode::Help:
        WriteText(stdout, HelpText());
        return ExitDone;
    case ScriptMode::List:
        WriteText(stdout, ListText());
        return ExitDone;
    case ScriptMode::Discover:
        return Discover();
    case ScriptMode::Run:
        break;
    }
    return RunScript(plan);
}
