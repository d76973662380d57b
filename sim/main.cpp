// tessaly-sim: a simulated programmable AC source for tests and demonstrations. Reads its
// options, opens the TCP, control, discovery and pseudo-terminal endpoints, prints "ready" and
// serves them until SIGTERM, SIGINT or the control command "quit". With --instruments N it is N
// such instruments, one process each, on consecutive TCP and control ports.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

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
    int instruments = 1;
    // Read from discoveryFault and load once the options have been checked.
    DiscoveryFault fault;
    double loadOhms = 0;
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
    {"--instruments", "N",
     [](Options& o, const char* v) {
         char* end = nullptr;
         const long count = std::strtol(v, &end, 10);
         o.instruments = static_cast<int>(count);
         return *v != '\0' && *end == '\0' && count >= 1 && count <= 256;
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
        e.tcpBind = options.bind;
        e.tcpPort = options.tcpPort;
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

// One instrument: its state, its endpoints and its loop. Says it is ready on standard output, or,
// for a child instrument, with a byte on readyPipe. The exit status: 0, or 1 when an endpoint
// could not be opened.
int Serve(const Options& options, int readyPipe)
{
    SimState sim;
    sim.discoveryFault = options.fault;
    PowerOn(sim.instrument);
    sim.instrument.host = options.hostname;
    sim.instrument.mac = options.mac;
    if (options.bind != "0.0.0.0" && options.bind != "::")
        sim.instrument.activeIp = options.bind;
    if (options.tcpPort > 0)
        sim.instrument.socketPort = options.tcpPort;
    sim.lineEnd = options.crlf ? "\r\n" : "\n";
    sim.instrument.loadOhms = options.loadOhms;
    Endpoints endpoints;
    const bool opened = OpenEndpoints(options, endpoints);
    if (opened) {
        if (readyPipe >= 0) {
            const char ready = 1;
            (void)!write(readyPipe, &ready, 1);
            close(readyPipe);
        } else {
            std::printf("ready\n");
        }
        std::fflush(stdout);
        LogEvent("sim", "ready");
        RunLoop(sim, endpoints);
        LogEvent("sim", "stopped");
    }
    std::fflush(stdout);
    CloseEndpoints(endpoints);
    return opened ? 0 : 1;
}

// Runs instruments 2..N as child processes, each the single-instrument program with the ports
// moved on by its place and a host name of its own (SIM-AC-2, ...), and without the serial and
// discovery sides, which stay with the first; then returns to serve the first here. A child
// ends with this process. Each child writes a byte to readyPipe once it serves.
std::vector<pid_t> StartOtherInstruments(const Options& options, int readyPipe)
{
    std::vector<pid_t> children;
    for (int i = 1; i < options.instruments; ++i) {
        const pid_t pid = fork();
        if (pid != 0) {
            if (pid > 0)
                children.push_back(pid);
            continue;
        }
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        Options own = options;
        own.instruments = 1;
        own.tcpPort = options.tcpPort > 0 ? options.tcpPort + i : 0;
        own.controlPort = options.controlPort > 0 ? options.controlPort + i : 0;
        own.hostname = "SIM-AC-" + std::to_string(i + 1);
        own.ptyLink.clear();
        own.discovery = false;
        own.logPath.clear();
        std::exit(Serve(own, readyPipe));
    }
    return children;
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
    if (!ParseOptions(argc, argv, options) ||
        !ParseDiscoveryFault(options.discoveryFault, options.fault)) {
        PrintUsage(stderr);
        return 2;
    }
    char* end = nullptr;
    options.loadOhms = std::strtod(options.load.c_str(), &end);
    if (options.load.empty() || *end != '\0' || options.loadOhms < 0) {
        std::fprintf(stderr, "tessaly-sim: bad value for --load: %s\n", options.load.c_str());
        return 2;
    }
    if (!options.logPath.empty() && !OpenLog(options.logPath)) {
        std::fprintf(stderr, "tessaly-sim: cannot open log %s\n", options.logPath.c_str());
        return 1;
    }
    if (options.instruments == 1) {
        const int status = Serve(options, -1);
        CloseLog();
        return status;
    }

    // Several instruments: "ready" once every one serves, or status 1 when one could not start.
    int ready[2];
    if (pipe(ready) != 0)
        return 1;
    std::fflush(stdout);
    const std::vector<pid_t> children = StartOtherInstruments(options, ready[1]);
    close(ready[1]);
    int started = 0;
    char byte = 0;
    while (read(ready[0], &byte, 1) == 1)
        ++started;
    close(ready[0]);
    int status = 1;
    if (started == options.instruments - 1)
        status = Serve(options, -1);
    else
        std::fprintf(stderr, "tessaly-sim: %d of %d instruments did not start\n",
                     options.instruments - 1 - started, options.instruments);
    for (pid_t child : children)
        kill(child, SIGTERM);
    for (pid_t child : children)
        waitpid(child, nullptr, 0);
    CloseLog();
    return status;
}
