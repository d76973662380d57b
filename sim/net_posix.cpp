// Sockets, pseudo-terminal and event log of the simulated instrument (POSIX).
#include "sim/net_posix.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <pty.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace
{

FILE* logFile = nullptr;
long long logStart = 0;

bool SetNonBlocking(int fd)
{
    const int flags = fcntl(fd, F_GETFL);
    return flags >= 0 && fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

void SetFlag(int fd, int level, int option)
{
    const int one = 1;
    setsockopt(fd, level, option, &one, sizeof one);
}

// Resolves a numeric address (no name lookup) into one socket address.
bool NumericAddress(const std::string& address, int port, int type, sockaddr_storage& out,
                    socklen_t& length, std::string& error)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = type;
    hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV | AI_PASSIVE;
    addrinfo* list = nullptr;
    const int status = getaddrinfo(address.c_str(), std::to_string(port).c_str(), &hints, &list);
    if (status != 0 || list == nullptr) {
        error = "bad address " + address + ": " + gai_strerror(status);
        return false;
    }
    std::memcpy(&out, list->ai_addr, list->ai_addrlen);
    length = list->ai_addrlen;
    freeaddrinfo(list);
    return true;
}

std::string SystemError(const std::string& what)
{
    return what + ": " + std::strerror(errno);
}

} // namespace

int ListenTcp(const std::string& address, int port, std::string& error)
{
    sockaddr_storage where{};
    socklen_t length = 0;
    if (!NumericAddress(address, port, SOCK_STREAM, where, length, error))
        return -1;
    const int fd = socket(where.ss_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = SystemError("socket");
        return -1;
    }
    SetFlag(fd, SOL_SOCKET, SO_REUSEADDR);
    if (bind(fd, reinterpret_cast<sockaddr*>(&where), length) != 0 || listen(fd, 16) != 0 ||
        !SetNonBlocking(fd)) {
        error = SystemError("listen on " + address + ":" + std::to_string(port));
        close(fd);
        return -1;
    }
    return fd;
}

int BindUdp(const std::string& address, int port, std::string& error)
{
    sockaddr_storage where{};
    socklen_t length = 0;
    if (!NumericAddress(address, port, SOCK_DGRAM, where, length, error))
        return -1;
    if (where.ss_family != AF_INET) {
        error = "discovery needs an IPv4 address";
        return -1;
    }
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = SystemError("socket");
        return -1;
    }
    SetFlag(fd, SOL_SOCKET, SO_REUSEADDR);
    SetFlag(fd, SOL_SOCKET, SO_REUSEPORT);
    SetFlag(fd, SOL_SOCKET, SO_BROADCAST);
    if (bind(fd, reinterpret_cast<sockaddr*>(&where), length) != 0 || !SetNonBlocking(fd)) {
        error = SystemError("bind udp " + address + ":" + std::to_string(port));
        close(fd);
        return -1;
    }
    return fd;
}

bool OpenRawPty(Pty& pty, std::string& error)
{
    std::array<char, 256> name{};
    if (openpty(&pty.master, &pty.slave, name.data(), nullptr, nullptr) != 0) {
        error = SystemError("openpty");
        return false;
    }
    name.back() = '\0';
    pty.slavePath = name.data();
    termios mode{};
    if (tcgetattr(pty.slave, &mode) == 0) {
        cfmakeraw(&mode);
        mode.c_cflag |= CLOCAL | CREAD;
        cfsetispeed(&mode, B9600);
        cfsetospeed(&mode, B9600);
        tcsetattr(pty.slave, TCSANOW, &mode);
    }
    fcntl(pty.master, F_SETFD, FD_CLOEXEC);
    fcntl(pty.slave, F_SETFD, FD_CLOEXEC);
    if (!SetNonBlocking(pty.master)) {
        error = SystemError("pty");
        return false;
    }
    return true;
}

void ClosePty(Pty& pty, const std::string& linkPath)
{
    for (int fd : {pty.master, pty.slave}) {
        if (fd >= 0)
            close(fd);
    }
    if (!linkPath.empty() && !pty.slavePath.empty())
        UnlinkPty(linkPath, pty.slavePath);
    pty = Pty{};
}

std::string PtyLineText(int fd)
{
    termios mode{};
    if (fd < 0 || tcgetattr(fd, &mode) != 0)
        return "error: no pseudo-terminal";
    auto flag = [](tcflag_t set, tcflag_t bit) { return std::string((set & bit) ? "1" : "0"); };
    return "vstart " + std::to_string(static_cast<unsigned char>(mode.c_cc[VSTART])) + " vstop " +
           std::to_string(static_cast<unsigned char>(mode.c_cc[VSTOP])) + " ixon " +
           flag(mode.c_iflag, IXON) + " ixoff " + flag(mode.c_iflag, IXOFF) + " crtscts " +
           flag(mode.c_cflag, CRTSCTS);
}

bool LinkPty(const std::string& linkPath, const std::string& target, std::string& error)
{
    using FileStatus = struct stat;
    FileStatus info{};
    if (lstat(linkPath.c_str(), &info) == 0) {
        if (!S_ISLNK(info.st_mode)) {
            error = linkPath + " exists and is not a symbolic link";
            return false;
        }
        unlink(linkPath.c_str());
    }
    if (symlink(target.c_str(), linkPath.c_str()) != 0) {
        error = SystemError("symlink " + linkPath);
        return false;
    }
    return true;
}

void UnlinkPty(const std::string& linkPath, const std::string& target)
{
    std::array<char, 4096> points{};
    const ssize_t length = readlink(linkPath.c_str(), points.data(), points.size() - 1);
    if (length > 0 && std::string(points.data(), static_cast<size_t>(length)) == target)
        unlink(linkPath.c_str());
}

long long NowMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

bool OpenLog(const std::string& path)
{
    logFile = std::fopen(path.c_str(), "a");
    logStart = NowMs();
    return logFile != nullptr;
}

void LogEvent(const std::string& who, const std::string& what)
{
    if (logFile == nullptr)
        return;
    std::string text;
    for (char c : what) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7f && c != '\\') {
            text += c;
        } else {
            std::array<char, 8> escaped{};
            std::snprintf(escaped.data(), escaped.size(), "\\x%02x", byte);
            text += escaped.data();
        }
    }
    std::fprintf(logFile, "%10.3f %s %s\n", static_cast<double>(NowMs() - logStart) / 1000.0,
                 who.c_str(), text.c_str());
    std::fflush(logFile);
}

void CloseLog()
{
    if (logFile != nullptr)
        std::fclose(logFile);
    logFile = nullptr;
}
