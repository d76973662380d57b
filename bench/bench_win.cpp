// The benchmark: measures the real program under Wine against yardsticks taken in the same run, on
// the same machine, side by side, and prints the ratios (and writes them to a file):
//   - a "Get Voltage" click (posted click until the handler-end marker is read back) against the
//     sum of a raw Winsock query round trip to the same simulator, one cross-process message round
//     trip, and inserting the same entry into an identical output box in this process;
//   - the same click with 3,000 entries in the log against with 10;
//   - start-up until the main window is idle, and peak working set, against a minimal window
//     program built with the same toolchain;
//   - one LAN discovery with the simulated responders that scripts/bench.sh started.
// Every figure is the median of repeated samples, taken interleaved. Run by scripts/bench.sh.
#include <windows.h>
#include <winsock2.h>
#include <ws2tcpip.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <sstream>
#include <string>
#include <vector>

#include "support/gui_driver.h"
#include "support/sim_control.h"

namespace
{

constexpr int ConfigureMenu = 40001;
constexpr int OpenButton = 1;
constexpr int IpAddressBox = 1005;
constexpr int TcpPortBox = 1006;
constexpr int LinkKindList = 1010;
constexpr int DiscoverButton = 1011;
constexpr int DialogStatusText = 1012;
constexpr int CommandOutputBox = 130;
constexpr int GetVoltageButton = 125;
constexpr int CommandClearDisplay = 270;
constexpr const char* GetVoltageLine = "MEAS:VOLT?\n";

// The output box as the program makes it: style, size and font.
constexpr DWORD OutputBoxStyle = WS_CHILD | WS_BORDER | WS_VSCROLL | ES_READONLY | ES_MULTILINE;
constexpr int OutputBoxWidth = 360;
constexpr int OutputBoxHeight = 500;

struct Goal {
    const char* what;
    double value;
    double limit; // the value must not exceed it
    const char* unit;
};

int Setting(const char* name, int fallback)
{
    const char* value = std::getenv(name);
    return value != nullptr && *value != 0 ? std::atoi(value) : fallback;
}

double NowMs()
{
    static LARGE_INTEGER frequency{};
    if (frequency.QuadPart == 0)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> samples)
{
    if (samples.empty())
        return 0.0;
    std::sort(samples.begin(), samples.end());
    std::size_t middle = samples.size() / 2;
    return samples.size() % 2 == 1 ? samples[middle]
                                   : (samples[middle - 1] + samples[middle]) / 2.0;
}

std::string Fixed(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// The report, printed as it grows and written to the output file at the end.
std::string report;

void Say(const std::string& line)
{
    report += line + "\n";
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

[[noreturn]] void Fail(const std::string& why)
{
    Say("bench: " + why);
    std::exit(1);
}

// The handshake the driver uses to know that the program has handled what was posted: post a
// marker, then ask for it until it comes back. With a message posted before it, the time until
// the marker is back is the time that message took, handler included.
double TimedSettle(Program& program, HWND target, UINT message, WPARAM wParam = 0)
{
    unsigned marker = ++program.marker;
    double start = NowMs();
    if (target != nullptr)
        PostMessageA(target, message, wParam, 0);
    PostMessageA(program.stepsBox, EM_SETLIMITTEXT, marker, 0);
    for (;;) {
        DWORD_PTR value = 0;
        if (!SendMessageTimeoutA(program.stepsBox, EM_GETLIMITTEXT, 0, 0, SMTO_NORMAL, 20000,
                                 &value))
            Fail("the program stopped answering");
        if (value == marker)
            return NowMs() - start;
        if (FindStatusBox(program) != nullptr)
            Fail("a \"Status\" box came up: " + StatusBoxText(FindStatusBox(program)));
    }
}

// Clicks the button count times, posted in batches, and waits until all are handled.
void ClickMany(Program& program, HWND button, int count)
{
    while (count > 0) {
        int batch = std::min(count, 200);
        for (int i = 0; i < batch; ++i)
            PostMessageA(button, BM_CLICK, 0, 0);
        if (WaitSettled(program, 120000) != Settled::Done)
            Fail("clicks did not settle");
        count -= batch;
    }
}

// A connection of this process to the same simulated instrument.
SOCKET ConnectToSimulator()
{
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(SimTcpPort()));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (s == INVALID_SOCKET ||
        connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        Fail("cannot connect to tessaly-sim");
    DWORD timeoutMs = 5000;
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeoutMs),
               sizeof timeoutMs);
    return s;
}

// One query on the raw connection: send the line, read up to the answer's line feed.
double TimedRawQuery(SOCKET s, std::string& answer)
{
    double start = NowMs();
    send(s, GetVoltageLine, static_cast<int>(std::strlen(GetVoltageLine)), 0);
    answer.clear();
    char chunk[256];
    for (;;) {
        int received = recv(s, chunk, sizeof chunk, 0);
        if (received <= 0)
            Fail("no answer from tessaly-sim on the raw connection");
        answer.append(chunk, static_cast<std::size_t>(received));
        if (answer.find('\n') != std::string::npos)
            break;
    }
    double elapsed = NowMs() - start;
    answer.resize(answer.find('\n'));
    return elapsed;
}

// An output box of this process made as the program makes its Command panel box: same class,
// style, size and font, shown on the display beside the program's window (not over it). With
// visible false it stays hidden, which spares it the drawing of its scroll bar.
HWND MakeIdenticalBox(bool visible)
{
    HWND parent = CreateWindowExA(0, "STATIC", "bench", WS_POPUP | (visible ? WS_VISIBLE : 0), 880,
                                  10, OutputBoxWidth + 20, OutputBoxHeight + 20, nullptr, nullptr,
                                  nullptr, nullptr);
    HWND box = CreateWindowExA(0, "EDIT", "", OutputBoxStyle | (visible ? WS_VISIBLE : 0), 10, 10,
                               OutputBoxWidth, OutputBoxHeight, parent, nullptr, nullptr, nullptr);
    if (box == nullptr)
        Fail("cannot make the yardstick output box");
    HFONT font = CreateFontA(16, 0, 0, 0, 600, FALSE, FALSE, FALSE, 0, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, 32, "Times New Roman");
    SendMessageA(box, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    SendMessageA(box, EM_SETLIMITTEXT, 0, 0);
    return box;
}

// Lets this process paint what the last change invalidated, as the program does between clicks.
void Pump()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// Waits until the display has drawn what the last sample changed, in this process and in the
// program, so that no sample pays for the drawing of the one before.
void Quiet()
{
    Pump();
    Sleep(30);
}

double TimedInsert(HWND box, const std::string& entry)
{
    double start = NowMs();
    SendMessageA(box, EM_SETSEL, 0, 0);
    SendMessageA(box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(entry.c_str()));
    double elapsed = NowMs() - start;
    Pump();
    return elapsed;
}

double TimedSetWhole(HWND box, const std::string& log)
{
    double start = NowMs();
    SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(log.c_str()));
    double elapsed = NowMs() - start;
    Pump();
    return elapsed;
}

std::size_t BoxLength(HWND box)
{
    DWORD_PTR length = 0;
    SendMessageTimeoutA(box, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 10000, &length);
    return static_cast<std::size_t>(length);
}

// Opens the Ethernet link to the simulator through the Configuration dialog, then closes the
// dialog.
void OpenTcpLink(Program& program)
{
    if (ChooseMenu(program, ConfigureMenu) != Settled::Done)
        Fail("File > Configure did not settle");
    HWND dialog = FindProgramDialog(program, "Configuration");
    if (dialog == nullptr)
        Fail("no Configuration dialog");
    SendMessageA(DialogControl(dialog, LinkKindList), LB_SETCURSEL, 2, 0);
    SetTextOf(DialogControl(dialog, IpAddressBox), "127.0.0.1");
    SetTextOf(DialogControl(dialog, TcpPortBox), std::to_string(SimTcpPort()));
    if (Click(program, DialogControl(dialog, OpenButton)) != Settled::Done ||
        TextOf(DialogControl(dialog, DialogStatusText)) != "Connected to server")
        Fail("the Ethernet link did not open");
    PostAndWait(program, dialog, WM_CLOSE);
}

struct ClickFigures {
    std::vector<double> click, raw, message, insert, hiddenInsert, command;
    std::string entry; // the entry one click adds
};

// Rounds of: Clear Display, ten clicks, then one timed sample of each part and of the click.
void MeasureShortLog(Program& program, HWND yardstickBox, HWND hiddenBox, SOCKET raw, int rounds,
                     ClickFigures& figures)
{
    HWND output = Control(program, CommandOutputBox);
    HWND button = Control(program, GetVoltageButton);
    HWND clear = Control(program, CommandClearDisplay);
    for (int round = 0; round < rounds; ++round) {
        if (Click(program, clear) != Settled::Done)
            Fail("Clear Display did not settle");
        ClickMany(program, button, 10);
        std::string log = TextOf(output);
        std::string entry = log.substr(0, log.size() / 10);
        if (figures.entry.empty())
            figures.entry = entry;
        SetWindowTextA(yardstickBox, log.c_str());
        SetWindowTextA(hiddenBox, log.c_str());
        Pump();
        std::string answer;
        Quiet();
        figures.message.push_back(TimedSettle(program, nullptr, 0));
        figures.raw.push_back(TimedRawQuery(raw, answer));
        Quiet();
        figures.insert.push_back(TimedInsert(yardstickBox, entry));
        Quiet();
        figures.hiddenInsert.push_back(TimedInsert(hiddenBox, entry));
        Quiet();
        figures.click.push_back(TimedSettle(program, button, BM_CLICK));
        if (entry != "Sending command:  MEAS:VOLT?\r\n \r\n" + answer + "\r\n \r\n")
            Fail("the program's entry differs from the raw answer: " + entry);
        if (BoxLength(output) != log.size() + entry.size())
            Fail("the click did not add exactly its entry");
        // The same command without the button: what the press and its drawing add.
        Quiet();
        figures.command.push_back(
            TimedSettle(program, program.main, WM_COMMAND, MAKEWPARAM(GetVoltageButton, 0)));
        if (round % 10 == 9)
            SimClear(); // the simulator's record of received bytes
    }
}

// Grows the log to entries and times clicks on top of it, the yardstick box kept identical.
void MeasureLongLog(Program& program, HWND yardstickBox, int entries, int rounds,
                    const std::string& entry, std::vector<double>& clicks,
                    std::vector<double>& inserts, std::vector<double>& wholeSets)
{
    HWND output = Control(program, CommandOutputBox);
    HWND button = Control(program, GetVoltageButton);
    if (Click(program, Control(program, CommandClearDisplay)) != Settled::Done)
        Fail("Clear Display did not settle");
    ClickMany(program, button, entries);
    std::string log = TextOf(output);
    if (log.size() != entry.size() * static_cast<std::size_t>(entries))
        Fail("the log does not hold " + std::to_string(entries) + " entries");
    for (int i = 0; i < 3; ++i)
        wholeSets.push_back(TimedSetWhole(yardstickBox, log));
    for (int round = 0; round < rounds; ++round) {
        Quiet();
        inserts.push_back(TimedInsert(yardstickBox, entry));
        Quiet();
        clicks.push_back(TimedSettle(program, button, BM_CLICK));
        if (round % 10 == 9)
            SimClear();
    }
    if (BoxLength(output) != BoxLength(yardstickBox))
        Fail("the program's box and the yardstick box differ in length");
}

struct Started {
    double idleMs;
    SIZE_T peakWorkingSet;
};

BOOL CALLBACK CloseOwnWindows(HWND window, LPARAM process)
{
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == static_cast<DWORD>(process))
        PostMessageA(window, WM_CLOSE, 0, 0);
    return TRUE;
}

// Starts the program, waits until its main window is idle, notes its peak working set, closes it.
Started StartAndClose(const std::string& path)
{
    std::string command = "\"" + path + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    double start = NowMs();
    if (!CreateProcessA(path.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        Fail("cannot start " + path);
    if (WaitForInputIdle(process.hProcess, 30000) != 0)
        Fail(path + " did not become idle");
    Started started{NowMs() - start, 0};
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory))
        started.peakWorkingSet = memory.PeakWorkingSetSize;
    for (int i = 0; i < 100 && WaitForSingleObject(process.hProcess, 100) == WAIT_TIMEOUT; ++i)
        EnumWindows(CloseOwnWindows, static_cast<LPARAM>(process.dwProcessId));
    if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process.hProcess, 99);
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return started;
}

std::string MinimalProgramPath()
{
    char own[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, own, sizeof own);
    std::string path = own;
    return path.substr(0, path.find_last_of("\\/") + 1) + "bench_minimal_window.exe";
}

struct Responder {
    std::string name, address, mac;
};

// The responders that scripts/bench.sh started: "NAME,ADDRESS,MAC" words.
std::vector<Responder> Responders()
{
    std::vector<Responder> responders;
    const char* words = std::getenv("TESSALY_BENCH_RESPONDERS");
    std::istringstream in(words != nullptr ? words : "");
    for (std::string word; in >> word;) {
        std::replace(word.begin(), word.end(), ',', ' ');
        Responder r;
        std::istringstream fields(word);
        if (fields >> r.name >> r.address >> r.mac)
            responders.push_back(r);
    }
    return responders;
}

// How many of the responders the discovery text lists exactly once, each as its own entry.
int ListedOnce(const std::string& text, const std::vector<Responder>& responders)
{
    int listed = 0;
    for (const Responder& r : responders) {
        std::string entry = "\r\n IP Address: " + r.address + "\r\n \r\n Host Name: " + r.name +
                            "\r\n \r\n MAC Address: " + r.mac + "\r\n----------";
        std::size_t first = text.find(entry);
        if (first != std::string::npos && text.find(entry, first + 1) == std::string::npos)
            ++listed;
    }
    return listed;
}

void MeasureDiscovery(Program& program, int runs, std::vector<double>& times, int& leastListed,
                      std::size_t responders)
{
    std::vector<Responder> expected = Responders();
    if (ChooseMenu(program, ConfigureMenu) != Settled::Done)
        Fail("File > Configure did not settle");
    HWND dialog = FindProgramDialog(program, "Configuration");
    if (dialog == nullptr)
        Fail("no Configuration dialog");
    leastListed = static_cast<int>(responders);
    for (int run = 0; run < runs; ++run) {
        times.push_back(TimedSettle(program, DialogControl(dialog, DiscoverButton), BM_CLICK));
        std::string shown = TextOf(DialogControl(dialog, DialogStatusText));
        std::size_t entries = 0;
        for (std::size_t at = shown.find("IP Address: "); at != std::string::npos;
             at = shown.find("IP Address: ", at + 1))
            ++entries;
        int listed = ListedOnce(shown, expected);
        if (entries != expected.size())
            listed = std::min(listed, static_cast<int>(entries));
        leastListed = std::min(leastListed, listed);
    }
    PostAndWait(program, dialog, WM_CLOSE);
}

std::string Verdict(const Goal& goal)
{
    return goal.value <= goal.limit ? "met" : "MISSED";
}

} // namespace

int main(int argc, char** argv)
{
    const char* outputPath = argc > 1 ? argv[1] : nullptr;
    const char* programPath = std::getenv("TESSALY_PROGRAM");
    if (programPath == nullptr || *programPath == 0)
        Fail("TESSALY_PROGRAM is not set (run scripts/bench.sh)");
    const int rounds = std::max(5, Setting("TESSALY_BENCH_ROUNDS", 61));
    const int startRuns = std::max(3, Setting("TESSALY_BENCH_STARTS", 11));
    const int discoveryRuns = std::max(1, Setting("TESSALY_BENCH_DISCOVERIES", 5));
    const int longEntries = 3000;
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);

    // Start-up and memory first, while nothing else of the bench runs.
    std::vector<double> programStart, minimalStart, programPeak, minimalPeak;
    StartAndClose(programPath); // the first start warms Wine's caches; not counted
    StartAndClose(MinimalProgramPath());
    for (int i = 0; i < startRuns; ++i) {
        Started a = StartAndClose(programPath);
        Started b = StartAndClose(MinimalProgramPath());
        programStart.push_back(a.idleMs);
        minimalStart.push_back(b.idleMs);
        programPeak.push_back(static_cast<double>(a.peakWorkingSet) / 1048576.0);
        minimalPeak.push_back(static_cast<double>(b.peakWorkingSet) / 1048576.0);
    }

    Program program;
    if (!StartProgram(program))
        Fail("Tessaly.exe did not start");
    if (SimControl("fault none") != "ok")
        Fail("no control channel to tessaly-sim");
    OpenTcpLink(program);
    HWND yardstickBox = MakeIdenticalBox(true);
    HWND hiddenBox = MakeIdenticalBox(false);
    SOCKET raw = ConnectToSimulator();

    ClickFigures shortLog;
    MeasureShortLog(program, yardstickBox, hiddenBox, raw, rounds, shortLog);
    std::vector<double> longClicks, longInserts, wholeSets;
    MeasureLongLog(program, yardstickBox, longEntries, rounds, shortLog.entry, longClicks,
                   longInserts, wholeSets);
    Click(program, Control(program, CommandClearDisplay));

    std::vector<double> discoveryTimes;
    int leastListed = 0;
    std::size_t responders = Responders().size();
    if (responders > 0)
        MeasureDiscovery(program, discoveryRuns, discoveryTimes, leastListed, responders);

    closesocket(raw);
    DWORD exitCode = CloseProgram(program);

    double click = Median(shortLog.click);
    double parts = Median(shortLog.raw) + Median(shortLog.message) + Median(shortLog.insert);
    std::vector<Goal> goals = {
        {"click \"Get Voltage\" / (raw query + message + insert)", click / parts, 1.10, ""},
        {"click with 3000 entries / with 10", Median(longClicks) / click, 1.5, ""},
        {"start-up until idle / minimal window program",
         Median(programStart) / Median(minimalStart), 1.2, ""},
        {"peak working set / minimal window program", Median(programPeak) / Median(minimalPeak),
         1.5, ""},
    };
    if (responders > 0) {
        goals.push_back({"discovery run time, ms", Median(discoveryTimes), 1200.0, ""});
        goals.push_back({"discovery responders not listed",
                         static_cast<double>(responders) - static_cast<double>(leastListed), 0.0,
                         ""});
    }

    char when[32] = {};
    std::time_t now = std::time(nullptr);
    std::strftime(when, sizeof when, "%Y-%m-%d %H:%M UTC", std::gmtime(&now));
    std::printf("\n");
    Say(std::string("Tessaly bench, ") + when + ", medians (ms unless said otherwise)");
    Say("  click \"Get Voltage\", 10 entries in the log  " + Fixed(click, 3) + "  (" +
        std::to_string(shortLog.click.size()) + " samples)");
    Say("    raw Winsock query round trip          " + Fixed(Median(shortLog.raw), 3));
    Say("    cross-process message round trip      " + Fixed(Median(shortLog.message), 3));
    Say("    insert entry into identical box       " + Fixed(Median(shortLog.insert), 3));
    Say("    sum of the three                      " + Fixed(parts, 3));
    Say("    (insert into the same box hidden      " + Fixed(Median(shortLog.hiddenInsert), 3) +
        ")");
    Say("    (the command as WM_COMMAND, no button " + Fixed(Median(shortLog.command), 3) + ")");
    Say("  click \"Get Voltage\", 3000 entries         " + Fixed(Median(longClicks), 3));
    Say("    insert entry into identical box       " + Fixed(Median(longInserts), 3));
    Say("    (whole log set with WM_SETTEXT        " + Fixed(Median(wholeSets), 3) + ")");
    Say("  start-up until idle: Tessaly.exe " + Fixed(Median(programStart), 1) + ", minimal " +
        Fixed(Median(minimalStart), 1) + "  (" + std::to_string(startRuns) + " runs each)");
    Say("  peak working set, MB: Tessaly.exe " + Fixed(Median(programPeak), 2) + ", minimal " +
        Fixed(Median(minimalPeak), 2));
    if (responders > 0)
        Say("  discovery with " + std::to_string(responders) + " responders: run time " +
            Fixed(Median(discoveryTimes), 1) + " (" + std::to_string(discoveryRuns) +
            " runs), fewest listed " + std::to_string(leastListed));
    else
        Say("  discovery: no responders were started (TESSALY_BENCH_RESPONDERS is empty)");
    Say("Goals:");
    bool allMet = true;
    for (const Goal& goal : goals) {
        Say("  " + std::string(goal.what) + ": " + Fixed(goal.value, 3) + "  (at most " +
            Fixed(goal.limit, 2) + ")  " + Verdict(goal));
        allMet = allMet && goal.value <= goal.limit;
    }
    if (exitCode != 0)
        Say("  the program ended with exit code " + std::to_string(exitCode));

    if (outputPath != nullptr) {
        if (FILE* out = std::fopen(outputPath, "wb")) {
            std::fwrite(report.data(), 1, report.size(), out);
            std::fclose(out);
        } else {
            Say(std::string("bench: cannot write ") + outputPath);
            return 1;
        }
    }
    return allMet && exitCode == 0 ? 0 : 2;
}
