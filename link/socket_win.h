// What the two socket users share: where the discovery question goes, and waiting on a socket
// with a bound. One definition for the discovery, the TCP link and the tests that ask or route as
// they do.
#pragma once

#include <winsock2.h>

#include <cstdint>

#include "link/discovery.h"

// The instruments' discovery port at an IPv4 address given in host byte order.
inline sockaddr_in DiscoveryAddress(std::uint32_t address)
{
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(DiscoveryPort);
    to.sin_addr.s_addr = htonl(address);
    return to;
}

// The limited broadcast: every host of the network with the best route.
inline sockaddr_in DiscoveryBroadcastAddress()
{
    return DiscoveryAddress(LimitedBroadcast);
}

// Waits until the socket has something to read (data, a close or an error), at most waitMs.
inline bool WaitReadable(SOCKET socket, unsigned long waitMs)
{
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(socket, &readable);
    timeval wait{static_cast<long>(waitMs / 1000), static_cast<long>(waitMs % 1000) * 1000};
    return select(0, &readable, nullptr, nullptr, &wait) > 0;
}
