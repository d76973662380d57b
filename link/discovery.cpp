// Reading discovery replies and building the list shown to the operator.
#include "link/discovery.h"

#include <algorithm>

#include "app/app_state.h"

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

} // namespace

std::string DiscoveryEntry(const unsigned char sourceAddress[4], const char* payload,
                           std::size_t received)
{
    const char* end = payload + received;
    const char* hostEnd = std::find(payload, end, CarriageReturn);
    const char* macBegin = hostEnd == end ? end : hostEnd + 1;
    const char* macEnd = std::find(macBegin, end, CarriageReturn);

    std::string entry = "\r\n IP Address: ";
    for (int i = 0; i < 4; ++i) {
        if (i > 0)
            entry += '.';
        entry += std::to_string(sourceAddress[i]);
    }
    entry += "\r\n \r\n Host Name: ";
    AppendField(entry, payload, hostEnd);
    entry += "\r\n \r\n MAC Address: ";
    AppendField(entry, macBegin, macEnd);
    entry += "\r\n----------";
    return entry;
}

bool DiscoveryGoesOnAfter(int receiveError)
{
    return receiveError == ReceiveErrorConnectionReset || receiveError == ReceiveErrorNetworkReset;
}

void BeginDiscoveryText()
{
    app.DiscoveryText = DiscoveryHeader;
}

void AddDiscoveryReply(const unsigned char sourceAddress[4], const char* payload,
                       std::size_t received)
{
    app.DiscoveryText += DiscoveryEntry(sourceAddress, payload, received);
}

void EndDiscoveryText(int replies)
{
    if (replies == 0)
        app.DiscoveryText = NoDevicesText;
}
