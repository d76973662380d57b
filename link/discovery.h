// LAN discovery of instruments: the UDP question, how each datagram that comes back is read, and
// the result text shown in the Configuration dialog's status box. The socket work is in
// discovery_win.cpp; everything decided about the bytes is here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The question, without a terminating zero, sent once per run to 255.255.255.255 on this port and
// once to the broadcast address of each network the PC is on (DiscoveryTargets).
constexpr char DiscoveryQuestion[] = "Discovery: Who is out there?";
constexpr int DiscoveryQuestionLength = sizeof DiscoveryQuestion - 1;
constexpr unsigned short DiscoveryPort = 30303;

// Receive buffer size; larger than any UDP datagram can be.
constexpr int DiscoveryBufferSize = 65536;

// A run ends when no datagram has come for this long, and in any case this long after it began,
// so that a host that keeps sending cannot hold it for good. Well above the time an instrument
// takes to answer.
constexpr int DiscoveryQuietMs = 1000;
constexpr int DiscoveryLimitMs = 5000;

// How long the run waits for the next datagram, elapsedMs after it began: the quiet second, cut
// short by the overall limit; 0 when the run is over.
int DiscoveryWaitMs(std::uint32_t elapsedMs);

// One IPv4 interface as the system lists it; addresses and masks in host byte order.
struct NetworkInterface {
    std::uint32_t address;
    std::uint32_t mask;
    bool up;
    bool canBroadcast;
    bool loopback;
};
constexpr std::uint32_t LimitedBroadcast = 0xFFFFFFFF;

// Where the question goes, in host byte order: the limited broadcast first (the network of the
// interface with the best route), then the broadcast address of every other network of an
// interface that is up and can broadcast (192.168.7.255 for 192.168.7.20/24), each address once.
// A PC on two networks (office Wi-Fi and a cable to the instrument) asks both.
std::vector<std::uint32_t> DiscoveryTargets(const std::vector<NetworkInterface>& interfaces);

// Winsock errors with which a receive can fail although replies are still coming: the socket
// was told of a "port unreachable" (WSAECONNRESET) or a "time to live exceeded" (WSAENETRESET)
// that some host sent back for the broadcast question.
constexpr int ReceiveErrorConnectionReset = 10054;
constexpr int ReceiveErrorNetworkReset = 10052;

// Whether the collection goes on after a receive that failed with the Winsock error
// receiveError: it does after those reports, which concern one other host only; every other
// failure, the quiet second included, ends it.
bool DiscoveryGoesOnAfter(int receiveError);

constexpr char DiscoveryHeader[] = " Devices Discovered:\r\n----------";
constexpr char NoDevicesText[] = " No Devices Discovered";

// One datagram as a list entry: its sender address, then the host name (payload bytes up to the
// first carriage return) and the MAC address text (bytes after that carriage return up to the
// next one). Only the `received` bytes of the payload are read: a field that reaches the end of
// the datagram ends there, and a datagram without any carriage return is all host name with an
// empty MAC address. A zero byte in a field is shown as a space, because the status box would
// otherwise end its whole text at it and hide every later entry.
std::string DiscoveryEntry(const unsigned char sourceAddress[4], const char* payload,
                           std::size_t received);

// The same datagram as one line for a script: the sender address, host name and MAC address text
// split as above, separated by tabs, with every control byte of the payload written as \xHH and
// a backslash as two, so that no byte a responder sends can break the line or its fields.
std::string DiscoveryLine(const unsigned char sourceAddress[4], const char* payload,
                          std::size_t received);

// Builds app.DiscoveryText over one run: the header, one entry per datagram, and at the end,
// when no datagram came at all, the "no devices" text in place of the whole list. Each datagram's
// line goes to app.DiscoveryLines as well.
// A reply that comes again (the same bytes from the same address, as when both questions reached
// one instrument) is listed once: AddDiscoveryReply returns false for it and adds nothing.
void BeginDiscoveryText();
bool AddDiscoveryReply(const unsigned char sourceAddress[4], const char* payload,
                       std::size_t received);
void EndDiscoveryText(int replies);

// Runs one discovery (Windows Sockets) and shows the result in the Configuration dialog.
void DiscoverInstruments();
