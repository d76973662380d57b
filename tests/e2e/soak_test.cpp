// A long session against a misbehaving instrument: random buttons on all five panels of the real
// program over its TCP link to tessaly-sim, with a random fault of the simulator before each query
// (silent, late, split, longer than 100 bytes, no line feed, a zero byte inside, connection
// closed, garbage). After every click: the program still runs, its handler ended within the
// link's time-outs, the panel's output box gained exactly one entry in front of its older text,
// the instrument received exactly the command line of that entry, and a query's entry shows the
// answer to that query and to no earlier command. Handles and memory must not grow after a
// warm-up. TESSALY_SOAK_COMMANDS sets the number of commands (a few hundred by default; the long
// soak runs 10,000), TESSALY_SOAK_SEED the random sequence.
#include <windows.h>

#include <psapi.h>
#include <winternl.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <random>
#include <string>
#include <vector>

#include "link/link.h"
#include "panels/transaction.h"
#include "res/resource.h"
#include "support/sim_control.h"
#include "tests/e2e/gui_fixture.h"

namespace
{

constexpr DWORD TcpTimeoutMs = 5000;
constexpr DWORD HandlerLimitMs = TcpTimeoutMs + 2500; // the link's time-out and a margin
constexpr std::size_t LogCap = 12000;                 // a box longer than this is cleared
constexpr std::size_t HistoryKept = 12;               // steps named when a check fails

// Growth allowed between the warm-up and the end of the session, both measured with every
// output box empty.
constexpr long HandleMargin = 4;
constexpr double MemoryMarginMb = 4.0;

constexpr const char* Separator = "\r\n \r\n";

int Setting(const char* name, int fallback)
{
    const char* value = std::getenv(name);
    return value != nullptr && *value != 0 ? std::atoi(value) : fallback;
}

enum class FaultKind { None, Split, Late, Zero, Close, Silent, NoLf, Garbage, Long };

struct FaultRow {
    FaultKind kind;
    const char* name;
    int weight;
    long argMin, argMax; // milliseconds for late and split, bytes for long and garbage
    bool leavesBytesQueued;
};

// The faults drawn before a query, by weight. Times and sizes are chosen so that each fault lands
// clearly on one side of the link's 5 s time-out and 100-byte buffer.
constexpr FaultRow FaultRows[] = {
    {FaultKind::None, "none", 560, 0, 0, false},
    {FaultKind::Split, "split", 80, 10, 400, false},     // whole line well within the time-out
    {FaultKind::Late, "late", 80, 20, 800, false},       // within the time-out
    {FaultKind::Zero, "zero", 60, 0, 0, false},          // a zero byte in the middle
    {FaultKind::Close, "close", 25, 0, 0, false},        // the instrument closes the connection
    {FaultKind::Silent, "silent", 12, 0, 0, false},      // no answer: "Eth Timeout"
    {FaultKind::NoLf, "nolf", 12, 0, 0, false},          // no line feed: taken at the time-out
    {FaultKind::Garbage, "garbage", 8, 1, 99, false},    // no line feed, fewer than 100 bytes
    {FaultKind::Late, "late", 8, 5600, 6400, true},      // arrives after the time-out
    {FaultKind::Split, "split", 8, 2700, 3600, true},    // its line feed after the time-out
    {FaultKind::Long, "long", 40, 100, 350, true},       // 100 bytes shown, the rest queued
    {FaultKind::Garbage, "garbage", 15, 101, 350, true}, // the same without any line feed
};

struct Fault {
    const FaultRow* row;
    long arg;
};

std::string FaultName(const Fault& fault)
{
    return fault.row->argMax > 0 ? std::string(fault.row->name) + " " + std::to_string(fault.arg)
                                 : fault.row->name;
}

// The bytes of a "long" answer: the digits 0 to 9 over and over.
std::string Digits(std::size_t from, std::size_t to)
{
    std::string text;
    for (std::size_t k = from; k < to; ++k)
        text += static_cast<char>('0' + k % 10);
    return text;
}

// What the entry shows for a query answered as predicted under the fault; unknown for garbage.
struct Outcome {
    bool known = true;
    std::string answer;
    bool closed = false;     // the "Ethernet Connection Closed" box comes first
    std::string queued;      // bytes left in the socket afterwards
    DWORD queuedAfterMs = 0; // when the last of them has arrived, from the click
};

Outcome ExpectedOutcome(const Fault& fault, const std::string& predicted)
{
    Outcome shown;
    shown.answer = predicted;
    const std::size_t half = predicted.size() / 2;
    switch (fault.row->kind) {
    case FaultKind::None:
    case FaultKind::NoLf:
        break;
    case FaultKind::Split:
        if (2 * fault.arg >= static_cast<long>(TcpTimeoutMs)) {
            shown.queued = "\n";
            shown.queuedAfterMs = static_cast<DWORD>(2 * fault.arg);
        }
        break;
    case FaultKind::Late:
        if (fault.arg >= static_cast<long>(TcpTimeoutMs)) {
            shown.answer = EthTimeoutText;
            shown.queued = predicted + "\n";
            shown.queuedAfterMs = static_cast<DWORD>(fault.arg);
        }
        break;
    case FaultKind::Zero:
        shown.answer = half == 0 ? NoResponseText : predicted.substr(0, half);
        break;
    case FaultKind::Close:
        shown.answer = NoResponseText;
        shown.closed = true;
        break;
    case FaultKind::Silent:
        shown.answer = EthTimeoutText;
        break;
    case FaultKind::Garbage:
        shown.known = false;
        break;
    case FaultKind::Long: {
        std::size_t length = static_cast<std::size_t>(fault.arg);
        shown.answer = Digits(0, std::min<std::size_t>(length, ResponseBufferSize));
        if (length >= ResponseBufferSize)
            shown.queued = Digits(ResponseBufferSize, length) + "\n";
        break;
    }
    }
    return shown;
}

// What one TcpReceive takes from queued bytes: up to the line feed or 100 bytes.
std::string TakeOneReceive(std::string& queued)
{
    std::size_t lineFeed = queued.find('\n');
    std::size_t take = std::min<std::size_t>(
        lineFeed == std::string::npos ? queued.size() : lineFeed + 1, ResponseBufferSize);
    std::string taken = queued.substr(0, take);
    queued.erase(0, take);
    return taken;
}

// The text AnswerText makes of received bytes.
std::string AnswerOf(const std::string& received)
{
    if (received.empty() || received[0] == '\0')
        return received.empty() ? EthTimeoutText : NoResponseText;
    std::size_t stop = received.find_first_of(std::string("\n\0", 2));
    return received.substr(0, stop);
}

struct TextChoice {
    const char* text;
    bool valid;
};

// Entry texts for each character set: accepted ones, refused ones, and one too long for a line.
constexpr TextChoice NumberTexts[] = {{"120", true},      {"60", true},   {"1.5E1", true},
                                      {"-3", true},       {"", true},     {"+0.5e-1", true},
                                      {"99999999", true}, {"12x", false}, {"1 2", false},
                                      {"abc", false},     {"7,5", false}};
constexpr TextChoice ListTexts[] = {{"1,2,3", true},       {"1.5,-2,3E1", true}, {"", true},
                                    {"100,110,120", true}, {"1;2", false},       {"1,x", false}};
constexpr TextChoice AddressTexts[] = {{"192.0.2.10", true},
                                       {"10.0.0.1", true},
                                       {"255.255.255.0", true},
                                       {"1.2.3.x", false},
                                       {"1,2", false}};
constexpr TextChoice DigitTexts[] = {
    {"5025", true}, {"80", true}, {"50-25", false}, {"5.0", false}};
constexpr const char* FreeTexts[] = {"SIM-AC-1", "bench,\"7", "", "pass word", "x"};

struct FreeLine {
    const char* typed;
    const char* sent;  // the operator's escapes \n and \r turned into their bytes
    const char* query; // the query that the instrument answers, or nullptr
};
constexpr FreeLine FreeLines[] = {
    {"VOLT 120", "VOLT 120\n", nullptr},
    {"*CLS", "*CLS\n", nullptr},
    {"BOGUS:HEADER", "BOGUS:HEADER\n", nullptr},
    {"FREQ 60\\n", "FREQ 60\n", nullptr},
    {"OUTP?", "OUTP?\n", "OUTP?"},
    {"*IDN?", "*IDN?\n", "*IDN?"},
    {"MEAS:VOLT?\\r\\n", "MEAS:VOLT?\r\n", "MEAS:VOLT?"},
};

// The number of handles a process holds. Wine answers GetProcessHandleCount with 0; its system
// handle table (NtQuerySystemInformation, class 16) lists them with their process.
DWORD HandleCount(HANDLE process, DWORD processId)
{
    DWORD count = 0;
    if (GetProcessHandleCount(process, &count) && count > 0)
        return count;
    using QuerySystem = NTSTATUS(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
    FARPROC found = GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation");
    auto query = reinterpret_cast<QuerySystem>(reinterpret_cast<void (*)()>(found));
    if (query == nullptr)
        return 0;
    struct Entry {
        USHORT processId;
        USHORT creatorBackTraceIndex;
        UCHAR objectType;
        UCHAR attributes;
        USHORT handle;
        PVOID object;
        ULONG access;
    };
    struct Table {
        ULONG count;
        Entry entries[1];
    };
    constexpr ULONG SystemHandleInformation = 16;
    constexpr NTSTATUS LengthMismatch = static_cast<NTSTATUS>(0xC0000004L);
    std::vector<char> buffer(1 << 16);
    NTSTATUS status;
    ULONG needed = 0;
    while ((status = query(SystemHandleInformation, buffer.data(),
                           static_cast<ULONG>(buffer.size()), &needed)) == LengthMismatch &&
           buffer.size() < (64u << 20))
        buffer.resize(buffer.size() * 2);
    if (status != 0)
        return 0;
    const auto* table = reinterpret_cast<const Table*>(buffer.data());
    std::size_t fit = (buffer.size() - offsetof(Table, entries)) / sizeof(Entry);
    for (ULONG i = 0; i < table->count && i < fit; ++i)
        count += table->entries[i].processId == static_cast<USHORT>(processId) ? 1 : 0;
    return count;
}

class SoakTest : public ProgramTest
{
  protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        if (HasFatalFailure())
            return;
        seed = static_cast<unsigned>(Setting("TESSALY_SOAK_SEED", 1));
        random.seed(seed);
        RecordProperty("seed", static_cast<int>(seed));
        ASSERT_EQ(SimControl("fault none"), "ok");
        OpenTcpLink(true);
    }

    void TearDown() override
    {
        SimControl("fault none");
        SimControl("flush");
        ProgramTest::TearDown();
    }

    // --- what the failure messages name

    // Starts a step: forgets the bytes the instrument received so far and names the step.
    void Begin(const std::string& step)
    {
        SimClear();
        history.push_back(std::to_string(++steps) + ": " + step);
        if (history.size() > HistoryKept)
            history.pop_front();
    }
    std::string History() const
    {
        std::string text = "seed " + std::to_string(seed) + ", last steps:";
        for (const std::string& step : history)
            text += "\n  " + step;
        return text;
    }

    // --- driving the program

    void Show(Panel panel)
    {
        if (panel == shownPanel)
            return;
        ASSERT_EQ(ChooseView(program, NameOf(panel)), Settled::Done) << History();
        shownPanel = panel;
    }

    // Posts the click and waits for the handler's end; a "Status" box counts as its end only when
    // expected. Checks the time the handler took.
    Settled TimedClick(int id, DWORD& elapsedMs)
    {
        DWORD start = GetTickCount();
        Settled settled = Click(program, ControlOf(id), HandlerLimitMs + 5000);
        elapsedMs = GetTickCount() - start;
        EXPECT_TRUE(ProgramRunning(program)) << "the program ended\n" << History();
        EXPECT_NE(settled, Settled::TimedOut)
            << "the handler did not end within " << HandlerLimitMs + 5000 << " ms\n"
            << History();
        EXPECT_LE(elapsedMs, HandlerLimitMs)
            << "the handler took longer than the link's time-outs\n"
            << History();
        return settled;
    }

    // A click whose handler must end without a "Status" box.
    bool ClickToEnd(int id)
    {
        DWORD elapsed = 0;
        Settled settled = TimedClick(id, elapsed);
        EXPECT_EQ(settled, Settled::Done) << StatusBoxText(FindStatusBox(program)) << "\n"
                                          << History();
        return settled == Settled::Done;
    }

    // The panel's box after a command: the text it held before with exactly one entry in front.
    std::string NewEntry(Panel panel)
    {
        std::string before = boxes[static_cast<int>(panel)];
        std::string now = OutputOf(panel);
        boxes[static_cast<int>(panel)] = now;
        bool keepsOlder = now.size() > before.size() &&
                          now.compare(now.size() - before.size(), before.size(), before) == 0;
        EXPECT_TRUE(keepsOlder) << "the box lost or changed its older entries\n" << History();
        if (!keepsOlder)
            return "<no entry>";
        return now.substr(0, now.size() - before.size());
    }

    void ExpectNothingSent()
    {
        EXPECT_EQ(SimRecord("tcp"), "") << "bytes reached the instrument\n" << History();
    }
    void ExpectSent(const std::string& line)
    {
        EXPECT_EQ(SimReceived(line.size(), 3000), line)
            << "the instrument did not receive the command line\n"
            << History();
        queued.clear(); // what the link would discard before sending
    }

    // A command that sends its line without reading: the entry is its echo.
    void ExpectSentEntry(Panel panel, const std::string& line)
    {
        EXPECT_EQ(NewEntry(panel), SendingPrefix + line.substr(0, line.size() - 1) + Separator)
            << History();
        ExpectSent(line);
    }

    void ExpectRefusedEntry(Panel panel, const std::string& stored, const char* reason)
    {
        EXPECT_EQ(NewEntry(panel), RefusedPrefix + stored.substr(0, stored.size() - 1) +
                                       RefusalText(reason) + Separator)
            << History();
        ExpectNothingSent();
    }

    // A refusal for a line that did not fit: its echo stops where the buffer did.
    void ExpectTooLongEntry(Panel panel)
    {
        std::string entry = NewEntry(panel);
        std::string tail = RefusalText(TooLongReason) + Separator;
        EXPECT_EQ(entry.rfind(RefusedPrefix, 0), 0u) << entry << "\n" << History();
        EXPECT_TRUE(entry.size() >= tail.size() &&
                    entry.compare(entry.size() - tail.size(), tail.size(), tail) == 0)
            << entry << "\n"
            << History();
        ExpectNothingSent();
    }

    // The instrument's answer to a query line now, from its state, without changing it.
    std::string Predicted(const std::string& line)
    {
        std::string header = line.substr(0, line.find_first_of("?"));
        std::string answer = SimControl("get " + header);
        EXPECT_NE(answer.rfind("error:", 0), 0u) << header << ": " << answer;
        return answer;
    }

    Fault DrawFault()
    {
        int total = 0;
        for (const FaultRow& row : FaultRows)
            total += row.weight;
        int pick = std::uniform_int_distribution<int>(0, total - 1)(random);
        for (const FaultRow& row : FaultRows) {
            if (pick < row.weight)
                return {&row, row.argMax > 0 ? std::uniform_int_distribution<long>(
                                                   row.argMin, row.argMax)(random)
                                             : 0};
            pick -= row.weight;
        }
        return {&FaultRows[0], 0};
    }

    // Reopens the Ethernet link through the Configuration dialog after the instrument closed it.
    void ReopenLink()
    {
        ASSERT_EQ(SimControl("fault none"), "ok");
        HWND dialog = OpenConfiguration();
        ASSERT_NE(dialog, nullptr) << History();
        HWND status = DialogControl(dialog, IDC_STATUS_TEXT);
        for (int i = 0; i < 2 && TextOf(status) != "Disconnected"; ++i) {
            if (Click(program, DialogControl(dialog, IDCANCEL)) == Settled::StatusBox)
                AnswerAllStatusBoxes(program); // "Shutdown failed": the second Close ends it
        }
        ASSERT_EQ(TextOf(status), "Disconnected") << History();
        SendMessageA(DialogControl(dialog, IDC_LINK_KIND), LB_SETCURSEL, 2, 0);
        SetTextOf(DialogControl(dialog, IDC_IP_ADDRESS), "127.0.0.1");
        SetTextOf(DialogControl(dialog, IDC_TCP_PORT), std::to_string(SimTcpPort()));
        ASSERT_EQ(Click(program, DialogControl(dialog, IDOK)), Settled::Done)
            << StatusBoxText(FindStatusBox(program)) << "\n"
            << History();
        ASSERT_EQ(TextOf(status), "Connected to server") << History();
        ASSERT_EQ(PostAndWait(program, dialog, WM_CLOSE), Settled::Done);
        ASSERT_TRUE(WaitSimConnections(1)) << History();
        SimClear();
        queued.clear();
        ++reopened;
    }

    // --- one step per command kind

    void Query(const CommandRow& row, const Fault& fault)
    {
        std::string line = row.bytes;
        std::string predicted = Predicted(line);
        Begin(std::string(NameOf(PanelOf(row))) + " query " + line.substr(0, line.size() - 1) +
              " [" + FaultName(fault) + "], expecting \"" + predicted + "\"");
        if (fault.row->kind != FaultKind::None) {
            ASSERT_EQ(SimControl("fault " + FaultName(fault)), "ok");
        }
        Outcome shown = ExpectedOutcome(fault, predicted);
        DWORD elapsed = 0;
        Settled settled = TimedClick(row.id, elapsed);
        if (shown.closed) {
            ASSERT_EQ(settled, Settled::StatusBox) << History();
            EXPECT_EQ(AnswerAllStatusBoxes(program),
                      std::vector<std::string>{"Ethernet Connection Closed"})
                << History();
        } else {
            ASSERT_EQ(settled, Settled::Done) << StatusBoxText(FindStatusBox(program)) << "\n"
                                              << History();
        }
        if (fault.row->kind != FaultKind::None)
            SimControl("fault none");
        std::string entry = NewEntry(PanelOf(row));
        std::string echo = SendingPrefix + line.substr(0, line.size() - 1) + Separator;
        bool lineFeed = row.kind == CommandKind::QueryLineFeed;
        if (shown.known) {
            bool bufferHadByte = shown.answer != NoResponseText;
            std::string expected =
                echo + shown.answer + (lineFeed && bufferHadByte ? "\n" : "") + Separator;
            EXPECT_EQ(entry, expected) << "the answer shown is not the answer to this command\n"
                                       << History();
        } else {
            // Garbage: any text of at most 100 bytes without a line feed, in the entry's shape.
            EXPECT_EQ(entry.rfind(echo, 0), 0u) << entry << "\n" << History();
            std::size_t end = std::max(entry.size(), echo.size() + 5) - 5;
            std::string answer =
                entry.substr(std::min(echo.size(), end), end - std::min(echo.size(), end));
            if (lineFeed && !answer.empty() && answer.back() == '\n')
                answer.pop_back();
            EXPECT_LE(answer.size(), ResponseBufferSize) << History();
        }
        ExpectSent(line);
        queued = shown.queued;
        queuedUnknown = fault.row->kind == FaultKind::Garbage && fault.row->leavesBytesQueued;
        if (shown.closed) {
            ReopenLink();
            return;
        }
        if (shown.queuedAfterMs > elapsed)
            Sleep(shown.queuedAfterMs - elapsed + 300); // let the late bytes arrive first
    }

    void Fixed(const CommandRow& row)
    {
        Begin(std::string(NameOf(PanelOf(row))) + " " + row.bytes);
        if (!ClickToEnd(row.id))
            return;
        ExpectSentEntry(PanelOf(row), row.bytes);
    }

    const TextChoice& DrawText(const char* set)
    {
        auto draw = [this](const auto& table) -> const TextChoice& {
            return table[std::uniform_int_distribution<std::size_t>(0,
                                                                    std::size(table) - 1)(random)];
        };
        if (std::strcmp(set, ListChars) == 0)
            return draw(ListTexts);
        if (std::strcmp(set, AddressChars) == 0)
            return draw(AddressTexts);
        if (std::strcmp(set, DigitChars) == 0)
            return draw(DigitTexts);
        return draw(NumberTexts);
    }

    void Value(const CommandRow& row)
    {
        bool quoted = row.kind == CommandKind::QuotedValue;
        std::string text;
        bool valid = true;
        if (Chance(8)) {
            text = std::string(120, '1'); // more than a command line holds
        } else {
            const TextChoice& choice = DrawText(row.charSet);
            text = choice.text;
            valid = choice.valid;
        }
        ASSERT_TRUE(SetTextOf(ControlOf(row.entryId), text));
        std::string stored = row.bytes + text + (quoted ? "\"" : "");
        Begin(std::string(NameOf(PanelOf(row))) + " value " + stored);
        if (!ClickToEnd(row.id))
            return;
        if (stored.size() >= CommandBufferSize)
            ExpectTooLongEntry(PanelOf(row));
        else if (!valid)
            ExpectRefusedEntry(PanelOf(row), stored, NonDigitReason);
        else
            ExpectSentEntry(PanelOf(row), stored + "\n");
    }

    void Text(const CommandRow& row)
    {
        auto draw = [this]() -> std::string {
            if (Chance(15))
                return std::string(110, 'p');
            return FreeTexts[std::uniform_int_distribution<std::size_t>(0, std::size(FreeTexts) -
                                                                               1)(random)];
        };
        std::string first = draw();
        std::string line = row.bytes + first;
        ASSERT_TRUE(SetTextOf(ControlOf(row.entryId), first));
        if (row.kind == CommandKind::NewPassword) {
            std::string second = draw();
            ASSERT_TRUE(SetTextOf(ControlOf(row.secondEntryId), second));
            line += "\",\"" + second;
        }
        line += "\"\n";
        Begin(std::string(NameOf(PanelOf(row))) + " text " + line.substr(0, 60));
        if (!ClickToEnd(row.id))
            return;
        if (line.size() > CommandBufferSize)
            ExpectTooLongEntry(PanelOf(row));
        else
            ExpectSentEntry(PanelOf(row), line);
    }

    void Selection(const CommandRow& row)
    {
        int options = 0;
        while (options < 4 && row.options[options].id != 0)
            ++options;
        if (Chance(70)) {
            const OptionChoice& option =
                row.options[std::uniform_int_distribution<int>(0, options - 1)(random)];
            std::string before = boxes[static_cast<int>(PanelOf(row))];
            ASSERT_EQ(Click(program, ControlOf(option.id)), Settled::Done) << History();
            EXPECT_EQ(OutputOf(PanelOf(row)), before) << "an option button wrote to the log";
        }
        const char* argument = nullptr;
        for (int i = 0; i < options && argument == nullptr; ++i) {
            if (SendMessageA(ControlOf(row.options[i].id), BM_GETCHECK, 0, 0) == BST_CHECKED)
                argument = row.options[i].argument;
        }
        Begin(std::string(NameOf(PanelOf(row))) + " selection " + row.bytes +
              (argument != nullptr ? argument : "(none)"));
        if (!ClickToEnd(row.id))
            return;
        if (argument == nullptr)
            ExpectRefusedEntry(PanelOf(row), row.bytes, row.reason);
        else
            ExpectSentEntry(PanelOf(row), row.bytes + std::string(argument) + "\n");
    }

    void BaudRate(const CommandRow& row)
    {
        int position = std::uniform_int_distribution<int>(-1, BaudChoiceCount - 1)(random);
        SendMessageA(ControlOf(row.entryId), LB_SETCURSEL, static_cast<WPARAM>(position), 0);
        Begin(std::string(NameOf(PanelOf(row))) + " baud rate at " + std::to_string(position));
        if (!ClickToEnd(row.id))
            return;
        if (position < 0)
            ExpectRefusedEntry(PanelOf(row), row.bytes, row.reason);
        else
            ExpectSentEntry(PanelOf(row), row.bytes + std::to_string(BaudRates[position]) + "\n");
    }

    // The free line, and for a query its answer through "Read" (skipped now and then when the
    // link drops stale bytes: the next command must then not show that answer).
    void Free(const CommandRow& row, const CommandRow* read)
    {
        const FreeLine& free = FreeLines[std::uniform_int_distribution<std::size_t>(
            0, std::size(FreeLines) - 1)(random)];
        std::string sent = free.sent;
        std::string predicted;
        if (free.query != nullptr)
            predicted = Predicted(free.query);
        ASSERT_TRUE(SetTextOf(ControlOf(row.entryId), free.typed));
        Begin(std::string(NameOf(PanelOf(row))) + " free line " + free.typed);
        if (!ClickToEnd(row.id))
            return;
        EXPECT_EQ(NewEntry(PanelOf(row)),
                  SendingPrefix + sent.substr(0, sent.size() - 1) + "\r\n" + Separator)
            << History();
        ExpectSent(sent);
        if (free.query == nullptr)
            return;
        queued = predicted + "\n";
        queuedUnknown = false;
        if (read != nullptr && Chance(70)) {
            Sleep(20); // the answer is on its way
            Read(*read);
        }
    }

    void Read(const CommandRow& row)
    {
        std::string received = TakeOneReceive(queued);
        Begin(std::string(NameOf(PanelOf(row))) + " Read, expecting \"" + AnswerOf(received) +
              "\"");
        if (!ClickToEnd(row.id))
            return;
        std::string entry = NewEntry(PanelOf(row));
        if (!queuedUnknown) {
            EXPECT_EQ(entry, AnswerOf(received) + Separator)
                << "\"Read\" did not show what was queued\n"
                << History();
        }
        ExpectNothingSent();
    }

    void Clear(const CommandRow& row)
    {
        Begin(std::string(NameOf(PanelOf(row))) + " Clear Display");
        if (!ClickToEnd(row.id))
            return;
        boxes[static_cast<int>(PanelOf(row))].clear();
        EXPECT_EQ(OutputOf(PanelOf(row)), "") << History();
        ExpectNothingSent();
    }

    bool Chance(int percent) { return std::uniform_int_distribution<int>(0, 99)(random) < percent; }

    // How often each kind of button is drawn, against the others of its panel.
    static int WeightOf(CommandKind kind)
    {
        switch (kind) {
        case CommandKind::Query:
        case CommandKind::QueryLineFeed:
            return 6;
        case CommandKind::Read:
        case CommandKind::ClearDisplay:
            return 1;
        default:
            return 3;
        }
    }

    void RandomStep()
    {
        Panel panel = AllPanels[std::uniform_int_distribution<int>(0, PanelCount - 1)(random)];
        const PanelTable& table = TableOf(panel);
        Show(panel);
        const CommandRow* clear = nullptr;
        const CommandRow* read = nullptr;
        int total = 0;
        for (int i = 0; i < table.commandCount; ++i) {
            const CommandRow& row = table.commands[i];
            if (row.kind == CommandKind::ClearDisplay)
                clear = &row;
            if (row.kind == CommandKind::Read)
                read = &row;
            total += WeightOf(row.kind);
        }
        if (boxes[static_cast<int>(panel)].size() > LogCap && clear != nullptr) {
            Clear(*clear);
            return;
        }
        int pick = std::uniform_int_distribution<int>(0, total - 1)(random);
        const CommandRow* row = table.commands;
        while (pick >= WeightOf(row->kind))
            pick -= WeightOf((row++)->kind);
        switch (row->kind) {
        case CommandKind::Query:
        case CommandKind::QueryLineFeed:
            Query(*row, DrawFault());
            break;
        case CommandKind::Fixed:
            Fixed(*row);
            break;
        case CommandKind::Value:
        case CommandKind::QuotedValue:
            Value(*row);
            break;
        case CommandKind::Selection:
            Selection(*row);
            break;
        case CommandKind::HostName:
        case CommandKind::Password:
        case CommandKind::NewPassword:
            Text(*row);
            break;
        case CommandKind::BaudRate:
            BaudRate(*row);
            break;
        case CommandKind::FreeLine:
            Free(*row, read);
            break;
        case CommandKind::Read:
            if (!queuedUnknown)
                Read(*row);
            break;
        case CommandKind::ClearDisplay:
            Clear(*row);
            break;
        }
    }

    // Every panel's box holds what the test saw it gain: no entry went to another panel.
    void ExpectEveryBoxAsSeen()
    {
        for (Panel panel : AllPanels)
            EXPECT_EQ(OutputOf(panel), boxes[static_cast<int>(panel)]) << NameOf(panel) << " box\n"
                                                                       << History();
    }

    // Grows every box once beyond the longest log the session lets it reach, then empties it, so
    // that the memory the boxes and logs can take is taken before the warm-up is measured.
    void FillEveryBox()
    {
        for (Panel panel : AllPanels) {
            const PanelTable& table = TableOf(panel);
            const CommandRow* clear = nullptr;
            const CommandRow* lastError = nullptr;
            for (int i = 0; i < table.commandCount; ++i) {
                const CommandRow& row = table.commands[i];
                if (row.kind == CommandKind::ClearDisplay)
                    clear = &row;
                if (row.kind == CommandKind::Query && std::strcmp(row.bytes, "SYST:ERR?\n") == 0)
                    lastError = &row;
            }
            ASSERT_TRUE(clear != nullptr && lastError != nullptr);
            Show(panel);
            Begin(std::string(NameOf(panel)) + " Get Last Error until the box is full");
            HWND button = ControlOf(lastError->id);
            while (OutputOf(panel).size() <= LogCap + 1000) {
                for (int i = 0; i < 100; ++i)
                    PostMessageA(button, BM_CLICK, 0, 0);
                ASSERT_EQ(WaitSettled(program, 60000), Settled::Done) << History();
                SimClear();
            }
            Clear(*clear);
        }
    }

    void ClearEveryBox()
    {
        for (Panel panel : AllPanels) {
            const PanelTable& table = TableOf(panel);
            for (int i = 0; i < table.commandCount; ++i) {
                if (table.commands[i].kind == CommandKind::ClearDisplay) {
                    Show(panel);
                    Clear(table.commands[i]);
                }
            }
        }
    }

    struct Usage {
        DWORD handles = 0;
        double workingSetMb = 0, privateMb = 0;
        DWORD gdiObjects = 0, userObjects = 0;
    };

    Usage Measure()
    {
        Usage usage;
        HANDLE process = program.process.hProcess;
        usage.handles = HandleCount(process, program.process.dwProcessId);
        PROCESS_MEMORY_COUNTERS_EX memory{};
        memory.cb = sizeof memory;
        if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                                 sizeof memory)) {
            usage.workingSetMb = static_cast<double>(memory.WorkingSetSize) / 1048576.0;
            // Wine fills the private bytes in as the anonymous resident memory, in PagefileUsage.
            usage.privateMb =
                static_cast<double>(std::max(memory.PrivateUsage, memory.PagefileUsage)) /
                1048576.0;
        }
        usage.gdiObjects = GetGuiResources(process, GR_GDIOBJECTS);
        usage.userObjects = GetGuiResources(process, GR_USEROBJECTS);
        return usage;
    }

    static std::string Describe(const Usage& usage)
    {
        char text[160];
        std::snprintf(text, sizeof text,
                      "%lu handles, working set %.2f MB, private %.2f MB, %lu GDI and %lu USER "
                      "objects",
                      static_cast<unsigned long>(usage.handles), usage.workingSetMb,
                      usage.privateMb, static_cast<unsigned long>(usage.gdiObjects),
                      static_cast<unsigned long>(usage.userObjects));
        return text;
    }

    unsigned seed = 1;
    std::mt19937 random;
    Panel shownPanel = Panel::Command;
    std::array<std::string, PanelCount> boxes; // each output box as the test last read it
    std::string queued;         // bytes the link's socket holds that no command has taken
    bool queuedUnknown = false; // they are garbage
    std::deque<std::string> history;
    int steps = 0;
    int reopened = 0;
};

} // namespace

TEST_F(SoakTest, RandomButtonsOnAllPanelsAgainstAMisbehavingInstrument)
{
    const int commands = std::max(20, Setting("TESSALY_SOAK_COMMANDS", 300));
    const int warmUp = std::min(150, commands / 4);
    std::printf("soak: %d commands, seed %u\n", commands, seed);
    FillEveryBox();
    ASSERT_FALSE(HasFailure());
    Usage start;
    for (int i = 0; i < commands; ++i) {
        RandomStep();
        if (HasFatalFailure() || ::testing::Test::HasFailure())
            break;
        if (i % 50 == 49)
            ExpectEveryBoxAsSeen();
        if (i + 1 == warmUp) {
            ClearEveryBox();
            start = Measure();
            std::printf("soak: after %d commands (warm-up): %s\n", warmUp, Describe(start).c_str());
        }
        if (i % 1000 == 999)
            std::printf("soak: %d commands done, %d reconnections: %s\n", i + 1, reopened,
                        Describe(Measure()).c_str());
    }
    ASSERT_FALSE(HasFailure()) << History();
    ExpectEveryBoxAsSeen();
    ClearEveryBox();
    Usage end = Measure();
    std::printf("soak: at the end (%d commands, %d reconnections): %s\n", commands, reopened,
                Describe(end).c_str());
    RecordProperty("handles_after_warm_up", static_cast<int>(start.handles));
    RecordProperty("handles_at_end", static_cast<int>(end.handles));
    RecordProperty("working_set_kb_after_warm_up", static_cast<int>(start.workingSetMb * 1024));
    RecordProperty("working_set_kb_at_end", static_cast<int>(end.workingSetMb * 1024));
    EXPECT_LE(static_cast<long>(end.handles), static_cast<long>(start.handles) + HandleMargin)
        << "handles grew";
    EXPECT_LE(end.gdiObjects, start.gdiObjects + 2) << "GDI objects grew";
    EXPECT_LE(end.userObjects, start.userObjects + 2) << "USER objects grew";
    EXPECT_LE(end.workingSetMb, start.workingSetMb + MemoryMarginMb) << "working set grew";
    EXPECT_LE(end.privateMb, start.privateMb + MemoryMarginMb) << "private bytes grew";
}

// Each way an answer can outlive its query, followed by the commands that come next: the next
// query shows its own answer, and "Read" right after a long answer still shows its rest.
TEST_F(SoakTest, NoAnswerIsShownUnderALaterCommand)
{
    const CommandRow* getVoltage = CommandFor(IDC_GET_VOLTAGE);
    const CommandRow* getFrequency = CommandFor(IDC_GET_FREQUENCY);
    const CommandRow* getCurrentLimit = CommandFor(IDC_GET_CURRENT_LIMIT);
    const CommandRow* read = CommandFor(IDC_READ_ANSWER);
    const CommandRow* freeLine = CommandFor(IDC_SEND_FREE_LINE);
    ASSERT_TRUE(getVoltage && getFrequency && getCurrentLimit && read && freeLine);
    auto fault = [](const char* name, long arg) {
        for (const FaultRow& row : FaultRows) {
            if (std::strcmp(row.name, name) == 0 && row.leavesBytesQueued)
                return Fault{&row, arg};
        }
        return Fault{&FaultRows[0], 0};
    };
    const Fault none{&FaultRows[0], 0};

    // Longer than 100 bytes: "Read" takes the rest, 100 bytes at a time.
    Query(*getVoltage, fault("long", 250));
    Read(*read);
    Read(*read);
    Query(*getFrequency, none);
    // The same, but another command comes before "Read".
    Query(*getVoltage, fault("long", 180));
    Query(*getCurrentLimit, none);
    // Later than the time-out.
    Query(*getVoltage, fault("late", 5800));
    Query(*getFrequency, none);
    // Its line feed later than the time-out.
    Query(*getVoltage, fault("split", 3000));
    Query(*getCurrentLimit, none);
    // More than 100 bytes without a line feed.
    Query(*getVoltage, fault("garbage", 300));
    Query(*getFrequency, none);
    // A query from the free line, not read.
    Begin("free line *IDN?, not read");
    ASSERT_TRUE(SetTextOf(ControlOf(freeLine->entryId), "*IDN?"));
    ASSERT_TRUE(ClickToEnd(freeLine->id));
    NewEntry(Panel::Command);
    ExpectSent("*IDN?\n");
    Sleep(50);
    Query(*getVoltage, none);
}
