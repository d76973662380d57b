// Recording of received bytes per connection and in one combined order.
#include "sim/record.h"

#include <cstdlib>

void RecordReceived(Records& records, int connection, LinkKind kind, const char* data,
                    size_t length)
{
    if (records.total >= RecordBytesMax)
        return;
    if (length > RecordBytesMax - records.total)
        length = RecordBytesMax - records.total;
    records.total += length;
    if (records.segments.empty() || records.segments.back().connection != connection ||
        records.segments.back().kind != kind)
        records.segments.push_back(RecordSegment{connection, kind, ""});
    records.segments.back().bytes.append(data, length);
}

bool RecordHex(const Records& records, const std::string& filter, std::string& hex)
{
    bool all = filter.empty();
    bool tcp = filter == "tcp";
    bool serial = filter == "serial";
    long connection = -1;
    if (!all && !tcp && !serial) {
        char* end = nullptr;
        connection = std::strtol(filter.c_str(), &end, 10);
        if (*end != '\0' || connection < 0)
            return false;
    }
    static constexpr char digits[] = "0123456789abcdef";
    hex.clear();
    for (const RecordSegment& s : records.segments) {
        const bool wanted = all || (tcp && s.kind == LinkKind::Tcp) ||
                            (serial && s.kind == LinkKind::Serial) || s.connection == connection;
        if (!wanted)
            continue;
        for (char c : s.bytes) {
            const auto byte = static_cast<unsigned char>(c);
            hex += digits[byte >> 4];
            hex += digits[byte & 15];
        }
    }
    return true;
}
