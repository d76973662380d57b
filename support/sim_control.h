// Talks to tessaly-sim's control channel from the Windows-side tests: sets its fault modes and
// fetches the bytes it received, so a test can compare them with what the program should send.
#pragma once

#include <string>

// Port of the simulated instrument's TCP server and of its control channel (from the environment
// that the test script sets).
int SimTcpPort();
int SimControlPort();

// Sends one control line and returns the reply line without its line feed: to the simulator on
// loopback, or to one at its own address.
std::string SimControl(const std::string& line);
std::string SimControlAt(const std::string& address, int port, const std::string& line);

// The bytes the instrument received since the last SimClear, decoded.
std::string SimRecord(const char* which = nullptr);
void SimClear();
void SimFault(const std::string& modeAndArgument);
