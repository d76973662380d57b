// Sockets, the pseudo-terminal and the event log of the simulated instrument (POSIX only).
#pragma once

#include <string>

// A listening TCP socket at address:port (IPv4 or IPv6 text), non-blocking; -1 on failure.
int ListenTcp(const std::string& address, int port, std::string& error);

// A non-blocking UDP socket bound to the IPv4 address:port, shareable with other simulators on
// the same host (SO_REUSEADDR, SO_REUSEPORT) and allowed to receive broadcasts; -1 on failure.
int BindUdp(const std::string& address, int port, std::string& error);

// A pseudo-terminal in raw mode. The simulator keeps the slave side open too, so that the
// master never sees a hang-up when a client closes the port.
struct Pty {
    int master = -1;
    int slave = -1;
    std::string slavePath;
};
bool OpenRawPty(Pty& pty, std::string& error);
// Closes both sides and removes linkPath when it still points there; pty is left empty.
void ClosePty(Pty& pty, const std::string& linkPath);
// What a client's line settings left on the pseudo-terminal's line, as
// "vstart N vstop N ixon 0|1 ixoff 0|1 crtscts 0|1" (the flow control characters in decimal).
std::string PtyLineText(int fd);

// Makes linkPath a symbolic link to target, replacing an existing symbolic link (never a file).
bool LinkPty(const std::string& linkPath, const std::string& target, std::string& error);
// Removes linkPath if it is still our symbolic link to target.
void UnlinkPty(const std::string& linkPath, const std::string& target);

// Milliseconds of the monotonic clock.
long long NowMs();

// The event log: one line per event, non-printable bytes written as \xNN.
bool OpenLog(const std::string& path);
void LogEvent(const std::string& who, const std::string& what);
void CloseLog();
