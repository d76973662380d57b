// tessaly-cmd.exe, the console program for scripts: reads its command line and runs what it asks
// for (a script of clicks on a link, a discovery, the list of commands or the usage).
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <string>
#include <vector>

#include "cmd/cmd_args.h"
#include "cmd/cmd_chart_win.h"
#include "cmd/cmd_output_win.h"
#include "cmd/cmd_rules.h"
#include "cmd/cmd_run_win.h"
#include "cmd/console_state.h"

ConsoleState console;
thread_local ClickState clicking;

int main(int argc, char** argv)
{
    // Before anything is written or timed: every write and every reading of the clock takes one.
    InitializeCriticalSection(&console.outputLock);
    InitializeCriticalSection(&console.clockLock);
    // Binary mode: the program writes its own line ends, and the runtime must add no carriage
    // returns.
    console.stdoutHeld = Held(STD_OUTPUT_HANDLE);
    console.stderrHeld = Held(STD_ERROR_HANDLE);
    if (console.stdoutHeld)
        _setmode(_fileno(stdout), _O_BINARY);
    if (console.stderrHeld)
        _setmode(_fileno(stderr), _O_BINARY);
    ScriptPlan plan = ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (!plan.error.empty()) {
        WriteText(stderr, plan.error + "\n");
        return ExitUsage;
    }
    switch (plan.mode) {
    case ScriptMode::Help:
        WriteText(stdout, HelpText());
        return StatusAfter(ExitDone, console.outputLost, false);
    case ScriptMode::List:
        WriteText(stdout, ListText());
        return StatusAfter(ExitDone, console.outputLost, false);
    case ScriptMode::Discover:
        return Discover();
    case ScriptMode::Chart:
        return DrawChartFromCsv(plan);
    case ScriptMode::Run:
        break;
    }
    return RunScript(plan);
}
