// What tessaly-cmd decides, apart from the platform: how its arguments name the panels' commands
// and fill their entry boxes, option buttons and lists, what --list and --help say, and which
// exit status a run ends with. The console program (cmd_main_win.cpp) only carries it out.
#pragma once

#include <string>
#include <vector>

#include "core/app_state.h"
#include "panels/panel_table.h"

// Exit statuses of tessaly-cmd.
constexpr int ExitDone = 0;          // every command sent, every query answered
constexpr int ExitCommandFailed = 1; // a command refused, a failure text for an answer, none found
constexpr int ExitUsage = 2;         // the arguments could not be understood
constexpr int ExitLinkNotOpened = 3; // the link could not be opened, or a logging run lost it
constexpr int ExitOutputLost = 4;    // standard output or the --out file could not be written
constexpr int ExitStopped = 5;       // Ctrl+C or Ctrl+Break stopped the run between commands

// The keyword that names a row: its bytes up to the first space or line feed ("VOLT",
// "MEAS:POW?", "SYST:PASS:NEW"). Empty for the rows no keyword reaches: the free line and Read
// (--send and --query reach them) and Clear Display, which sends nothing.
std::string KeywordOf(const CommandRow& row);

// The caption of a control of the row's panel; "" when the panel has no such control.
std::string CaptionOf(Panel panel, int controlId);

// One click of a script: the row and what its controls hold for that click; or, without a row, a
// pause of --wait.
struct ScriptStep {
    const CommandRow* row = nullptr;
    std::string typed;       // the argument as typed, naming the step's column in --csv
    long long waitMs = 0;    // --wait: how long to hold, when there is no row
    std::string entry;       // the entry box, or the free line
    std::string secondEntry; // the new password box
    int optionId = 0;        // the option button that is checked
    int listPosition = -1;   // the selected position of the baud list
};

enum class ScriptLink { None, Tcp, Rs232, Usb };
enum class ScriptMode { Run, Discover, List, Help };

// Everything the arguments ask for. When error is not empty, nothing else counts.
struct ScriptPlan {
    ScriptMode mode = ScriptMode::Run;
    ScriptLink link = ScriptLink::None;
    std::string host, port;           // --tcp HOST:PORT
    int portIndex = -1;               // --com N, --usb N
    int baudIndex = DefaultBaudIndex; // --baud RATE
    bool log = false;                 // --log
    std::vector<ScriptStep> steps;    // in the order given
    // A logging run (--every, or --csv): the steps from firstRepeated on are one round, run every
    // intervalMs until count rounds are done or durationMs has passed (0: not given; neither
    // given: until Ctrl+C). firstRepeated is steps.size() when no step repeats.
    std::size_t firstRepeated = 0;
    long long intervalMs = 0; // --every
    long long count = 0;      // --count; 1 for --csv without --every
    long long durationMs = 0; // --for
    bool csv = false;         // --csv
    std::string outPath;      // --out FILE; empty for standard output
    std::string error;
};

// True for a run whose steps from firstRepeated on run as rounds.
bool IsLoggingRun(const ScriptPlan& plan);

// True for the rows that read an answer, which tessaly-cmd prints.
bool ReadsAnswer(const CommandRow& row);

ScriptPlan ParseArguments(const std::vector<std::string>& args);

// Fills step from "[Panel:]KEYWORD[=VALUE]"; the usage error text, or "" when it was understood.
std::string ResolveCommand(const std::string& argument, ScriptStep& step);

// The position of given among choices: a choice that starts with it, ignoring case, or the one
// equal to it when several start with it. -1 when none does, -2 when several do.
int MatchChoice(const std::string& given, const std::vector<std::string>& choices);

std::string ListText();
std::string HelpText();

// The position of link.h's connection kinds that a link choice opens; NoLinkKind for none.
int LinkKindOf(ScriptLink link);

// The line printed for an answer: the answer without the carriage return of a CR LF end, so that
// a line of the output is the answer.
std::string AnswerLine(const std::string& answer);

// The status after a step (a click, a discovery, a printed list) that went as status says, given
// whether something meant for standard output could not be written and whether Ctrl+C or
// Ctrl+Break asked the run to stop. A step that went well is no success when its output was lost;
// a failed step keeps its own status.
int StatusAfter(int status, bool outputLost, bool stopAsked);

// A discovery's exit status, by the number of replies.
int DiscoveryStatus(std::size_t replies);

// How one click went: entry is the log entry it wrote ("" when none), which is the message of a
// refused click (app.refused), answer the text shown for the ResponseBuffer afterwards
// (AnswerText), statusShown whether a "Status" box came up, linkLost whether the link closed
// during the click.
struct StepVerdict {
    int status;          // ExitDone or ExitCommandFailed
    std::string message; // for standard error when the click failed
};
StepVerdict JudgeStep(const CommandRow& row, const std::string& entry, const std::string& answer,
                      bool statusShown, bool linkLost);
