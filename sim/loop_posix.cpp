// Event loop of the simulated instrument: accepts TCP and control connections, reads command
// lines from them and from the pseudo-terminal, answers through the fault shaping at the
// scheduled times, and answers discovery questions.
#include "sim/loop_posix.h"

#include <algorithm>
#include <arpa/inet.h>
#include <array>
#include <cerrno>
#include <csignal>
#include <deque>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

#include "sim/control.h"

namespace
{

constexpr size_t LineMax = 4096; // a longer line is dropped with an input overrun error
constexpr size_t ReadChunk = 4096;
constexpr size_t DatagramMax = 65536;
constexpr size_t PendingMax = size_t{64} << 20; // answers not yet taken off the pty

enum class ChannelKind : int { Tcp, Serial, Control };

// Bytes waiting to be written at a time; after the last byte the channel closes if asked.
struct Pending {
    long long due = 0;
    std::string bytes;
    size_t sent = 0;
    bool closeAfter = false;
};

// One open byte stream: an instrument TCP connection, the pty, or a control connection.
struct Channel {
    int fd = -1;
    int id = 0;
    ChannelKind kind = ChannelKind::Tcp;
    std::string input;
    bool overrun = false;
    std::deque<Pending> output;
    size_t pendingBytes = 0;
    bool closed = false;
};

volatile sig_atomic_t stopSignal = 0;
sigset_t loopMask; // the signal mask while waiting in ppoll: the stop signals let through

void OnStopSignal(int)
{
    stopSignal = 1;
}

std::string ChannelName(const Channel& ch)
{
    switch (ch.kind) {
    case ChannelKind::Tcp:
        return "tcp#" + std::to_string(ch.id);
    case ChannelKind::Serial:
        return "serial";
    case ChannelKind::Control:
        return "control";
    }
    return "?";
}

void Enqueue(Channel& ch, long long due, const std::string& bytes, bool closeAfter)
{
    if (ch.pendingBytes + bytes.size() > PendingMax)
        return; // nobody reads the pty: drop rather than grow without end
    ch.pendingBytes += bytes.size();
    ch.output.push_back(Pending{due, bytes, 0, closeAfter});
}

// Writes what is due; stops at the first write that would block.
void PumpOutput(Channel& ch, long long now)
{
    while (!ch.closed && !ch.output.empty() && ch.output.front().due <= now) {
        Pending& p = ch.output.front();
        while (p.sent < p.bytes.size()) {
            const char* data = p.bytes.data() + p.sent;
            const size_t left = p.bytes.size() - p.sent;
            const ssize_t n = ch.kind == ChannelKind::Serial
                                  ? write(ch.fd, data, left)
                                  : send(ch.fd, data, left, MSG_NOSIGNAL);
            if (n > 0) {
                p.sent += static_cast<size_t>(n);
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
                return;
            if (ch.kind != ChannelKind::Serial)
                ch.closed = true;
            return;
        }
        if (p.closeAfter) {
            LogEvent(ChannelName(ch), "closed by fault");
            ch.closed = true;
            return;
        }
        ch.pendingBytes -= p.bytes.size();
        ch.output.pop_front();
    }
}

void AnswerInstrumentLine(SimState& sim, Channel& ch, const std::string& line, long long now)
{
    LogEvent(ChannelName(ch) + " <", line);
    const ScpiResult result = ExecuteScpi(sim.instrument, line);
    if (!result.answered)
        return;
    LogEvent(ChannelName(ch) + " >", result.answer + " [" + FaultText(sim.fault) + "]");
    for (const AnswerPiece& piece : ShapeAnswer(sim.fault, result.answer, sim.lineEnd, sim.rng)) {
        // The serial line cannot be closed by the instrument: there the close is left out, so
        // "close" leaves it silent.
        const bool close = piece.closeAfter && ch.kind != ChannelKind::Serial;
        if (piece.bytes.empty() && !close)
            continue;
        Enqueue(ch, now + piece.atMs, piece.bytes, close);
    }
}

void FlushInstrumentOutput(std::vector<Channel>& channels, const Endpoints& endpoints)
{
    for (Channel& ch : channels) {
        if (ch.kind == ChannelKind::Control)
            continue;
        ch.output.clear();
        ch.pendingBytes = 0;
    }
    if (endpoints.pty.slave >= 0)
        tcflush(endpoints.pty.slave, TCIOFLUSH);
}

Channel SerialChannel(const Endpoints& endpoints)
{
    Channel serial;
    serial.fd = endpoints.pty.master;
    serial.kind = ChannelKind::Serial;
    return serial;
}

// The pseudo-terminal pulled out like a USB adapter: both its sides closed and its link removed,
// so that a client's open handle is left on a hung-up line and a new open finds nothing; or
// plugged back in, as a new pseudo-terminal linked where the old one was.
void ChangePty(SimState& sim, std::vector<Channel>& channels, Endpoints& endpoints)
{
    const SimState::PlugChange change = sim.ptyChange;
    sim.ptyChange = SimState::PlugChange::None;
    if (change == SimState::PlugChange::Unplug && endpoints.pty.master >= 0) {
        for (Channel& ch : channels) {
            if (ch.kind == ChannelKind::Serial) {
                ch.closed = true;
                ch.fd = -1;
            }
        }
        ClosePty(endpoints.pty, endpoints.ptyLink);
        LogEvent("serial", "unplugged");
    }
    std::string error;
    if (change == SimState::PlugChange::Plug && endpoints.pty.master < 0 &&
        !endpoints.ptyLink.empty()) {
        if (OpenRawPty(endpoints.pty, error) &&
            LinkPty(endpoints.ptyLink, endpoints.pty.slavePath, error)) {
            channels.push_back(SerialChannel(endpoints));
            LogEvent("serial", "plugged in as " + endpoints.pty.slavePath);
        } else {
            ClosePty(endpoints.pty, "");
            LogEvent("serial", error);
        }
    }
    sim.ptyPresent = endpoints.pty.master >= 0;
}

// The TCP side's cable pulled: every instrument connection closed and the listening socket too, so
// that a client's next send or read finds the peer gone and a new connect is refused; or put back:
// listening again where it was.
void ChangeTcp(SimState& sim, std::vector<Channel>& channels, Endpoints& endpoints)
{
    const SimState::PlugChange change = sim.tcpChange;
    sim.tcpChange = SimState::PlugChange::None;
    if (change == SimState::PlugChange::Unplug && endpoints.tcpListen >= 0) {
        for (Channel& ch : channels) {
            if (ch.kind == ChannelKind::Tcp)
                ch.closed = true;
        }
        close(endpoints.tcpListen);
        endpoints.tcpListen = -1;
        LogEvent("tcp", "unplugged");
    }
    std::string error;
    if (change == SimState::PlugChange::Plug && endpoints.tcpListen < 0 && endpoints.tcpPort > 0) {
        endpoints.tcpListen = ListenTcp(endpoints.tcpBind, endpoints.tcpPort, error);
        LogEvent("tcp", endpoints.tcpListen >= 0 ? "plugged in" : error);
    }
    sim.tcpPresent = endpoints.tcpListen >= 0;
}

void HandleLine(SimState& sim, std::vector<Channel>& channels, Channel& ch, std::string line,
                Endpoints& endpoints, long long now)
{
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    if (ch.kind != ChannelKind::Control) {
        AnswerInstrumentLine(sim, ch, line, now);
        return;
    }
    LogEvent("control <", line);
    sim.ptyLine = PtyLineText(endpoints.pty.slave);
    const std::string reply = RunControlCommand(sim, line);
    LogEvent("control >", reply.size() > 200 ? reply.substr(0, 200) + "..." : reply);
    Enqueue(ch, now, reply + "\n", false);
    if (sim.flushRequested) {
        FlushInstrumentOutput(channels, endpoints);
        sim.flushRequested = false;
    }
    // Last: a new channel may move the others, ch among them.
    ChangeTcp(sim, channels, endpoints);
    ChangePty(sim, channels, endpoints);
}

// Splits the input at line feeds and handles each complete line.
void TakeLines(SimState& sim, std::vector<Channel>& channels, size_t index, Endpoints& endpoints,
               long long now)
{
    size_t end = 0;
    while ((end = channels[index].input.find('\n')) != std::string::npos) {
        Channel& ch = channels[index];
        std::string line = ch.input.substr(0, end);
        ch.input.erase(0, end + 1);
        if (ch.overrun) {
            ch.overrun = false;
            LogEvent(ChannelName(ch), "line too long, dropped");
            if (ch.kind != ChannelKind::Control)
                PushError(sim.instrument, -363);
            continue;
        }
        HandleLine(sim, channels, ch, line, endpoints, now);
    }
    Channel& ch = channels[index];
    if (ch.input.size() > LineMax) {
        ch.input.clear();
        ch.overrun = true;
    }
}

void ReadChannel(SimState& sim, std::vector<Channel>& channels, size_t index, Endpoints& endpoints,
                 long long now)
{
    std::array<char, ReadChunk> buffer{};
    Channel& ch = channels[index];
    const ssize_t n = read(ch.fd, buffer.data(), buffer.size());
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
        return;
    if (n <= 0) {
        if (ch.kind != ChannelKind::Serial)
            ch.closed = true;
        return;
    }
    const size_t length = static_cast<size_t>(n);
    if (ch.kind != ChannelKind::Control)
        RecordReceived(sim.records, ch.id,
                       ch.kind == ChannelKind::Serial ? LinkKind::Serial : LinkKind::Tcp,
                       buffer.data(), length);
    ch.input.append(buffer.data(), length);
    TakeLines(sim, channels, index, endpoints, now);
}

void AcceptOn(int listenFd, ChannelKind kind, int& nextId, std::vector<Channel>& channels)
{
    while (true) {
        sockaddr_storage peer{};
        socklen_t length = sizeof peer;
        const int fd = accept4(listenFd, reinterpret_cast<sockaddr*>(&peer), &length,
                               SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0)
            return;
        const int one = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        Channel ch;
        ch.fd = fd;
        ch.kind = kind;
        ch.id = kind == ChannelKind::Tcp ? nextId++ : -1;
        LogEvent(ChannelName(ch), "connected");
        channels.push_back(ch);
    }
}

void AnswerDiscovery(SimState& sim, int udp)
{
    std::vector<char> buffer(DatagramMax);
    while (true) {
        sockaddr_in peer{};
        socklen_t length = sizeof peer;
        const ssize_t n = recvfrom(udp, buffer.data(), buffer.size(), 0,
                                   reinterpret_cast<sockaddr*>(&peer), &length);
        if (n < 0)
            return;
        std::array<char, INET_ADDRSTRLEN> from{};
        inet_ntop(AF_INET, &peer.sin_addr, from.data(), from.size());
        const std::string who =
            std::string("udp ") + from.data() + ":" + std::to_string(ntohs(peer.sin_port));
        if (!IsDiscoveryQuestion(buffer.data(), static_cast<size_t>(n))) {
            LogEvent(who, "ignored datagram of " + std::to_string(n) + " bytes");
            continue;
        }
        const auto replies =
            DiscoveryReplies(sim.discoveryFault, sim.instrument.host, sim.instrument.mac);
        LogEvent(who, "question, " + std::to_string(replies.size()) + " replies [" +
                          DiscoveryFaultText(sim.discoveryFault) + "]");
        for (const std::string& reply : replies)
            sendto(udp, reply.data(), reply.size(), 0, reinterpret_cast<sockaddr*>(&peer), length);
    }
}

int CountOpenTcp(const std::vector<Channel>& channels)
{
    return static_cast<int>(std::count_if(channels.begin(), channels.end(), [](const Channel& ch) {
        return ch.kind == ChannelKind::Tcp && !ch.closed;
    }));
}

void CloseChannel(Channel& ch, const Endpoints& endpoints)
{
    if (ch.fd >= 0 && ch.fd != endpoints.pty.master) {
        LogEvent(ChannelName(ch), "closed");
        close(ch.fd);
    }
    ch.fd = -1;
}

} // namespace

void PrepareSignals()
{
    sigset_t stops;
    sigemptyset(&stops);
    sigaddset(&stops, SIGINT);
    sigaddset(&stops, SIGTERM);
    sigaddset(&stops, SIGHUP);
    sigprocmask(SIG_BLOCK, &stops, &loopMask);
    sigdelset(&loopMask, SIGINT);
    sigdelset(&loopMask, SIGTERM);
    sigdelset(&loopMask, SIGHUP);
    using SignalAction = struct sigaction;
    SignalAction action{};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

void RunLoop(SimState& sim, Endpoints& endpoints)
{
    std::vector<Channel> channels;
    if (endpoints.pty.master >= 0)
        channels.push_back(SerialChannel(endpoints));
    sim.ptyPresent = endpoints.pty.master >= 0;
    sim.tcpPresent = endpoints.tcpListen >= 0;
    int nextId = 1;
    std::vector<pollfd> fds;
    while (stopSignal == 0) {
        const long long now = NowMs();
        for (Channel& ch : channels)
            PumpOutput(ch, now);
        for (Channel& ch : channels) {
            if (ch.closed)
                CloseChannel(ch, endpoints);
        }
        channels.erase(std::remove_if(channels.begin(), channels.end(),
                                      [](const Channel& ch) { return ch.fd < 0; }),
                       channels.end());
        sim.tcpConnections = CountOpenTcp(channels);
        if (sim.quitRequested)
            break;

        // Wait for input, for a blocked write to drain, or for the next scheduled answer.
        fds.clear();
        long long wait = -1;
        for (const Channel& ch : channels) {
            short events = POLLIN;
            if (!ch.output.empty()) {
                const long long due = ch.output.front().due;
                if (due <= now)
                    events |= POLLOUT;
                else if (wait < 0 || due - now < wait)
                    wait = due - now;
            }
            fds.push_back(pollfd{ch.fd, events, 0});
        }
        const size_t channelCount = fds.size();
        for (int fd : {endpoints.tcpListen, endpoints.controlListen, endpoints.udp})
            fds.push_back(pollfd{fd, POLLIN, 0}); // a negative fd is skipped by ppoll
        timespec timeout{};
        timeout.tv_sec = static_cast<time_t>(wait / 1000);
        timeout.tv_nsec = static_cast<long>(wait % 1000) * 1000000L;
        const int ready = ppoll(fds.data(), fds.size(), wait < 0 ? nullptr : &timeout, &loopMask);
        if (ready < 0)
            continue; // interrupted by a signal; the loop condition looks at it
        // Accepts and instrument input first, so that a control command sees the connections
        // and bytes that arrived with it.
        const long long after = NowMs();
        if ((fds[channelCount].revents & POLLIN) != 0)
            AcceptOn(endpoints.tcpListen, ChannelKind::Tcp, nextId, channels);
        if ((fds[channelCount + 1].revents & POLLIN) != 0)
            AcceptOn(endpoints.controlListen, ChannelKind::Control, nextId, channels);
        for (bool control : {false, true}) {
            for (size_t k = 0; k < channelCount; ++k) {
                if ((channels[k].kind == ChannelKind::Control) == control && !channels[k].closed &&
                    (fds[k].revents & (POLLIN | POLLHUP | POLLERR)) != 0)
                    ReadChannel(sim, channels, k, endpoints, after);
            }
            sim.tcpConnections = CountOpenTcp(channels);
        }
        if ((fds[channelCount + 2].revents & POLLIN) != 0)
            AnswerDiscovery(sim, endpoints.udp);
    }
    for (Channel& ch : channels)
        CloseChannel(ch, endpoints);
}
