// The table of SCPI commands that the simulated source knows, and the instrument operations
// that its rows use besides those of sim/scpi.h.
#pragma once

#include <string>
#include <vector>

#include "sim/scpi.h"

using ScpiParams = std::vector<std::string>;

constexpr int AnyParamCount = -1; // one or more parameters (lists)

// One command: its header pattern, the number of parameters of its setting form, and the
// handlers of the setting and query forms (nullptr where the form does not exist). A handler
// returns 0 or the SCPI error number.
struct ScpiCommand {
    const char* pattern;
    int paramCount;
    int (*set)(Instrument& in, const ScpiParams& params);
    int (*query)(Instrument& in, std::string& answer);
};

// The row whose pattern the header matches, or nullptr.
const ScpiCommand* FindScpiCommand(const std::string& header);

std::string PopError(Instrument& in);
int StatusByte(const Instrument& in);
bool ListsMatch(const OutputSettings& s);
int Initiate(Instrument& in);
int Trigger(Instrument& in, bool busOnly);
void Abort(Instrument& in);
