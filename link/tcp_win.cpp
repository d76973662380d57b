// The TCP link: a plain client connection to the instrument. An answer is one line: it is
// gathered from as many segments as it takes, up to its line feed, the buffer's 100 bytes, or five
// seconds from the start of the receive; what follows the line feed stays for later, held in the
// record when it came in the same segment, else queued in the socket.
#include <ws2tcpip.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "core/app_state.h"
#include "core/platform.h"
#include "link/link.h"
#include "link/send_whole.h"
#include "link/socket_win.h"

namespace
{

void FailWithEthTimeout()
{
    app.ResponseBuffer.fill(0);
    std::memcpy(app.ResponseBuffer.data(), EthTimeoutText, sizeof EthTimeoutText);
}

bool SocketOpen()
{
    return app.tcpSocket != INVALID_SOCKET;
}

// Bytes still held or queued from an earlier answer (the rest of one longer than the buffer, or
// one that came after its time-out) belong to that earlier command: they are dropped before a new
// command goes out, so that they are never shown as its answer. "Read", which sends nothing,
// still fetches them.
void DropQueuedInput()
{
    app.tcpHeld.clear();
    char scratch[512];
    u_long queued = 0;
    while (ioctlsocket(app.tcpSocket, FIONREAD, &queued) == 0 && queued > 0) {
        int wanted = static_cast<int>(std::min<u_long>(queued, sizeof scratch));
        if (recv(app.tcpSocket, scratch, wanted, 0) <= 0)
            return;
    }
}

// Appends received bytes to the answer at answer[received], as many as its room takes, up to and
// including the first line feed among them; the rest are held for the next receive. True when the
// answer is whole: ended by a line feed or filling the buffer.
bool TakeUpToLineFeed(const char* from, int count, char* answer, int& received)
{
    int looked = std::min(count, ResponseBufferSize - received);
    const char* lineFeed = static_cast<const char*>(std::memchr(from, '\n', looked));
    int taken = lineFeed != nullptr ? static_cast<int>(lineFeed - from) + 1 : looked;
    std::memcpy(answer + received, from, taken);
    received += taken;
    app.tcpHeld.assign(from + taken, from + count);
    return lineFeed != nullptr || received == ResponseBufferSize;
}

} // namespace

bool TcpConnect(const char* address, const char* port)
{
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        app.linkFailure = "WSAStartup failed";
        return false;
    }
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    addrinfo* results = nullptr;
    if (getaddrinfo(address, port, &hints, &results) != 0) {
        app.linkFailure = "getaddrinfo failed";
        WSACleanup();
        return false;
    }
    // Every address in the resolver's order until one connects: a host name often comes back
    // with an IPv6 address first, where an instrument may speak IPv4 only.
    bool socketMade = false;
    app.tcpSocket = INVALID_SOCKET;
    app.tcpHeld.clear(); // nothing of an earlier connection is an answer on this one
    for (addrinfo* address = results; address != nullptr && !SocketOpen();
         address = address->ai_next) {
        SOCKET candidate = socket(address->ai_family, address->ai_socktype, address->ai_protocol);
        if (candidate == INVALID_SOCKET)
            continue;
        socketMade = true;
        if (connect(candidate, address->ai_addr, static_cast<int>(address->ai_addrlen)) == 0)
            app.tcpSocket = candidate;
        else
            closesocket(candidate);
    }
    freeaddrinfo(results);
    if (!SocketOpen()) {
        app.linkFailure = socketMade ? "Unable to connect to server" : "Error opening socket";
        WSACleanup();
        return false;
    }
    // A backstop only: every receive waits for readability first (WaitReadable), so this
    // time-out never ends a receive, which would leave the socket in an undefined state.
    DWORD timeoutMs = TcpReceiveTimeoutMs;
    setsockopt(app.tcpSocket, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeoutMs),
               sizeof timeoutMs);
    return true;
}

// Run by the link rules on an open TCP link only. The socket is forgotten once closed, whatever
// the shutdown's outcome, so that nothing uses the closed handle again; a link whose socket is
// already gone is simply let go.
bool TcpDisconnect()
{
    if (!SocketOpen())
        return true;
    bool shut = shutdown(app.tcpSocket, SD_SEND) != SOCKET_ERROR;
    if (!shut)
        app.linkFailure = "Shutdown failed";
    closesocket(app.tcpSocket);
    app.tcpSocket = INVALID_SOCKET;
    WSACleanup();
    return shut;
}

void TcpSend()
{
    const char* begin = app.CommandBuffer.data();
    int length = static_cast<int>(std::find(begin, begin + CommandBufferSize, 0) - begin);
    int error = WSAENOTSOCK;
    if (SocketOpen()) {
        DropQueuedInput();
        // A blocking send may take fewer bytes than it is given: the rest follows until the
        // whole command is out.
        if (SendWhole(begin, length, [](const char* from, int count) {
                return send(app.tcpSocket, from, count, 0);
            }))
            return;
        error = WSAGetLastError();
    }
    // Not for the operator, who learns of the failure from the next answer, which the closed link
    // gives as "Eth Timeout".
    LinkNote(("send failed: " + std::to_string(error)).c_str());
    app.linkGone = 1;
}

void TcpReceive()
{
    if (!SocketOpen()) {
        FailWithEthTimeout();
        return;
    }
    char* answer = app.ResponseBuffer.data();
    int received = 0;
    // What came after the line feed of the previous answer is the start of this one.
    std::string held;
    held.swap(app.tcpHeld);
    if (TakeUpToLineFeed(held.data(), static_cast<int>(held.size()), answer, received))
        return;
    DWORD start = GetTickCount();
    while (received < ResponseBufferSize) {
        // Every receive, the first included, waits for what is left of the five seconds here,
        // so that it never blocks: it finds data, the peer's close or an error.
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= static_cast<DWORD>(TcpReceiveTimeoutMs) ||
            !WaitReadable(app.tcpSocket, TcpReceiveTimeoutMs - elapsed))
            break;
        // One receive takes what has come, up to the buffer's room; the bytes after a line feed
        // among them are held for the next receive.
        char segment[ResponseBufferSize];
        int count = recv(app.tcpSocket, segment, ResponseBufferSize - received, 0);
        if (count == 0 && received == 0) {
            app.linkFailure = PeerClosedText;
            app.peerClosed = 1;
            return;
        }
        if (count <= 0 || TakeUpToLineFeed(segment, count, answer, received))
            break;
    }
    if (received == 0)
        FailWithEthTimeout();
}
