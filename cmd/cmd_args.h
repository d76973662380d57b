// tessaly-cmd's command line (cmd_args.cpp): the arguments turned into a plan, and the usage.
#pragma once

#include <string>
#include <vector>

#include "cmd/cmd_plan.h"

// The plan the arguments ask for; its error says what could not be understood.
ScriptPlan ParseArguments(const std::vector<std::string>& args);

// True for a run whose steps from firstRepeated on run as rounds.
bool IsLoggingRun(const ScriptPlan& plan);

std::string HelpText();
