// Reading discovery replies and building the list shown to the operator.
#include "link/discovery.h"

#include <algorithm>
#include <cstdio>

#include "core/app_state.h"

namespace
{

constexpr char CarriageReturn = '\r';

// Appends payload bytes [begin, end) to text, a zero byte as a space.
void AppendField(std::string& text, const char* begin, const char* end)
{
    std::size_t start = text.size();
    text.append(begin, end);
    std::replace(text.begin() + static_cast<std::ptrdiff_t>(start), text.end(), '\0', ' ');
}

// The two fields of a reply: the host name up to the first carriage return, the MAC address text
// after it up to the next one, neither reaching past the bytes received.
struct ReplyFields {
    const char* hostBegin;
    const char* hostEnd;
    const char* macBegin;
    const char* macEnd;
};

ReplyFields SplitReply(const char* payload, std::size_t received)
{
    const char* end = payload + received;
    const char* hostEnd = std::find(payload, end, CarriageReturn);
    const char* macBegin = hostEnd == end ? end : hostEnd + 1;
    return {payload, hostEnd, macBegin, std::find(macBegin, end, CarriageReturn)};
}

std::string AddressText(const unsigned char sourceAddress[4])
{
    std::string text;
    for (int i = 0; i < 4; ++i) {
        if (i > 0)
            text += '.';
        text += std::to_string(sourceAddress[i]);
    }
    return text;
}

// Appends payload bytes [begin, end) to a line of text: a control byte (a tab, which separates
// the fields, and a line feed, which would end the line, among them) as \xHH, a backslash as \\.
void AppendEscaped(std::string& line, const char* begin, const char* end)
{
    for (const char* p = begin; p != end; ++p) {
        unsigned char c = static_cast<unsigned char>(*p);
        if (c < 0x20 || c == 0x7F) {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            line += hex;
        } else {
            if (c == '\\')
                line += '\\';
            line += static_cast<char>(c);
        }
    }
}

} // namespace

std::string DiscoveryEntry(const unsigned char sourceAddress[4], const char* payload,
                           std::size_t received)
{
    ReplyFields fields = SplitReply(payload, received);
    std::string entry = "\r\n IP Address: " + AddressText(sourceAddress);
    entry += "\r\n \r\n Host Name: ";
    AppendField(entry, fields.hostBegin, fields.hostEnd);
    entry += "\r\n \r\n MAC Address: ";
    AppendField(entry, fields.macBegin, fields.macEnd);
    entry += "\r\n----------";
    return entry;
}

std::string DiscoveryLine(const unsigned char sourceAddress[4], const char* payload,
                          std::size_t received)
{
    ReplyFields fields = SplitReply(payload, received);
    std::string line = AddressText(sourceAddress) + '\t';
    AppendEscaped(line, fields.hostBegin, fields.hostEnd);
    line += '\t';
    AppendEscaped(line, fields.macBegin, fields.macEnd);
    return line;
}

int DiscoveryWaitMs(std::uint32_t elapsedMs)
{
    if (elapsedMs >= static_cast<std::uint32_t>(DiscoveryLimitMs))
        return 0;
    return std::min(DiscoveryQuietMs, DiscoveryLimitMs - static_cast<int>(elapsedMs));
}

std::vector<std::uint32_t> DiscoveryTargets(const std::vector<NetworkInterface>& interfaces)
{
    std::vector<std::uint32_t> targets = {LimitedBroadcast};
    for (const NetworkInterface& i : interfaces) {
        // A /31 or /32 has no broadcast address of its own.
        bool hasBroadcast = (~i.mask & ~std::uint32_t(1)) != 0;
        if (!i.up || !i.canBroadcast || i.loopback || !hasBroadcast)
            continue;
        std::uint32_t broadcast = (i.address & i.mask) | ~i.mask;
        if (std::find(targets.begin(), targets.end(), broadcast) == targets.end())
            targets.push_back(broadcast);
    }
    return targets;
}

bool DiscoveryGoesOnAfter(int receiveError)
{
    return receiveError == ReceiveErrorConnectionReset || receiveError == ReceiveErrorNetworkReset;
}

void BeginDiscoveryText()
{
    app.DiscoveryText = DiscoveryHeader;
    app.DiscoveryLines.clear();
    app.DiscoveryReplies.clear();
}

bool AddDiscoveryReply(const unsigned char sourceAddress[4], const char* payload,
                       std::size_t received)
{
    std::string reply(reinterpret_cast<const char*>(sourceAddress), 4);
    reply.append(payload, received);
    if (!app.DiscoveryReplies.insert(std::move(reply)).second)
        return false;
    app.DiscoveryText += DiscoveryEntry(sourceAddress, payload, received);
    app.DiscoveryLines.push_back(DiscoveryLine(sourceAddress, payload, received));
    return true;
}

void EndDiscoveryText(int replies)
{
    if (replies == 0)
        app.DiscoveryText = NoDevicesText;
}
