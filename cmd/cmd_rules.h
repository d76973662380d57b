// What tessaly-cmd decides about its commands (cmd_rules.cpp), apart from the platform: how a
// keyword names a panel's command row and an argument fills its entry boxes, option buttons and
// lists, what --list says, the verdict on a click and which exit status a run ends with.
#pragma once

#include <string>
#include <vector>

#include "cmd/cmd_plan.h"

// The keyword that names a row: its bytes up to the first space or line feed ("VOLT",
// "MEAS:POW?", "SYST:PASS:NEW"). Empty for the rows no keyword reaches: the free line and Read
// (--send and --query reach them) and Clear Display, which sends nothing.
std::string KeywordOf(const CommandRow& row);

// The caption of a control of the row's panel; "" when the panel has no such control.
std::string CaptionOf(Panel panel, int controlId);

// True for the rows that read an answer, which tessaly-cmd prints.
bool ReadsAnswer(const CommandRow& row);

// Fills step from "[Panel:]KEYWORD[=VALUE]"; the usage error text, or "" when it was understood.
std::string ResolveCommand(const std::string& argument, ScriptStep& step);

// The position of given among choices: a choice that starts with it, ignoring case, or the one
// equal to it when several start with it. -1 when none does, -2 when several do.
int MatchChoice(const std::string& given, const std::vector<std::string>& choices);

std::string ListText();

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
