// The simulated instrument's side of the LAN discovery: recognising the UDP question and
// building the reply datagrams, including the malformed replies that tests ask for.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

constexpr int DiscoveryPort = 30303;
constexpr size_t DiscoveryQuestionLength = 28;
constexpr char DiscoveryQuestion[] = "Discovery: Who is out there?";
constexpr size_t DiscoveryDatagramMax = 65507; // largest UDP payload over IPv4

enum class DiscoveryKind : int {
    Normal,
    CrLf,
    NoCr,
    Short,
    Huge,
    HugeName,
    Other,
    Empty,
    Silent,
    Burst
};

struct DiscoveryFault {
    DiscoveryKind kind = DiscoveryKind::Normal;
    int count = 1; // datagrams for burst
};

// Reads "none", "crlf", "nocr", "short", "huge", "hugename", "other", "empty", "silent", "burst N".
bool ParseDiscoveryFault(const std::string& text, DiscoveryFault& out);
std::string DiscoveryFaultText(const DiscoveryFault& fault);

// True when the datagram is exactly the 28-byte question.
bool IsDiscoveryQuestion(const char* data, size_t length);

// The datagrams to send back to the asker.
std::vector<std::string> DiscoveryReplies(const DiscoveryFault& fault, const std::string& host,
                                          const std::string& mac);
