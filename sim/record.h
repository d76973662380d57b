// The record of every byte the simulated instrument received on its instrument connections, in
// order of arrival, so that tests can compare it with what the program meant to send.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

enum class LinkKind : int { Tcp, Serial };

// Bytes that arrived in a row on one connection.
struct RecordSegment {
    int connection = 0; // 0 for the serial line, 1 and up for TCP connections in order of accept
    LinkKind kind = LinkKind::Tcp;
    std::string bytes;
};

struct Records {
    std::vector<RecordSegment> segments;
    size_t total = 0;
};

constexpr size_t RecordBytesMax = size_t{64} << 20; // bytes beyond this are not kept

void RecordReceived(Records& records, int connection, LinkKind kind, const char* data,
                    size_t length);

// Lower-case hex of the recorded bytes that pass the filter: "" for all, "tcp", "serial", or a
// connection number. False when the filter is not one of these.
bool RecordHex(const Records& records, const std::string& filter, std::string& hex);
