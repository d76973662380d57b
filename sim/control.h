// The control channel of the simulated instrument: one text command per line from a test, one
// reply line back (without its line end).
#pragma once

#include <string>

#include "sim/sim_state.h"

std::string RunControlCommand(SimState& sim, const std::string& line);
