// What a tessaly-cmd command line asks for (the instruments and their links, the clicks in order,
// a logging run's schedule and output, the commands of its end) and the exit statuses a run ends
// with. Records only: cmd_args.cpp fills
// them, the rest of the console program reads them.
#pragma once

#include <string>
#include <vector>

#include "core/app_state.h"
#include "panels/panel_table.h"

// Exit statuses of tessaly-cmd.
constexpr int ExitDone = 0;          // every command sent, every query answered
constexpr int ExitCommandFailed = 1; // a command refused, a failure text for an answer, none found
constexpr int ExitUsage = 2;         // the arguments could not be understood
constexpr int ExitLinkNotOpened =
    3; // a link could not be opened, or a run without --reconnect lost it
constexpr int ExitOutputLost = 4; // standard output or the --out file could not be written
constexpr int ExitStopped = 5;    // Ctrl+C or Ctrl+Break stopped the run between commands

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
enum class ScriptMode { Run, Discover, List, Help, Chart };

// One instrument of a run: its link option as given.
struct Instrument {
    ScriptLink link = ScriptLink::None;
    std::string host, port;           // --tcp HOST:PORT
    int portIndex = -1;               // --com N, --usb N
    int baudIndex = DefaultBaudIndex; // --baud RATE, after its --com
    bool baudGiven = false;
    std::string name; // as typed: "192.168.1.10:5025", "COM3", "USB4"
};

// Everything the arguments ask for. When error is not empty, nothing else counts.
struct ScriptPlan {
    ScriptMode mode = ScriptMode::Run;
    std::vector<Instrument> instruments;  // in the order given; every command goes to each
    bool log = false;                     // --log
    std::vector<ScriptStep> steps;        // in the order given
    std::vector<ScriptStep> finallySteps; // --finally: run once at the end, whatever ended the run
    bool reconnect = false;               // --reconnect: a lost link is opened again
    // A logging run (--every, or --csv): the steps from firstRepeated on are one round, run every
    // intervalMs until count rounds are done or durationMs has passed (0: not given; neither
    // given: until Ctrl+C). firstRepeated is steps.size() when no step repeats.
    std::size_t firstRepeated = 0;
    long long intervalMs = 0; // --every
    long long count = 0;      // --count; 1 for --csv without --every
    long long durationMs = 0; // --for
    bool csv = false;         // --csv
    std::string outPath;      // --out FILE; empty for standard output
    // --chart FILE: the run's chart page, written as the rounds go on; for `chart RUN.csv
    // [PAGE.html]`, the page to draw, and csvPath the CSV to draw it from.
    std::string chartPath;
    std::string csvPath;
    std::string error;
};
