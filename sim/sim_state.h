// Everything the simulated instrument keeps while it runs, apart from its sockets: the
// instrument, the byte record, the fault modes and what the control channel asked for.
#pragma once

#include <cstdint>
#include <string>

#include "sim/discovery.h"
#include "sim/faults.h"
#include "sim/record.h"
#include "sim/scpi.h"

struct SimState {
    Instrument instrument;
    Records records;
    Fault fault;
    DiscoveryFault discoveryFault;
    std::string lineEnd = "\n";
    std::uint32_t rng = 0x2545f491u;
    int tcpConnections = 0; // open instrument TCP connections, kept up to date by the loop
    // The pseudo-terminal's line settings, read by the loop before each control command.
    std::string ptyLine;
    bool quitRequested = false;
    bool flushRequested = false;
    // The pseudo-terminal as a USB adapter that is pulled out and plugged back in, and the TCP
    // side as a LAN cable that is pulled and put back: the control channel asks, the loop does it.
    enum class PlugChange { None, Unplug, Plug };
    PlugChange ptyChange = PlugChange::None;
    bool ptyPresent = false;
    PlugChange tcpChange = PlugChange::None;
    bool tcpPresent = false;
};
