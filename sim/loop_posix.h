// The simulated instrument's single-threaded event loop: every socket and the pseudo-terminal
// served from one ppoll(), answers sent at their scheduled times.
#pragma once

#include "sim/net_posix.h"
#include "sim/sim_state.h"

// What the loop serves; -1 for what was not asked for.
struct Endpoints {
    int tcpListen = -1;
    std::string tcpBind; // where the TCP side listens, so that it can listen there again
    int tcpPort = 0;
    int controlListen = -1;
    int udp = -1;
    Pty pty;
    std::string ptyLink; // where the pseudo-terminal is linked, so that a new one goes there too
};

// Blocks SIGINT, SIGTERM and SIGHUP so that only the loop's ppoll() receives them. Call first.
void PrepareSignals();

// Runs until a signal arrives or the control channel says quit; closes every connection it
// opened. The endpoints stay open for the caller to close.
void RunLoop(SimState& sim, Endpoints& endpoints);
