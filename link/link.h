// The two instrument links: a serial port (RS-232 or a USB virtual COM port) and a TCP client
// connection. Both move the bytes of the CommandBuffer out and one answer into the ResponseBuffer,
// leaving a failure text there when they cannot.
#pragma once

#include <cstdint>
#include <string>

constexpr int PortCount = 26;

// Positions of the Configuration dialog's connection kind list, and the position read when no
// kind is chosen.
constexpr int NoLinkKind = -1;
constexpr int Rs232Kind = 0;
constexpr int UsbKind = 1;
constexpr int EthernetKind = 2;
constexpr int LinkKindCount = 3;

// The texts a link leaves in the ResponseBuffer in place of an answer when it fails, copied with
// their terminators: a TCP answer that did not come, a serial write or read that failed.
constexpr char EthTimeoutText[] = "Eth Timeout";
constexpr char WriteFailureText[] = "Write Comport Failure";
constexpr char ReadFailureText[] = "Read Comport Failure";
// What tessaly-cmd shows in place of an answer while an instrument's link is down and waits to be
// opened again (--reconnect); no link operation leaves it.
constexpr char LinkDownText[] = "Link Down";
// The "Status" text of a TCP receive that found the connection closed by the instrument.
constexpr char PeerClosedText[] = "Ethernet Connection Closed";

// The Comport choice 0 to 25: its label in the Comport box ("0" to "25") and the device name
// that opens it ("COM0" to "COM9", then "\\.\COM10" to "\\.\COM25").
std::string PortLabel(int port);
std::string PortDeviceName(int port);

// The link operations. They leave the flags connected and linkIsTcp to the link rules
// (link/link_rules.h), which run them through RunLinkStep.
//
// Serial link (Win32 comm API, overlapped input and output). SerialOpen opens the device of the
// Comport choice portIndex. With lineSettings (RS-232) it sets the rate of the Baud Rate choice
// baudIndex (the default rate when that is out of range), 8 data bits, no parity and one stop bit;
// without (a USB virtual port) the port keeps the settings it has. False when it failed (a "Status"
// box has said why).
bool SerialOpen(int portIndex, bool lineSettings, int baudIndex);
// Closes the port, when one is held, and forgets its handle.
void SerialClose();
void SerialWrite();
void SerialRead();

// TCP link (Windows Sockets 2.2). TcpConnect takes the instrument's address (an IPv4 or IPv6
// address or a host name) and TCP port (a number or a service name) as the operator typed them.
bool TcpConnect(const char* address, const char* port);
// Closes the sending direction and the socket; false when the shutdown failed (the link stays
// open), true when the link is let go.
bool TcpDisconnect();
void TcpSend();
void TcpReceive();

// How long one TCP answer may take to arrive, from the start of the receive.
constexpr int TcpReceiveTimeoutMs = 5000;
