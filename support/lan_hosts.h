// The simulated instruments that scripts/netns.sh starts as hosts of their own on a private
// bridge, and how the discovery tests talk to them and read a discovery's result text.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct Host {
    std::string name, address, mac;
    int controlPort;
};

// The hosts named in TESSALY_LAN_HOSTS as "NAME,ADDRESS,MAC,PORT" words.
std::vector<Host> LanHosts();

// One line to a host's control channel; its reply line.
std::string HostControl(const Host& host, const std::string& line);

// The result text's entry for one reply.
std::string Entry(const std::string& address, const std::string& host, const std::string& mac);

// The entries of a result text, each from its "\r\n IP Address: " on, in the order shown.
std::vector<std::string> EntriesOf(const std::string& text);

// A stand-in for the Configuration dialog whose only child is a status box (IDC_STATUS_TEXT) styled
// as the real one: multi-line, read-only, scrolling sideways, never wrapping. nullptr on failure.
HWND MakeStandInDialog(const char* statusText = "");
