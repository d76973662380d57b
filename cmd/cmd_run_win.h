// The runs of tessaly-cmd (cmd_run_win.cpp): a script of clicks on one link, with a logging run's
// rounds, and a discovery.
#pragma once

#include "cmd/cmd_plan.h"

// Opens the link, clicks each command's button in turn, stops at the first that fails, at a
// lost answer or at Ctrl+C, then, for a logging run, clicks the repeated commands round after
// round, and lets go of the link. The exit status.
int RunScript(const ScriptPlan& plan);

// Lists the instruments that answer a discovery; the exit status.
int Discover();
