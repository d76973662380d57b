// Every button of every panel pressed in the real program over a TCP link to tessaly-sim: the
// bytes the simulator received must be the command line of the button's table row, and the
// panel's output box must show the log entry of the command transaction, newest first.
#include <cstring>

#include "link/link.h"
#include "panels/transaction.h"
#include "res/resource.h"
#include "support/sim_control.h"
#include "tests/e2e/gui_fixture.h"

namespace
{

constexpr const char* Separator = "\r\n \r\n";

std::string WithoutLast(const std::string& text)
{
    return text.substr(0, text.size() - 1);
}

// A value that the row's character set accepts.
std::string GoodValue(const CommandRow& row)
{
    if (std::strcmp(row.charSet, ListChars) == 0)
        return "1.5,-2,3E1";
    if (std::strcmp(row.charSet, AddressChars) == 0)
        return "192.0.2.10";
    if (std::strcmp(row.charSet, DigitChars) == 0)
        return std::to_string(SimTcpPort()); // the port the simulator listens on
    return "1.5E1";
}

// What the simulator answers to the query now, or "" when the query has no fixed answer.
std::string ExpectedAnswer(const std::string& line)
{
    std::string query = WithoutLast(line);
    if (query.empty() || query.back() != '?')
        return "";
    std::string answer = SimControl("get " + WithoutLast(query));
    return answer.rfind("error:", 0) == 0 ? "" : answer;
}

class PanelCommandsTest : public ProgramTest, public ::testing::WithParamInterface<Panel>
{
  protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        if (HasFatalFailure())
            return;
        OpenTcpLink(true);
        ASSERT_EQ(ChooseView(program, NameOf(panel)), Settled::Done);
    }

    // Presses the button and checks the bytes sent.
    void PressSending(int id, const std::string& sent)
    {
        SimClear();
        ASSERT_EQ(Click(program, ControlOf(id)), Settled::Done)
            << StatusBoxText(FindStatusBox(program));
        if (sent.empty())
            Sleep(100); // time for stray bytes to arrive
        EXPECT_EQ(SimReceived(sent.size()), sent);
    }

    // Presses the button and checks the bytes sent and the new top entry of the log.
    void Press(int id, const std::string& sent, const std::string& entry)
    {
        SCOPED_TRACE("button " + std::to_string(id));
        PressSending(id, sent);
        log = entry + log;
        EXPECT_EQ(OutputOf(panel), log);
    }

    void PressQuery(const CommandRow& row, bool lineFeed)
    {
        std::string answer = ExpectedAnswer(row.bytes);
        std::string echo = SendingPrefix + WithoutLast(row.bytes) + Separator;
        if (!answer.empty()) {
            Press(row.id, row.bytes, echo + answer + (lineFeed ? "\n" : "") + Separator);
            return;
        }
        // An answer that changes by itself: only the shape of the new entry is known, the echo,
        // one answer line and the separator above the entries before it.
        SCOPED_TRACE("button " + std::to_string(row.id));
        PressSending(row.id, row.bytes);
        const std::string shown = OutputOf(panel);
        const std::string tail = Separator + log;
        ASSERT_GT(shown.size(), echo.size() + tail.size()) << shown;
        EXPECT_EQ(shown.rfind(echo, 0), 0u) << shown;
        EXPECT_EQ(shown.compare(shown.size() - tail.size(), tail.size(), tail), 0) << shown;
        log = shown;
    }

    void PressValue(const CommandRow& row, bool quoted)
    {
        std::string value = GoodValue(row);
        SetTextOf(ControlOf(row.entryId), value);
        std::string line = row.bytes + value + (quoted ? "\"" : "") + "\n";
        Press(row.id, line, SendingPrefix + WithoutLast(line) + Separator);

        // A letter in the value: refused, nothing sent. The echo ends before the last stored
        // byte: the value's last character, or the closing quote.
        SetTextOf(ControlOf(row.entryId), "1x5");
        std::string stored = row.bytes + std::string("1x5") + (quoted ? "\"" : "");
        Press(row.id, "",
              RefusedPrefix + WithoutLast(stored) + RefusalText(NonDigitReason) + Separator);
    }

    void PressText(const CommandRow& row)
    {
        SetTextOf(ControlOf(row.entryId), "bench,\"7");
        std::string text = std::string(row.bytes) + "bench,\"7";
        if (row.kind == CommandKind::NewPassword) {
            SetTextOf(ControlOf(row.secondEntryId), "next");
            text += "\",\"next";
        }
        std::string line = text + "\"\n";
        Press(row.id, line, SendingPrefix + WithoutLast(line) + Separator);
    }

    void PressBaudRate(const CommandRow& row)
    {
        std::string line = std::string(row.bytes) + "9600\n";
        Press(row.id, line, SendingPrefix + WithoutLast(line) + Separator);
        SendMessageA(ControlOf(row.entryId), LB_SETCURSEL, 10, 0);
        line = std::string(row.bytes) + "115200\n";
        Press(row.id, line, SendingPrefix + WithoutLast(line) + Separator);
    }

    // The free line, each time followed by "Read" for the answer when the panel has it.
    void PressFreeLine(const CommandRow& row)
    {
        const CommandRow* read = nullptr;
        for (int i = 0; i < TableOf(panel).commandCount; ++i) {
            if (TableOf(panel).commands[i].kind == CommandKind::Read)
                read = &TableOf(panel).commands[i];
        }
        struct {
            const char* typed;
            const char* sent;
            const char* answered;
        } lines[] = {{"*IDN?", "*IDN?\n", "*IDN?\n"}, {"OUTP?\\r\\n", "OUTP?\r\n", "OUTP?\n"}};
        for (const auto& line : lines) {
            std::string answer = ExpectedAnswer(line.answered);
            SetTextOf(ControlOf(row.entryId), line.typed);
            Press(row.id, line.sent, SendingPrefix + WithoutLast(line.sent) + "\r\n" + Separator);
            if (read != nullptr)
                Press(read->id, "", answer + Separator);
        }
    }

    void PressSelections()
    {
        const PanelTable& table = TableOf(panel);
        // Refusals first, while no group has a choice yet.
        for (int i = 0; i < table.commandCount; ++i) {
            const CommandRow& row = table.commands[i];
            if (row.kind == CommandKind::Selection)
                Press(row.id, "",
                      RefusedPrefix + WithoutLast(row.bytes) + RefusalText(row.reason) + Separator);
        }
        for (int i = 0; i < table.commandCount; ++i) {
            const CommandRow& row = table.commands[i];
            if (row.kind != CommandKind::Selection)
                continue;
            for (const OptionChoice& option : row.options) {
                if (option.id == 0)
                    break;
                ASSERT_EQ(Click(program, ControlOf(option.id)), Settled::Done);
                std::string line = std::string(row.bytes) + option.argument + "\n";
                Press(row.id, line, SendingPrefix + WithoutLast(line) + Separator);
            }
        }
    }

    Panel panel = GetParam();
    std::string log; // what the output box must show
};

} // namespace

TEST_P(PanelCommandsTest, EveryButtonSendsItsLineAndLogsIt)
{
    const PanelTable& table = TableOf(panel);
    const CommandRow* clear = nullptr;
    for (int i = 0; i < table.commandCount; ++i) {
        const CommandRow& row = table.commands[i];
        switch (row.kind) {
        case CommandKind::Query:
        case CommandKind::QueryLineFeed:
            PressQuery(row, row.kind == CommandKind::QueryLineFeed);
            break;
        case CommandKind::Fixed:
            Press(row.id, row.bytes, SendingPrefix + WithoutLast(row.bytes) + Separator);
            break;
        case CommandKind::Value:
        case CommandKind::QuotedValue:
            PressValue(row, row.kind == CommandKind::QuotedValue);
            break;
        case CommandKind::HostName:
        case CommandKind::Password:
        case CommandKind::NewPassword:
            PressText(row);
            break;
        case CommandKind::BaudRate:
            PressBaudRate(row);
            break;
        case CommandKind::FreeLine:
            PressFreeLine(row);
            break;
        case CommandKind::ClearDisplay:
            clear = &row;
            break;
        case CommandKind::Selection: // below, refusals first
        case CommandKind::Read:      // with the free line
            break;
        }
        if (HasFatalFailure())
            return;
    }
    PressSelections();
    SaveScreenshot(program.main, std::string("log-") + LowerNameOf(panel));

    ASSERT_NE(clear, nullptr) << "every panel has Clear Display";
    log.clear();
    Press(clear->id, "", "");
    EXPECT_EQ(OutputOf(panel), "");
    EXPECT_EQ(FindStatusBox(program), nullptr);
}

INSTANTIATE_TEST_SUITE_P(AllPanels, PanelCommandsTest, ::testing::ValuesIn(AllPanels),
                         [](const ::testing::TestParamInfo<Panel>& info) {
                             return std::string(LowerNameOf(info.param));
                         });

TEST_F(ProgramTest, EachPanelKeepsItsOwnLogAndClearDisplayEmptiesOnlyItsOwn)
{
    OpenTcpLink(true);
    ASSERT_EQ(Click(program, ControlOf(IDC_CLS)), Settled::Done); // Command "*CLS"
    ASSERT_EQ(ChooseView(program, NameOf(Panel::Trigger)), Settled::Done);
    ASSERT_EQ(Click(program, ControlOf(IDC_BUS_TRIGGER)), Settled::Done); // Trigger "*TRG"
    EXPECT_EQ(OutputOf(Panel::Command), "Sending command:  *CLS\r\n \r\n");
    EXPECT_EQ(OutputOf(Panel::Trigger), "Sending command:  *TRG\r\n \r\n");

    ASSERT_EQ(Click(program, ControlOf(IDC_TRIGGER_CLEAR_DISPLAY)),
              Settled::Done); // Trigger "Clear Display"
    EXPECT_EQ(OutputOf(Panel::Trigger), "");
    EXPECT_EQ(OutputOf(Panel::Command), "Sending command:  *CLS\r\n \r\n");
    ASSERT_EQ(Click(program, ControlOf(IDC_IMMEDIATE_TRIGGER)), Settled::Done); // Trigger "TRIG"
    EXPECT_EQ(OutputOf(Panel::Trigger), "Sending command:  TRIG\r\n \r\n") << "a fresh log";
}

TEST_F(ProgramTest, GetLastErrorWithoutLinkShowsTheSerialFailure)
{
    ASSERT_EQ(Click(program, ControlOf(IDC_COMMAND_GET_LAST_ERROR)), Settled::Done);
    EXPECT_EQ(OutputOf(Panel::Command),
              "Sending command:  SYST:ERR?\r\n \r\n" + std::string(ReadFailureText) + "\r\n \r\n");
}

TEST_F(ProgramTest, GetLastErrorShowsTheInstrumentsErrorQueue)
{
    OpenTcpLink(true);
    ASSERT_EQ(Click(program, ControlOf(IDC_CLS)), Settled::Done); // "*CLS" empties the error queue
    SetTextOf(ControlOf(IDC_FREE_LINE_BOX), "BOGUS:HEADER");
    ASSERT_EQ(Click(program, ControlOf(IDC_SEND_FREE_LINE)), Settled::Done); // "Send"
    std::string error = SimControl("get SYST:ERR");
    EXPECT_EQ(error.rfind("-113", 0), 0u) << error;
    ASSERT_EQ(Click(program, ControlOf(IDC_COMMAND_GET_LAST_ERROR)), Settled::Done);
    std::string log = OutputOf(Panel::Command);
    EXPECT_EQ(log.rfind("Sending command:  SYST:ERR?\r\n \r\n" + error + "\r\n \r\n", 0), 0u)
        << log;
}
