// Control channel client for tessaly-sim: one short TCP connection per request, on loopback.
#include "support/sim_control.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstdlib>

static int PortFromEnvironment(const char* name, int fallback)
{
    const char* value = std::getenv(name);
    return value != nullptr && *value != 0 ? std::atoi(value) : fallback;
}

int SimTcpPort()
{
    return PortFromEnvironment("TESSALY_SIM_TCP", 5025);
}
int SimControlPort()
{
    return PortFromEnvironment("TESSALY_SIM_CONTROL", 5026);
}

std::string SimControl(const std::string& line)
{
    return SimControlAt("127.0.0.1", SimControlPort(), line);
}

std::string SimControlAt(const std::string& host, int port, const std::string& line)
{
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(port));
    address.sin_addr.s_addr = inet_addr(host.c_str());
    std::string reply;
    if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        std::string request = line + "\n";
        send(s, request.data(), static_cast<int>(request.size()), 0);
        DWORD timeoutMs = 5000;
        setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeoutMs),
                   sizeof timeoutMs);
        char c;
        while (recv(s, &c, 1, 0) == 1 && c != '\n')
            reply += c;
    } else {
        reply = "<no control channel>";
    }
    closesocket(s);
    WSACleanup();
    return reply;
}

std::string SimRecord(const char* which)
{
    std::string hex = SimControl(which != nullptr ? std::string("record ") + which : "record");
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::strtol(hex.substr(i, 2).c_str(), nullptr, 16));
    return bytes;
}

void SimClear()
{
    SimControl("clear");
}
void SimFault(const std::string& modeAndArgument)
{
    SimControl("fault " + modeAndArgument);
}
