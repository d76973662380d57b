// What tessaly-cmd remembers while it runs, apart from the program's own state record: the click
// in progress (which the console's side of the seam reads), where its output goes and whether it
// was lost, and the stop that Ctrl+C or Ctrl+Break asked for. One instance, `console`.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <string>

#include "cmd/cmd_logging.h"
#include "cmd/cmd_plan.h"

struct ConsoleState {
    // The click being run; its argument fills the controls the seam is asked about.
    const ScriptStep* clickedStep = nullptr;
    bool statusBoxShown = false; // a "Status" box came up during the click
    std::string newestEntry;     // the log entry the click wrote
    bool printLog = false;       // --log: each log entry goes to standard output

    // Whether the process was given each standard handle. A process started without them
    // (detached) has no file descriptor behind the stream, and the runtime is asked neither to set
    // its mode nor to write to it.
    bool stdoutHeld = false;
    bool stderrHeld = false;
    bool outputLost = false;               // something meant for standard output was not written
    HANDLE outFile = INVALID_HANDLE_VALUE; // --out FILE
    bool outFileOnDisk = false;            // a disk file, whose buffers can be flushed
    std::string* collected = nullptr;      // a round's output while it runs, written when it ends

    // Set by the console's control handler, which the system runs on a thread of its own; the
    // event (manual-reset) cuts a wait short.
    std::atomic<bool> stopAsked{false};
    HANDLE stopEvent = nullptr;

    TickClock clock; // the schedule's clock
};

extern ConsoleState console;
