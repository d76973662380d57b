// Talks to tessaly-sim's control channel from the Windows-side tests: sets its fault modes and
// fetches the bytes it received, so a test can compare them with what the program should send.
#pragma once

#include <string>

// Port of the simulated instrument's TCP server and of its control channel (from the environment
// that the test script sets).
int SimTcpPort();
int SimControlPort();

// Sends one control line and returns the reply line without its line feed.
std::string SimControl(const std::string& line);

// The bytes the instrument received since the last SimClear, decoded.
std::string SimRecord(const char* which = nullptr);
void SimClear();
void SimFault(const std::string& modeAndArgument);
