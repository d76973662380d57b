// tessaly-sim: a simulated programmable AC source for tests and demonstrations. Reads its
// options, opens the TCP, control, discovery and pseudo-terminal endpoints, prints "ready" and
// serves them until SIGTERM, SIGINT or the control command "quit".
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include "sim/loop_posix.h"
#include "sim/net_posix.h"
#include "sim/sim_state.h"

namespace
{

struct Options {
    std::string bind = "127.0.0.1";
    int tcpPort = 5025;
    int controlPort = 0;
    std::string ptyLink;
    bool discovery = false;
    std::string discoveryBind = "0.0.0.0";
    int discoveryPort = DiscoveryPort;
    std::string discoveryFault = "none";
    std::string hostname = "SIM-AC-1";
    std::string mac = "00-1A-2B-3C-4D-5E";
    bool crlf = false;
    std::string logPath;
    std::string load = "48";
};

bool ReadPort(const char* text, int& port)
{
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (*text == '\0' || *end != '\0' || value < 0 || value > 65535)
        return false;
    port = static_cast<int>(value);
    return true;
}

struct OptionRow {
    const char* name;
    const char* value; // the value's name in the usage text; nullptr for a flag
    bool (*apply)(Options& o, const char* value);
};

const OptionRow OptionRows[] = {
    {"--bind", "ADDR",
     [](Options& o, const char* v) {
         o.bind = v;
         return true;
     }},
    {"--tcp-port", "N", [](Options& o, const char* v) { return ReadPort(v, o.tcpPort); }},
    {"--control-port", "N", [](Options& o, const char* v) { return ReadPort(v, o.controlPort); }},
    {"--pty-link", "PATH",
     [](Options& o, const char* v) {
         o.ptyLink = v;
         return *v != '\0';
     }},
    {"--discovery", nullptr,
     [](Options& o, const char*) {
         o.discovery = true;
         return true;
     }},
    {"--discovery-bind", "ADDR",
     [](Options& o, const char* v) {
         o.discoveryBind = v;
         return true;
     }},
    {"--discovery-port", "N",
     [](Options& o, const char* v) { return ReadPort(v, o.discoveryPort) && o.discoveryPort > 0; }},
    {"--discovery-fault", "KIND",
     [](Options& o, const char* v) {
         o.discoveryFault = v;
         return true;
     }},
    {"--hostname", "NAME",
     [](Options& o, const char* v) {
         o.hostname = v;
         return true;
     }},
    {"--mac", "TEXT",
     [](Options& o, const char* v) {
         o.mac = v;
         return true;
     }},
    {"--crlf", nullptr,
     [](Options& o, const char*) {
         o.crlf = true;
         return true;
     }},
    {"--log", "FILE",
     [](Options& o, const char* v) {
         o.logPath = v;
         return true;
     }},
    {"--load", "OHMS",
     [](Options& o, const char* v) {
         o.load = v;
         return true;
     }},
};

void PrintUsage(FILE* to)
{
    std::fprintf(to, "usage: tessaly-sim");
    for (const OptionRow& row : OptionRows) {
        if (row.value != nullptr)
            std::fprintf(to, " [%s %s]", row.name, row.value);
        else
            std::fprintf(to, " [%s]", row.name);
    }
    std::fprintf(to, "\n");
}

bool ParseOptions(int argc, char** argv, Options& options)
{
    for (int k = 1; k < argc; ++k) {
        const OptionRow* found = nullptr;
        for (const OptionRow& row : OptionRows) {
            if (std::strcmp(argv[k], row.name) == 0)
                found = &row;
        }
        if (found == nullptr) {
            std::fprintf(stderr, "tessaly-sim: unknown option %s\n", argv[k]);
            return false;
        }
        const char* value = "";
        if (found->value != nullptr) {
            if (k + 1 >= argc) {
                std::fprintf(stderr, "tessaly-sim: %s needs %s\n", found->name, found->value);
                return false;
            }
            value = argv[++k];
        }
        if (!found->apply(options, value)) {
            std::fprintf(stderr, "tessaly-sim: bad value for %s: %s\n", found->name, value);
            return false;
        }
    }
    return true;
}

void CloseEndpoints(Endpoints& e)
{
    for (int fd : {e.tcpListen, e.controlListen, e.udp}) {
        if (fd >= 0)
            close(fd);
    }
    ClosePty(e.pty, e.ptyLink);
    e = Endpoints{};
}

// Opens everything the options ask for and says where on standard output.
bool OpenEndpoints(const Options& options, Endpoints& e)
{
    std::string error;
    if (options.tcpPort > 0) {
        e.tcpListen = ListenTcp(options.bind, options.tcpPort, error);
        if (e.tcpListen < 0)
            return std::fprintf(stderr, "tessaly-sim: %s\n", error.c_str()), false;
        std::printf("tcp: %s:%d\n", options.bind.c_str(), options.tcpPort);
    }
    if (options.controlPort > 0) {
        e.controlListen = ListenTcp(options.bind, options.controlPort, error);
        if (e.controlListen < 0)
            return std::fprintf(stderr, "tessaly-sim: %s\n", error.c_str()), false;
        std::printf("control: %s:%d\n", options.bind.c_str(), options.controlPort);
    }
    if (options.discovery) {
        e.udp = BindUdp(options.discoveryBind, options.discoveryPort, error);
        if (e.udp < 0)
            return std::fprintf(stderr, "tessaly-sim: %s\n", error.c_str()), false;
        std::printf("discovery: %s:%d\n", options.discoveryBind.c_str(), options.discoveryPort);
    }
    if (!options.ptyLink.empty()) {
        if (!OpenRawPty(e.pty, error) || !LinkPty(options.ptyLink, e.pty.slavePath, error)) {
            e.pty.slavePath.clear(); // the link is not ours to remove
            return std::fprintf(stderr, "tessaly-sim: %s\n", error.c_str()), false;
        }
        e.ptyLink = options.ptyLink;
        std::printf("pty: %s\n", e.pty.slavePath.c_str());
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    PrepareSignals();
    Options options;
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        PrintUsage(stdout);
        return 0;
    }
    SimState sim;
    if (!ParseOptions(argc, argv, options) ||
        !ParseDiscoveryFault(options.discoveryFault, sim.discoveryFault)) {
        PrintUsage(stderr);
        return 2;
    }
    PowerOn(sim.instrument);
    sim.instrument.host = options.hostname;
    sim.instrument.mac = options.mac;
    if (options.bind != "0.0.0.0" && options.bind != "::")
        sim.instrument.activeIp = options.bind;
    if (options.tcpPort > 0)
        sim.instrument.socketPort = options.tcpPort;
    sim.lineEnd = options.crlf ? "\r\n" : "\n";
    char* end = nullptr;
    sim.instrument.loadOhms = std::strtod(options.load.c_str(), &end);
    if (options.load.empty() || *end != '\0' || sim.instrument.loadOhms < 0) {
        std::fprintf(stderr, "tessaly-sim: bad value for --load: %s\n", options.load.c_str());
        return 2;
    }
    if (!options.logPath.empty() && !OpenLog(options.logPath)) {
        std::fprintf(stderr, "tessaly-sim: cannot open log %s\n", options.logPath.c_str());
        return 1;
    }

    Endpoints endpoints;
    const bool opened = OpenEndpoints(options, endpoints);
    if (opened) {
        std::printf("ready\n");
        std::fflush(stdout);
        LogEvent("sim", "ready");
        RunLoop(sim, endpoints);
        LogEvent("sim", "stopped");
    }
    std::fflush(stdout);
    CloseEndpoints(endpoints);
    CloseLog();
    return opened ? 0 : 1;
}
