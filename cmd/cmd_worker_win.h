// The instruments' worker threads of a tessaly-cmd run (cmd_worker_win.cpp), and the record they
// share with the main thread: one worker per instrument, each with its own state record and link
// (thread-local), in step with the others only where the run needs it: every link opened before
// any command goes out, every once-command done before the first round, and the rows, which the
// main thread alone writes.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "cmd/cmd_instruments.h"
#include "cmd/cmd_plan.h"

struct Crew;

// One instrument's worker, as the main thread sees it.
struct Worker {
    Crew* crew = nullptr;
    std::size_t index = 0; // the instrument's position in the plan
    HANDLE thread = nullptr;
    HANDLE phaseDone = nullptr; // auto-reset: the open, then the once-commands, are done
    int status = ExitDone;      // how the latest of them went
    bool lostForGood = false;   // the link was lost without --reconnect
    bool anyFailed = false;     // a cell of the rounds failed
    bool finallyFailed = false; // a --finally command failed or could not be sent
};

// What the main thread and the workers share.
struct Crew {
    const ScriptPlan* plan = nullptr;
    std::vector<Worker> workers;
    HANDLE goOnce = nullptr;   // manual-reset: every link has been tried (see abandon)
    HANDLE goRounds = nullptr; // manual-reset: every once-command is done (see rounds)
    bool abandon = false;      // set before goOnce: a link did not open, nothing is sent
    bool rounds = false;       // set before goRounds: the rounds run, counted from startMs
    long long startMs = 0;
    // The finished rounds the main thread has not written yet; taken under tableLock.
    CRITICAL_SECTION tableLock;
    RoundTable table;
    HANDLE progress = nullptr; // auto-reset: the table has a row or the end for the writer
    std::atomic<std::size_t> lostForGood{0};
};

// A worker thread's body, started by _beginthreadex with its Worker.
unsigned __stdcall WorkerMain(void* worker);

// Milliseconds on the schedule's clock, the same for every thread.
long long NowMs();
std::string LocalTimeNow();

// Holds ms milliseconds, or less when the rounds are over; false then.
bool Hold(long long ms);

// Ends every worker's rounds after the round in flight, and cuts their waits short.
void EndAllRounds();
