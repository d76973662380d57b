// What tessaly-cmd remembers while it runs, apart from the program's own state record. Two parts:
// the process-wide one, `console` (where the output goes and whether it was lost, the one lock
// every write to it takes, and the end of the rounds that Ctrl+C, a lost output or the loss of
// every link asks for), shared by every thread; and the click in progress, `clicking`, which the
// console's side of the seam reads, one per thread like the state record, since each instrument's
// worker thread clicks on its own link.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <string>

#include "cmd/cmd_logging.h"
#include "cmd/cmd_plan.h"

struct ConsoleState {
    bool printLog = false; // --log: each log entry goes to standard output

    // Whether the process was given each standard handle. A process started without them
    // (detached) has no file descriptor behind the stream, and the runtime is asked neither to set
    // its mode nor to write to it.
    bool stdoutHeld = false;
    bool stderrHeld = false;
    std::atomic<bool> outputLost{false};   // something meant for standard output was not written
    HANDLE outFile = INVALID_HANDLE_VALUE; // --out FILE
    bool outFileOnDisk = false;            // a disk file, whose buffers can be flushed
    // Taken around every write to standard output, standard error and the --out file, so that
    // the lines of several threads never mix. Initialized first thing in main.
    CRITICAL_SECTION outputLock;

    // Set by the console's control handler, which the system runs on a thread of its own.
    std::atomic<bool> stopAsked{false};
    // The rounds end: Ctrl+C or Ctrl+Break, a lost output, or every link lost for good. The event
    // (manual-reset) is set with it and cuts every worker's wait short.
    std::atomic<bool> roundsOver{false};
    HANDLE stopEvent = nullptr;
    // The schedule's clock, one for all threads, so that every worker counts the same wraps of the
    // tick as the start it measures from; read under its lock. Initialized first thing in main.
    TickClock clock;
    CRITICAL_SECTION clockLock;
    // Set (manual-reset) once the --finally commands have run and the links are let go; the
    // handler of a closed console waits for it before the system ends the process.
    HANDLE runEnded = nullptr;
};

extern ConsoleState console;

// The click in progress on this thread.
struct ClickState {
    // The click being run; its argument fills the controls the seam is asked about.
    const ScriptStep* clickedStep = nullptr;
    bool statusBoxShown = false;      // a "Status" box came up during the click
    std::string statusText;           // the text of the latest one
    std::string newestEntry;          // the log entry the click wrote
    std::string* collected = nullptr; // a round's --log entries while it runs
    // The instrument's name before its answer lines and before its lines on standard error, when
    // the run has several.
    std::string answerPrefix;
    std::string messagePrefix;
};

extern thread_local ClickState clicking;
