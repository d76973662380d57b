// The benchmark: measures the real program under Wine against yardsticks taken in the same run, on
// the same machine, side by side, and prints the ratios (and writes them to a file):
//   1. a "Get Voltage" click with 50 entries in the log (a posted click until the program is idle
//      with everything drawn, the button's own drawing and the output box's included) against the
//      sum of (a) the same posted click on an identical button of the bare program
//      (bench/bare_window_win.cpp), whose click does nothing, measured the same way, (b) a raw
//      Winsock query round trip to the same simulator (select before each receive, as the
//      program's link does) and (c) inserting the same entry into an
//      identical output box of this process, holding the same log filled the same way, until the
//      box has drawn it;
//   2. start-up until the main window is idle, and peak working set, against the bare program,
//      which creates the same window and controls from the same panel tables;
//   3. the same click with 2,000 entries in the log against with 50, on a second instance of the
//      program that holds the long log; beside it the same insert into two identical boxes with
//      the long log, one filled entry by entry as the program's box is, one set in one go. What
//      grows with the log is the edit control's walk over its records of every line, on each
//      insert and each paint; filled entry by entry, those records lie scattered in memory and the
//      walk costs about three times as much;
//   4. one LAN discovery with the simulated responders that scripts/bench.sh started.
// Every figure is the median of rounds in which the program and its yardsticks take turns.
// The windows are placed side by side, none over another, so that each draws all it would.
// Run by scripts/bench.sh.
#include <windows.h>
#include <winsock2.h>
#include <ws2tcpip.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "app/main_window_create_win.h"
#include "link/link.h"
#include "panels/panel_table.h"
#include "res/resource.h"
#include "support/gui_driver.h"
#include "support/lan_hosts.h"
#include "support/sim_control.h"

namespace
{

constexpr const char* GetVoltageLine = "MEAS:VOLT?\n";
constexpr int ShortEntries = 50;
constexpr int LongEntries = 2000;

// Where each window sits on the bench's virtual display (2700 x 1400), so that none covers
// another: the program with the short log where it puts itself, the one with the long log beside
// it, the bare programs under them, the yardstick boxes on the right.
constexpr POINT LongProgramAt = {890, 10};
constexpr POINT BareOneButtonAt = {10, 680};
constexpr POINT BareWindowAt = {890, 680};
constexpr POINT ShortBoxAt = {1770, 10};
constexpr POINT LongBoxAt = {2160, 10};
constexpr POINT CompactBoxAt = {2160, 540};

struct Goal {
    const char* what;
    double value;
    double limit; // the value must not exceed it
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

// A figure's label padded to one column, then its value.
std::string Row(const std::string& label, double value, int decimals = 3)
{
    std::string line = label;
    if (line.size() < 52)
        line.resize(52, ' ');
    return line + " " + Fixed(value, decimals);
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

// One round trip to the program's thread: the marker it holds (a text limit on the hidden steps
// box, which nothing reads). Answered once the message the thread is handling, a paint included,
// has ended.
DWORD_PTR AskMarker(const Program& program)
{
    DWORD_PTR value = 0;
    if (!SendMessageTimeoutA(program.stepsBox, EM_GETLIMITTEXT, 0, 0, SMTO_NORMAL, 20000, &value))
        Fail("a program stopped answering");
    return value;
}

// The time a posted message takes a program until it is idle again with everything drawn. The
// handshake the driver uses: post a marker after the message and ask for it until it comes back;
// then every window of the program that the message left with something to draw is drawn (the
// program would paint it as soon as it waits, just before or just after the marker is read), and
// one more round trip waits for a paint already under way. So each sample holds the message's
// handler, the drawing it does at once and the drawing it leaves for later, whole, for the
// program and the bare program alike.
double TimedSettle(Program& program, HWND target, UINT message, WPARAM wParam = 0)
{
    unsigned marker = ++program.marker;
    double start = NowMs();
    if (target != nullptr)
        PostMessageA(target, message, wParam, 0);
    PostMessageA(program.stepsBox, EM_SETLIMITTEXT, marker, 0);
    while (AskMarker(program) != marker) {
        if (FindStatusBox(program) != nullptr)
            Fail("a \"Status\" box came up: " + StatusBoxText(FindStatusBox(program)));
    }
    RedrawWindow(program.main, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    AskMarker(program);
    return NowMs() - start;
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

// One query on the raw connection as Winsock's rules have it done: send the line, then, before
// each receive, wait with select until the socket is readable (a receive that ends by its
// time-out would leave the socket in an undefined state), and read up to the answer's line feed.
double TimedRawQuery(SOCKET s, std::string& answer)
{
    double start = NowMs();
    send(s, GetVoltageLine, static_cast<int>(std::strlen(GetVoltageLine)), 0);
    answer.clear();
    char chunk[256];
    for (;;) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(s, &readable);
        timeval wait{5, 0};
        if (select(0, &readable, nullptr, nullptr, &wait) <= 0)
            Fail("no answer from tessaly-sim on the raw connection");
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

// An output box of this process made as the program makes its Command panel box, from the same
// table row: same class, style, size and font, shown on the display beside the program's window.
HWND MakeIdenticalBox(POINT at)
{
    const ControlRow& row = TableOf(Panel::Command).controls[0];
    const ControlStyle& style = StyleOf(row.kind);
    if (row.id != IDC_COMMAND_OUTPUT_BOX)
        Fail("the Command panel's first row is not its output box");
    HWND parent =
        CreateWindowExA(0, "STATIC", "bench", WS_POPUP | WS_VISIBLE, at.x, at.y, row.width + 20,
                        row.height + 20, nullptr, nullptr, nullptr, nullptr);
    HWND box = CreateWindowExA(style.exStyle, style.className, "", style.style | WS_VISIBLE, 10, 10,
                               row.width, row.height, parent, nullptr, nullptr, nullptr);
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
// programs, so that no sample pays for the drawing of the one before.
void Quiet()
{
    Pump();
    Sleep(30);
    Pump();
}

// The program's way of putting an entry in: at the top of the box, as a replaced empty selection.
void Insert(HWND box, const std::string& entry)
{
    SendMessageA(box, EM_SETSEL, 0, 0);
    SendMessageA(box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(entry.c_str()));
}

// Inserting an entry into a box of this process, until the box has drawn it.
double TimedInsert(HWND box, const std::string& entry)
{
    double start = NowMs();
    Insert(box, entry);
    UpdateWindow(box);
    return NowMs() - start;
}

// Gives a box of this process the log the way the program's box got it: emptied, then one entry
// at a time, newest on top. The edit control keeps a record per line; built up entry by entry
// those records lie scattered in memory, which makes each later insert slower than in a box whose
// text was set in one go.
void FillEntryByEntry(HWND box, const std::string& entry, int entries)
{
    SetWindowTextA(box, "");
    for (int i = 0; i < entries; ++i)
        Insert(box, entry);
    Pump();
}

double TimedSetWhole(HWND box, const std::string& log)
{
    double start = NowMs();
    SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(log.c_str()));
    return NowMs() - start;
}

std::size_t BoxLength(HWND box)
{
    DWORD_PTR length = 0;
    SendMessageTimeoutA(box, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 10000, &length);
    return static_cast<std::size_t>(length);
}

void MoveWindowTo(HWND window, POINT at)
{
    SetWindowPos(window, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Opens the Ethernet link to the simulator through the Configuration dialog, then closes the
// dialog.
void OpenTcpLink(Program& program)
{
    if (ChooseMenu(program, "File", "Configure") != Settled::Done)
        Fail("File > Configure did not settle");
    HWND dialog = FindProgramDialog(program, "Configuration");
    if (dialog == nullptr)
        Fail("no Configuration dialog");
    SendMessageA(DialogControl(dialog, IDC_LINK_KIND), LB_SETCURSEL, EthernetKind, 0);
    SetTextOf(DialogControl(dialog, IDC_IP_ADDRESS), "127.0.0.1");
    SetTextOf(DialogControl(dialog, IDC_TCP_PORT), std::to_string(SimTcpPort()));
    if (Click(program, DialogControl(dialog, IDOK)) != Settled::Done ||
        TextOf(DialogControl(dialog, IDC_STATUS_TEXT)) != "Connected to server")
        Fail("the Ethernet link did not open");
    PostAndWait(program, dialog, WM_CLOSE);
}

std::string OwnFolder()
{
    char own[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, own, sizeof own);
    std::string path = own;
    return path.substr(0, path.find_last_of("\\/") + 1);
}

std::string BarePath()
{
    return OwnFolder() + "bench_bare.exe";
}

// Starts the bare program with its arguments and waits until its message loop runs.
void StartBare(Program& bare, const std::string& arguments)
{
    if (!StartProgramAt(bare, BarePath(), arguments))
        Fail("the bare program did not start: " + BarePath());
}

// Everything that one round of the click measurement samples.
struct ClickFigures {
    std::vector<double> shortClick, longClick, bareClick, bareWindowClick, raw, shortInsert,
        longInsert, compactInsert, shortCommand, longCommand;
    std::string entry; // the entry one click adds
    int firstLongEntries = 0, lastLongEntries = 0;
};

struct Bench {
    Program shortLog, longLog, bare, bareWindow;
    // The identical boxes of this process: each filled as the program's box was, entry by entry;
    // and one more with the long log set in one go, to show what that history costs.
    HWND shortBox = nullptr, longBox = nullptr, compactBox = nullptr;
    SOCKET raw = INVALID_SOCKET;
};

// Brings the program with the short log back to exactly ShortEntries entries, and the identical
// box to the same text.
std::string RefillShortLog(Bench& bench)
{
    Program& program = bench.shortLog;
    if (Click(program, Control(program, IDC_COMMAND_CLEAR_DISPLAY)) != Settled::Done)
        Fail("Clear Display did not settle");
    ClickMany(program, Control(program, IDC_GET_VOLTAGE), ShortEntries);
    std::string log = TextOf(Control(program, IDC_COMMAND_OUTPUT_BOX));
    FillEntryByEntry(bench.shortBox, log.substr(0, log.size() / ShortEntries), ShortEntries);
    if (TextOf(bench.shortBox) != log)
        Fail("the short log and its identical box differ");
    return log;
}

// Rounds in which each program and each yardstick is sampled once, the order reversed every
// other round. Each sample starts with both the display and the programs quiet.
void MeasureClicks(Bench& bench, int rounds, ClickFigures& figures)
{
    HWND shortOutput = Control(bench.shortLog, IDC_COMMAND_OUTPUT_BOX);
    HWND longOutput = Control(bench.longLog, IDC_COMMAND_OUTPUT_BOX);
    HWND shortButton = Control(bench.shortLog, IDC_GET_VOLTAGE);
    HWND longButton = Control(bench.longLog, IDC_GET_VOLTAGE);
    HWND bareButton = Control(bench.bare, IDC_GET_VOLTAGE);
    HWND bareWindowButton = Control(bench.bareWindow, IDC_GET_VOLTAGE);
    for (int round = 0; round < rounds; ++round) {
        std::string log = RefillShortLog(bench);
        if (figures.entry.empty())
            figures.entry = log.substr(0, log.size() / ShortEntries);
        const std::string& entry = figures.entry;
        if (log.size() != entry.size() * ShortEntries)
            Fail("the short log does not hold " + std::to_string(ShortEntries) + " entries");
        std::size_t longBefore = BoxLength(longOutput);
        int longEntries = static_cast<int>(longBefore / entry.size());
        if (round == 0)
            figures.firstLongEntries = longEntries;
        figures.lastLongEntries = longEntries;
        std::string answer;
        std::vector<std::function<void()>> samples = {
            [&] {
                figures.shortClick.push_back(TimedSettle(bench.shortLog, shortButton, BM_CLICK));
            },
            [&] { figures.bareClick.push_back(TimedSettle(bench.bare, bareButton, BM_CLICK)); },
            [&] { figures.raw.push_back(TimedRawQuery(bench.raw, answer)); },
            [&] { figures.shortInsert.push_back(TimedInsert(bench.shortBox, entry)); },
            [&] {
                figures.bareWindowClick.push_back(
                    TimedSettle(bench.bareWindow, bareWindowButton, BM_CLICK));
            },
            [&] { figures.longInsert.push_back(TimedInsert(bench.longBox, entry)); },
            [&] { figures.compactInsert.push_back(TimedInsert(bench.compactBox, entry)); },
            [&] { figures.longClick.push_back(TimedSettle(bench.longLog, longButton, BM_CLICK)); },
        };
        if (round % 2 == 1)
            std::reverse(samples.begin(), samples.end());
        for (auto& sample : samples) {
            Quiet();
            sample();
        }
        if (entry != "Sending command:  MEAS:VOLT?\r\n \r\n" + answer + "\r\n \r\n")
            Fail("the program's entry differs from the raw answer: " + entry);
        if (BoxLength(shortOutput) != log.size() + entry.size())
            Fail("the click did not add exactly its entry");
        if (BoxLength(longOutput) != longBefore + entry.size())
            Fail("the click on the long log did not add exactly its entry");
        // The same command without the button, on both programs: what the press and its drawing
        // add, and whether the handler alone grows with the log.
        Quiet();
        figures.shortCommand.push_back(TimedSettle(bench.shortLog, bench.shortLog.main, WM_COMMAND,
                                                   MAKEWPARAM(IDC_GET_VOLTAGE, 0)));
        Quiet();
        figures.longCommand.push_back(TimedSettle(bench.longLog, bench.longLog.main, WM_COMMAND,
                                                  MAKEWPARAM(IDC_GET_VOLTAGE, 0)));
        Insert(bench.longBox, entry); // the identical boxes follow the long log
        Insert(bench.compactBox, entry);
        if (round % 10 == 9)
            SimClear(); // the simulator's record of received bytes
    }
    std::string longLog = TextOf(longOutput);
    if (longLog != TextOf(bench.longBox) || longLog != TextOf(bench.compactBox))
        Fail("the program's long log and the identical boxes differ");
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

// Starts a program, waits until its main window is idle, notes its peak working set, closes it.
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

struct StartFigures {
    std::vector<double> program, bare, programPeak, barePeak;
};

// Start-ups of the program and the bare program in turns, which one first swapped every run.
void MeasureStartUp(const std::string& programPath, int runs, StartFigures& figures)
{
    StartAndClose(programPath); // the first starts warm Wine's caches; not counted
    StartAndClose(BarePath());
    for (int i = 0; i < runs; ++i) {
        Started a{}, b{};
        if (i % 2 == 0) {
            a = StartAndClose(programPath);
            b = StartAndClose(BarePath());
        } else {
            b = StartAndClose(BarePath());
            a = StartAndClose(programPath);
        }
        figures.program.push_back(a.idleMs);
        figures.bare.push_back(b.idleMs);
        figures.programPeak.push_back(static_cast<double>(a.peakWorkingSet) / 1048576.0);
        figures.barePeak.push_back(static_cast<double>(b.peakWorkingSet) / 1048576.0);
    }
}

// How many of the responders the discovery text lists exactly once, each as its own entry.
int ListedOnce(const std::string& text, const std::vector<Host>& responders)
{
    int listed = 0;
    for (const Host& r : responders) {
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
    std::vector<Host> expected = LanHosts();
    if (ChooseMenu(program, "File", "Configure") != Settled::Done)
        Fail("File > Configure did not settle");
    HWND dialog = FindProgramDialog(program, "Configuration");
    if (dialog == nullptr)
        Fail("no Configuration dialog");
    leastListed = static_cast<int>(responders);
    for (int run = 0; run < runs; ++run) {
        times.push_back(TimedSettle(program, DialogControl(dialog, IDC_DISCOVER), BM_CLICK));
        std::string shown = TextOf(DialogControl(dialog, IDC_STATUS_TEXT));
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

} // namespace

int main(int argc, char** argv)
{
    const char* outputPath = argc > 1 ? argv[1] : nullptr;
    const char* programPath = std::getenv("TESSALY_PROGRAM");
    if (programPath == nullptr || *programPath == 0)
        Fail("TESSALY_PROGRAM is not set (run scripts/bench.sh)");
    const char* programLine = std::getenv("TESSALY_BENCH_PROGRAM_LINE");
    const int rounds = std::max(5, Setting("TESSALY_BENCH_ROUNDS", 41));
    const int startRuns = std::max(3, Setting("TESSALY_BENCH_STARTS", 15));
    const int discoveryRuns = std::max(1, Setting("TESSALY_BENCH_DISCOVERIES", 5));
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    std::printf("bench: start-ups\n");

    // Start-up and memory first, while nothing else of the bench runs.
    StartFigures started;
    MeasureStartUp(programPath, startRuns, started);

    std::printf("bench: %d entries into the long log\n", LongEntries);
    Bench bench;
    if (!StartProgram(bench.shortLog) || !StartProgram(bench.longLog))
        Fail("Tessaly.exe did not start");
    MoveWindowTo(bench.longLog.main, LongProgramAt);
    StartBare(bench.bare, "one-button");
    MoveWindowTo(bench.bare.main, BareOneButtonAt);
    StartBare(bench.bareWindow, "");
    MoveWindowTo(bench.bareWindow.main, BareWindowAt);
    if (SimControl("fault none") != "ok")
        Fail("no control channel to tessaly-sim");
    OpenTcpLink(bench.shortLog);
    OpenTcpLink(bench.longLog);
    bench.shortBox = MakeIdenticalBox(ShortBoxAt);
    bench.longBox = MakeIdenticalBox(LongBoxAt);
    bench.compactBox = MakeIdenticalBox(CompactBoxAt);
    bench.raw = ConnectToSimulator();

    ClickMany(bench.longLog, Control(bench.longLog, IDC_GET_VOLTAGE), LongEntries);
    std::string longLog = TextOf(Control(bench.longLog, IDC_COMMAND_OUTPUT_BOX));
    FillEntryByEntry(bench.longBox, longLog.substr(0, longLog.size() / LongEntries), LongEntries);
    std::vector<double> wholeSets;
    for (int i = 0; i < 3; ++i) {
        SetWindowTextA(bench.compactBox, "");
        wholeSets.push_back(TimedSetWhole(bench.compactBox, longLog));
        Quiet();
    }
    if (TextOf(bench.longBox) != longLog || TextOf(bench.compactBox) != longLog)
        Fail("the identical boxes do not hold the long log");
    SimClear();

    std::printf("bench: %d rounds of clicks\n", rounds);
    ClickFigures clicks;
    MeasureClicks(bench, rounds, clicks);
    if (longLog.size() != clicks.entry.size() * LongEntries)
        Fail("the long log did not hold " + std::to_string(LongEntries) + " entries");

    std::printf("bench: discovery\n");
    std::vector<double> discoveryTimes;
    int leastListed = 0;
    std::size_t responders = LanHosts().size();
    if (responders > 0)
        MeasureDiscovery(bench.shortLog, discoveryRuns, discoveryTimes, leastListed, responders);

    closesocket(bench.raw);
    DWORD exitCode = CloseProgram(bench.shortLog);
    DWORD longExitCode = CloseProgram(bench.longLog);
    CloseProgram(bench.bare);
    CloseProgram(bench.bareWindow);

    double click = Median(clicks.shortClick);
    double parts = Median(clicks.bareClick) + Median(clicks.raw) + Median(clicks.shortInsert);
    std::vector<Goal> goals = {
        {"1. click \"Get Voltage\" / (bare click + raw query + insert)", click / parts, 1.10},
        {"2. start-up until idle / bare program", Median(started.program) / Median(started.bare),
         1.10},
        {"2. peak working set / bare program",
         Median(started.programPeak) / Median(started.barePeak), 1.2},
        {"3. click with 2000 entries / with 50", Median(clicks.longClick) / click, 1.2},
    };
    if (responders > 0) {
        goals.push_back({"4. discovery run time, ms", Median(discoveryTimes), 1200.0});
        goals.push_back({"4. discovery responders not listed",
                         static_cast<double>(responders) - static_cast<double>(leastListed), 0.0});
    }

    char when[32] = {};
    std::time_t now = std::time(nullptr);
    std::strftime(when, sizeof when, "%Y-%m-%d %H:%M UTC", std::gmtime(&now));
    std::printf("\n");
    if (programLine != nullptr && *programLine != 0)
        Say(programLine);
    Say(std::string("Tessaly bench, ") + when + ", medians of " + std::to_string(rounds) +
        " interleaved rounds (ms unless said otherwise)");
    Say(Row("  click \"Get Voltage\", " + std::to_string(ShortEntries) + " entries in the log",
            click));
    Say(Row("    (a) click on an identical button, bare program", Median(clicks.bareClick)));
    Say(Row("    (b) raw Winsock query round trip", Median(clicks.raw)));
    Say(Row("    (c) insert the entry into an identical box", Median(clicks.shortInsert)));
    Say(Row("    sum of (a), (b) and (c)", parts));
    Say(Row("    (the same click in the whole bare window)", Median(clicks.bareWindowClick)));
    Say(Row("    (the command as WM_COMMAND, no button)", Median(clicks.shortCommand)));
    Say(Row("  click \"Get Voltage\", " + std::to_string(clicks.firstLongEntries) + " to " +
                std::to_string(clicks.lastLongEntries) + " entries",
            Median(clicks.longClick)));
    Say(Row("    (c) insert the entry into an identical box", Median(clicks.longInsert)));
    Say(Row("    (the same, box text set in one go)", Median(clicks.compactInsert)));
    Say(Row("    (the command as WM_COMMAND, no button)", Median(clicks.longCommand)));
    Say(Row("    (whole log set with WM_SETTEXT)", Median(wholeSets)));
    Say("  start-up until idle: Tessaly.exe " + Fixed(Median(started.program), 1) +
        ", bare program " + Fixed(Median(started.bare), 1) + "  (" + std::to_string(startRuns) +
        " runs each, in turns)");
    Say("  peak working set, MB: Tessaly.exe " + Fixed(Median(started.programPeak), 2) +
        ", bare program " + Fixed(Median(started.barePeak), 2));
    if (responders > 0)
        Say("  discovery with " + std::to_string(responders) + " responders: run time " +
            Fixed(Median(discoveryTimes), 1) + " (" + std::to_string(discoveryRuns) +
            " runs), fewest listed " + std::to_string(leastListed));
    else
        Say("  discovery: no responders were started (TESSALY_LAN_HOSTS is empty)");
    Say("Goals:");
    bool allMet = true;
    for (const Goal& goal : goals) {
        bool met = goal.value <= goal.limit;
        Say("  " + std::string(goal.what) + ": " + Fixed(goal.value, 3) + "  (goal: at most " +
            Fixed(goal.limit, 2) + ")  " + (met ? "met" : "MISSED"));
        allMet = allMet && met;
    }
    if (exitCode != 0 || longExitCode != 0)
        Say("  a program ended with exit code " + std::to_string(exitCode) + " / " +
            std::to_string(longExitCode));

    if (outputPath != nullptr) {
        if (FILE* out = std::fopen(outputPath, "wb")) {
            std::fwrite(report.data(), 1, report.size(), out);
            std::fclose(out);
        } else {
            Say(std::string("bench: cannot write ") + outputPath);
            return 1;
        }
    }
    return allMet && exitCode == 0 && longExitCode == 0 ? 0 : 2;
}
