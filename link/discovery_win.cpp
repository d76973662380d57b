// LAN discovery over Windows Sockets: one UDP question to the limited broadcast and one to the
// broadcast address of every other network the PC is on, then every datagram that comes back
// until the network has been quiet for a second (five seconds at most), listed once each in the
// Configuration dialog's status box. The run has its own socket and its own Winsock start and
// end, so an open link is untouched. Uses only calls that Windows XP has.
#include "link/discovery.h"

#include <mswsock.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <array>
#include <cstdio>

#include "core/app_state.h"
#include "core/platform.h"
#include "link/socket_win.h"

static_assert(ReceiveErrorConnectionReset == WSAECONNRESET, "Winsock's own number");
static_assert(ReceiveErrorNetworkReset == WSAENETRESET, "Winsock's own number");

namespace
{

// A discovery that could not ask: the reason stays in the record for the caller, and a "Status"
// box tells the operator.
void FailDiscovery(const char* text)
{
    app.linkFailure = text;
    StatusBox(text);
}

// "Setsockopt Status = -1" and "sendto Status = -1": the failing call's result in decimal.
void FailDiscoveryWithResult(const char* prefix, int result)
{
    char text[48];
    std::snprintf(text, sizeof text, "%s%d", prefix, result);
    FailDiscovery(text);
}

void CloseAndCleanup(SOCKET udp)
{
    closesocket(udp);
    WSACleanup();
}

// The PC's IPv4 interfaces. None when the list cannot be had (or would not fit 64 entries): the
// limited broadcast is asked all the same.
std::vector<NetworkInterface> ListInterfaces(SOCKET udp)
{
    std::array<INTERFACE_INFO, 64> listed{};
    DWORD returned = 0;
    if (WSAIoctl(udp, SIO_GET_INTERFACE_LIST, nullptr, 0, listed.data(), sizeof listed, &returned,
                 nullptr, nullptr) != 0)
        return {};
    std::size_t count = std::min<std::size_t>(returned / sizeof(INTERFACE_INFO), listed.size());
    std::vector<NetworkInterface> interfaces;
    for (std::size_t i = 0; i < count; ++i) {
        const INTERFACE_INFO& info = listed[i];
        if (info.iiAddress.Address.sa_family != AF_INET)
            continue;
        interfaces.push_back({ntohl(info.iiAddress.AddressIn.sin_addr.s_addr),
                              ntohl(info.iiNetmask.AddressIn.sin_addr.s_addr),
                              (info.iiFlags & IFF_UP) != 0, (info.iiFlags & IFF_BROADCAST) != 0,
                              (info.iiFlags & IFF_LOOPBACK) != 0});
    }
    return interfaces;
}

// Asks every target once; the number of questions that went out, and the last failed result.
int AskEveryNetwork(SOCKET udp, int& failure)
{
    int asked = 0;
    for (std::uint32_t target : DiscoveryTargets(ListInterfaces(udp))) {
        const sockaddr_in to = DiscoveryAddress(target);
        int status = sendto(udp, DiscoveryQuestion, DiscoveryQuestionLength, 0,
                            reinterpret_cast<const sockaddr*>(&to), sizeof to);
        if (status == SOCKET_ERROR)
            failure = status;
        else
            ++asked;
    }
    return asked;
}

} // namespace

void DiscoverInstruments()
{
    app.linkFailure.clear();
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        FailDiscovery("WSAStartup failed");
        return;
    }
    SOCKET udp = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (udp == INVALID_SOCKET) {
        FailDiscovery("Socket failed to open");
        WSACleanup();
        return;
    }
    BOOL broadcast = TRUE;
    int status = setsockopt(udp, SOL_SOCKET, SO_BROADCAST,
                            reinterpret_cast<const char*>(&broadcast), sizeof broadcast);
    if (status != 0) {
        FailDiscoveryWithResult("Setsockopt Status = ", status);
        CloseAndCleanup(udp);
        return;
    }

    // A "port unreachable" that any host sends back for the broadcast would otherwise make the
    // next receive fail at once. Not checked: where the socket's provider cannot turn that off,
    // such a failure keeps the collection going all the same (DiscoveryGoesOnAfter).
    BOOL reportUnreachable = FALSE;
    DWORD returned = 0;
    WSAIoctl(udp, SIO_UDP_CONNRESET, &reportUnreachable, sizeof reportUnreachable, nullptr, 0,
             &returned, nullptr, nullptr);

    // The failure is told only when no question at all could go out: a network that cannot be
    // reached beside one that can is no failure of the run.
    int failure = 0;
    if (AskEveryNetwork(udp, failure) == 0) {
        FailDiscoveryWithResult("sendto Status = ", failure);
        CloseAndCleanup(udp);
        return;
    }

    std::array<char, DiscoveryBufferSize> buffer{};
    BeginDiscoveryText();
    int replies = 0;
    const DWORD start = GetTickCount();
    for (;;) {
        // Every receive waits here first, so it never blocks: the quiet second, or what is left
        // of the run's limit, ends the collection.
        int waitMs = DiscoveryWaitMs(GetTickCount() - start);
        if (waitMs == 0 || !WaitReadable(udp, static_cast<unsigned long>(waitMs)))
            break;
        sockaddr_in sender{};
        int senderLength = sizeof sender;
        int received = recvfrom(udp, buffer.data(), DiscoveryBufferSize, 0,
                                reinterpret_cast<sockaddr*>(&sender), &senderLength);
        if (received == SOCKET_ERROR) {
            if (DiscoveryGoesOnAfter(WSAGetLastError()))
                continue;
            break; // any other receive error ends the collection
        }
        if (AddDiscoveryReply(reinterpret_cast<const unsigned char*>(&sender.sin_addr),
                              buffer.data(), static_cast<std::size_t>(received)))
            ++replies;
    }
    EndDiscoveryText(replies);
    SetStatusText(app.DiscoveryText.c_str());
    CloseAndCleanup(udp);
}
