// LAN discovery over Windows Sockets: one UDP broadcast question, then every datagram that comes
// back until the network has been quiet for a second, listed in the Configuration dialog's status
// box. The run has its own socket and its own Winsock start and end, so an open link is untouched.
// Uses only calls that Windows XP has.
#include "link/discovery.h"

#include <mswsock.h>

#include <array>
#include <cstdio>

#include "core/app_state.h"
#include "core/platform.h"
#include "link/discovery_address_win.h"

static_assert(ReceiveErrorConnectionReset == WSAECONNRESET, "Winsock's own number");
static_assert(ReceiveErrorNetworkReset == WSAENETRESET, "Winsock's own number");

namespace
{

// "Setsockopt Status = -1" and "sendto Status = -1": the failing call's result in decimal.
void StatusBoxWithResult(const char* prefix, int result)
{
    char text[48];
    std::snprintf(text, sizeof text, "%s%d", prefix, result);
    StatusBox(text);
}

void CloseAndCleanup(SOCKET udp)
{
    closesocket(udp);
    WSACleanup();
}

} // namespace

void DiscoverInstruments()
{
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        StatusBox("WSAStartup failed");
        return;
    }
    SOCKET udp = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (udp == INVALID_SOCKET) {
        StatusBox("Socket failed to open");
        WSACleanup();
        return;
    }
    BOOL broadcast = TRUE;
    int status = setsockopt(udp, SOL_SOCKET, SO_BROADCAST,
                            reinterpret_cast<const char*>(&broadcast), sizeof broadcast);
    if (status != 0) {
        StatusBoxWithResult("Setsockopt Status = ", status);
        CloseAndCleanup(udp);
        return;
    }
    // Not checked: a new datagram socket that took SO_BROADCAST takes a receive time-out too.
    DWORD quietMs = DiscoveryQuietMs;
    setsockopt(udp, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&quietMs),
               sizeof quietMs);

    // A "port unreachable" that any host sends back for the broadcast would otherwise make the
    // next receive fail at once. Not checked: where the socket's provider cannot turn that off,
    // such a failure keeps the collection going all the same (DiscoveryGoesOnAfter).
    BOOL reportUnreachable = FALSE;
    DWORD returned = 0;
    WSAIoctl(udp, SIO_UDP_CONNRESET, &reportUnreachable, sizeof reportUnreachable, nullptr, 0,
             &returned, nullptr, nullptr);

    const sockaddr_in everyone = DiscoveryBroadcastAddress();
    status = sendto(udp, DiscoveryQuestion, DiscoveryQuestionLength, 0,
                    reinterpret_cast<const sockaddr*>(&everyone), sizeof everyone);
    if (status == SOCKET_ERROR) {
        StatusBoxWithResult("sendto Status = ", status);
        CloseAndCleanup(udp);
        return;
    }

    std::array<char, DiscoveryBufferSize> buffer{};
    BeginDiscoveryText();
    int replies = 0;
    for (;;) {
        sockaddr_in sender{};
        int senderLength = sizeof sender;
        int received = recvfrom(udp, buffer.data(), DiscoveryBufferSize, 0,
                                reinterpret_cast<sockaddr*>(&sender), &senderLength);
        if (received == SOCKET_ERROR) {
            if (DiscoveryGoesOnAfter(WSAGetLastError()))
                continue;
            break; // a quiet second, or any other receive error, ends the collection
        }
        AddDiscoveryReply(reinterpret_cast<const unsigned char*>(&sender.sin_addr), buffer.data(),
                          static_cast<std::size_t>(received));
        ++replies;
    }
    EndDiscoveryText(replies);
    SetStatusText(app.DiscoveryText.c_str());

    CloseAndCleanup(udp);
}
