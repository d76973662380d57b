// Where the discovery question goes: the limited broadcast (every host of the local network) on
// the instruments' discovery port. One definition for the discovery and for the tests that ask or
// route as it does.
#pragma once

#include <winsock2.h>

#include "link/discovery.h"

inline sockaddr_in DiscoveryBroadcastAddress()
{
    sockaddr_in everyone{};
    everyone.sin_family = AF_INET;
    everyone.sin_port = htons(DiscoveryPort);
    everyone.sin_addr.s_addr = htonl(INADDR_BROADCAST);
    return everyone;
}
