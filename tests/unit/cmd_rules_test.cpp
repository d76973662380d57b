// tessaly-cmd's decisions: its command line, how a keyword names a row and an argument fills the
// row's controls, that --list names every row so that it can be typed back, and the exit status
// of each kind of click.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cmd/cmd_args.h"
#include "cmd/cmd_rules.h"
#include "link/link.h"
#include "panels/transaction.h"
#include "res/resource.h"

namespace
{

const std::vector<std::string> Tcp = {"--tcp", "192.0.2.5:5025"};

ScriptPlan Parse(std::vector<std::string> commands, std::vector<std::string> link = Tcp)
{
    link.insert(link.end(), commands.begin(), commands.end());
    return ParseArguments(link);
}

// A value the row takes, for the sweep over every row.
std::string ValueFor(const CommandRow& row)
{
    switch (row.kind) {
    case CommandKind::Query:
    case CommandKind::QueryLineFeed:
    case CommandKind::Fixed:
        return "";
    case CommandKind::Selection:
        return "=" + CaptionOf(PanelOf(row), row.options[0].id);
    case CommandKind::BaudRate:
        return "=9600";
    case CommandKind::NewPassword:
        return "=old,new";
    default:
        return "=1";
    }
}

} // namespace

TEST(CmdArguments, LinkOptionsAndCommandsInOrder)
{
    ScriptPlan plan = Parse({"VOLT=120", "--log", "OUTP=on", "MEAS:POW?", "RANG=low"});
    ASSERT_EQ(plan.error, "");
    EXPECT_EQ(plan.mode, ScriptMode::Run);
    ASSERT_EQ(plan.instruments.size(), 1u);
    EXPECT_EQ(plan.instruments[0].link, ScriptLink::Tcp);
    EXPECT_EQ(plan.instruments[0].host, "192.0.2.5");
    EXPECT_EQ(plan.instruments[0].port, "5025");
    EXPECT_TRUE(plan.log);
    ASSERT_EQ(plan.steps.size(), 4u);
    EXPECT_EQ(plan.steps[0].row->id, IDC_SET_VOLTAGE);
    EXPECT_EQ(plan.steps[0].entry, "120");
    EXPECT_EQ(plan.steps[1].optionId, IDC_OUTPUT_ON);
    EXPECT_EQ(plan.steps[2].row->id, IDC_GET_POWER);
    EXPECT_EQ(plan.steps[3].row->id, IDC_SET_RANGE);
    EXPECT_EQ(plan.steps[3].optionId, IDC_RANGE_LOW);

    plan = Parse({}, {"--com", "12", "--baud", "19200"});
    ASSERT_EQ(plan.instruments.size(), 1u);
    EXPECT_EQ(plan.instruments[0].link, ScriptLink::Rs232);
    EXPECT_EQ(plan.instruments[0].portIndex, 12);
    EXPECT_EQ(plan.instruments[0].baudIndex, 7);
    plan = Parse({}, {"--usb", "0"});
    ASSERT_EQ(plan.instruments.size(), 1u);
    EXPECT_EQ(plan.instruments[0].link, ScriptLink::Usb);
    EXPECT_EQ(plan.instruments[0].portIndex, 0);
    EXPECT_EQ(plan.instruments[0].baudIndex, DefaultBaudIndex);
    plan = Parse({}, {"--tcp", "[::1]:5025"});
    ASSERT_EQ(plan.instruments.size(), 1u);
    EXPECT_EQ(plan.instruments[0].host, "::1");
    EXPECT_EQ(ParseArguments({"discover"}).mode, ScriptMode::Discover);
    EXPECT_EQ(ParseArguments({"--list"}).mode, ScriptMode::List);
    EXPECT_EQ(ParseArguments({"--help"}).mode, ScriptMode::Help);
}

TEST(CmdArguments, SendAndQueryAreTheFreeLineAndRead)
{
    ScriptPlan plan = Parse({"--send", "VOLT 1\\n", "--query", "*IDN?"});
    ASSERT_EQ(plan.steps.size(), 3u);
    EXPECT_EQ(plan.steps[0].row->kind, CommandKind::FreeLine);
    EXPECT_EQ(plan.steps[0].entry, "VOLT 1\\n");
    EXPECT_EQ(plan.steps[1].row->kind, CommandKind::FreeLine);
    EXPECT_EQ(plan.steps[1].entry, "*IDN?");
    EXPECT_EQ(plan.steps[2].row->kind, CommandKind::Read);
}

TEST(CmdArguments, UsageErrorsNameTheArgumentAndPointToTheList)
{
    const struct {
        std::vector<std::string> args;
        const char* named;
    } cases[] = {
        {{}, "nothing to do"},
        {{"VOLT=1"}, "no link"},
        {{"--tcp"}, "--tcp needs a value"},
        {{"--tcp", "host"}, "--tcp host"},
        {{"--tcp", "host:"}, "--tcp host:"},
        {{"--com", "26"}, "--com 26"},
        {{"--com", "-1"}, "--com -1"},
        {{"--com", "1", "--baud", "9601"}, "--baud 9601"},
        {{"--usb", "1", "--baud", "9600"}, "--baud"},
        {{"--tcp", "h:1", "--tcp", "h:1"}, "--tcp h:1: that instrument is given twice"},
        {{"--com", "1", "--com", "01"}, "--com 01: that instrument is given twice"},
        {{"--baud", "9600", "--com", "1"}, "--baud 9600: give it after its --com N"},
        {{"--com", "1", "--baud", "9600", "--baud", "9600"}, "--baud: give it once"},
        {{"--tcp", "h:1", "--bogus"}, "\"--bogus\""},
        {{"--tcp", "h:1", "discover"}, "\"discover\""},
        {{"--tcp", "h:1", "VOLT=1", "FOO=1"}, "\"FOO=1\""},
        {{"--tcp", "h:1", "Panel:VOLT=1"}, "\"Panel:VOLT=1\""},
        {{"--tcp", "h:1", "Trigger:VOLT=1"}, "\"Trigger:VOLT=1\""},
        {{"--tcp", "h:1", "VOLT"}, "\"VOLT\": VOLT needs a value"},
        {{"--tcp", "h:1", "SYST:COMM:SER:BAUD=3"}, "\"3\" matches more than one of 300 |"},
        {{"--tcp", "h:1", "OUTP=O"}, "\"O\" matches more than one of On | Off"},
        {{"--tcp", "h:1", "OUTP="}, "\"\" is not one of On | Off"},
        {{"--tcp", "h:1", "SYST:COMM:SER:BAUD=9601"}, "\"9601\" is not one of 300 |"},
        {{"--tcp", "h:1", "MEAS:POW?=1"}, "MEAS:POW? takes no value"},
        {{"--tcp", "h:1", "SYST:ERR?"}, "Command:SYST:ERR?, Trigger:SYST:ERR?"},
        {{"--tcp", "h:1", "MODE=FIX"}, "Trigger:VOLT:MODE, Trigger:FREQ:MODE"},
        {{"--tcp", "h:1", "SYST:PASS:NEW=secret"}, "SYST:PASS:NEW=CURRENT,NEW"},
    };
    for (const auto& c : cases) {
        std::string error = ParseArguments(c.args).error;
        EXPECT_NE(error.find(c.named), std::string::npos) << error;
        EXPECT_NE(error.find("tessaly-cmd --list"), std::string::npos) << error;
    }
}

// Which options take the next argument as their value, and the whole text of the error when it
// is missing; --log and --csv leave the next argument to be a command.
TEST(CmdArguments, OptionsThatTakeAValue)
{
    for (const char* option : {"--tcp", "--com", "--usb", "--baud", "--send", "--query", "--every",
                               "--count", "--for", "--wait", "--out"}) {
        EXPECT_EQ(Parse({option}).error,
                  "tessaly-cmd: " + std::string(option) +
                      " needs a value\ntessaly-cmd --list shows every command, tessaly-cmd "
                      "--help the usage");
    }
    for (const char* option : {"--log", "--csv"}) {
        ScriptPlan plan = Parse({option, "*IDN?"});
        EXPECT_EQ(plan.error, "") << option;
        EXPECT_EQ(plan.steps.size(), 1u) << option;
    }
}

TEST(CmdCommands, KeywordsPanelsAndCaptions)
{
    const struct {
        const char* argument;
        int id;
        int optionId;
        int listPosition;
        const char* entry;
        const char* secondEntry;
    } cases[] = {
        {"trigger:volt:mode=list", IDC_SET_VOLT_MODE, IDC_VOLT_MODE_LIST, -1, "list", ""},
        {"Status:STAT:OPER?", IDC_GET_OPER, 0, -1, "", ""},
        {"Trigger:OPER?", IDC_TRIGGER_GET_OPER, 0, -1, "", ""},
        {"RANG=HIGH", IDC_SET_RANGE, IDC_RANGE_HIGH, -1, "HIGH", ""},
        {"TRIG:SOUR=imm", IDC_SET_TRIGGER_SOURCE, IDC_TRIGGER_SOURCE_IMMEDIATE, -1, "imm", ""},
        {"SYST:COMM:LAN:CONF=auto", IDC_SET_LAN_CONFIG, IDC_LAN_CONFIG_AUTO_IP, -1, "auto", ""},
        {"SYST:COMM:SER:BAUD=115200", IDC_SET_BAUD_RATE, 0, 10, "115200", ""},
        {"SYST:COMM:SER:BAUD=30", IDC_SET_BAUD_RATE, 0, 0, "30", ""},
        {"SYST:PASS:NEW=a,b,c", IDC_PASSWORD_NEW, 0, -1, "a", "b,c"},
        {"VOLT=", IDC_SET_VOLTAGE, 0, -1, "", ""},
        {"VOLT=12V=", IDC_SET_VOLTAGE, 0, -1, "12V=", ""},
        {"*idn?", IDC_GET_IDN, 0, -1, "", ""},
    };
    for (const auto& c : cases) {
        ScriptStep step;
        ASSERT_EQ(ResolveCommand(c.argument, step), "") << c.argument;
        EXPECT_EQ(step.row->id, c.id) << c.argument;
        EXPECT_EQ(step.optionId, c.optionId) << c.argument;
        EXPECT_EQ(step.listPosition, c.listPosition) << c.argument;
        EXPECT_EQ(step.entry, c.entry) << c.argument;
        EXPECT_EQ(step.secondEntry, c.secondEntry) << c.argument;
    }
}

TEST(CmdCommands, ChoicesByTheStartOfTheirCaption)
{
    const std::vector<std::string> choices = {"On", "Off", "Only"};
    EXPECT_EQ(MatchChoice("on", choices), 0); // equal to one wins over starting two
    EXPECT_EQ(MatchChoice("OF", choices), 1);
    EXPECT_EQ(MatchChoice("onl", choices), 2);
    EXPECT_EQ(MatchChoice("O", choices), -2);
    EXPECT_EQ(MatchChoice("x", choices), -1);
    EXPECT_EQ(MatchChoice("", choices), -1);
    EXPECT_EQ(MatchChoice("Onward", choices), -1);
}

// Every row but Clear Display has a line in --list, and the first word of each keyword line
// typed back names that row; by its panel and keyword too. --wait and --every follow.
TEST(CmdCommands, EveryRowIsListedAndReachable)
{
    std::istringstream list(ListText());
    std::vector<std::string> firstWords;
    for (std::string line; std::getline(list, line);)
        firstWords.push_back(line.substr(0, line.find('\t')));
    std::size_t listed = 0;
    for (const PanelEntry& named : PanelRegistry) {
        const PanelTable& table = TableOf(named.panel);
        for (int i = 0; i < table.commandCount; ++i) {
            const CommandRow& row = table.commands[i];
            if (row.kind == CommandKind::ClearDisplay)
                continue;
            ASSERT_LT(listed, firstWords.size());
            std::string typed = firstWords[listed++];
            if (row.kind == CommandKind::FreeLine || row.kind == CommandKind::Read) {
                EXPECT_EQ(typed.rfind("--", 0), 0u) << typed;
                continue;
            }
            for (const std::string& name :
                 {typed, std::string(named.name) + ":" + KeywordOf(row)}) {
                ScriptStep step;
                EXPECT_EQ(ResolveCommand(name + ValueFor(row), step), "") << name;
                EXPECT_EQ(step.row, &row) << name;
            }
        }
    }
    // Then the options that take a place among the commands, and --reconnect, which goes with
    // --every.
    EXPECT_EQ(
        std::vector<std::string>(firstWords.begin() + static_cast<long>(listed), firstWords.end()),
        std::vector<std::string>({"--wait MS", "--every SECONDS", "--reconnect", "--finally"}));
}

TEST(CmdVerdict, ExitStatusOfEachClick)
{
    ScriptStep query, setting, freeLine;
    ASSERT_EQ(ResolveCommand("MEAS:VOLT?", query), "");
    ASSERT_EQ(ResolveCommand("VOLT=1", setting), "");
    freeLine = Parse({"--send", "X"}).steps[0];
    const std::string refusal =
        RefusedPrefix + std::string("VOLT 1") + RefusalText(NonDigitReason) + EntrySeparator;

    EXPECT_EQ(JudgeStep(*query.row, "entry", "+1.2E+2\r", false, false).status, ExitDone);
    EXPECT_EQ(JudgeStep(*setting.row, "entry", NoResponseText, false, false).status, ExitDone);
    app.refused = true;
    StepVerdict refused = JudgeStep(*setting.row, refusal, NoResponseText, false, false);
    app.refused = false;
    EXPECT_EQ(refused.status, ExitCommandFailed);
    EXPECT_EQ(refused.message, RefusedPrefix + std::string("VOLT 1") + RefusalText(NonDigitReason));
    for (const char* failure :
         {EthTimeoutText, ReadFailureText, WriteFailureText, NoResponseText}) {
        StepVerdict v = JudgeStep(*query.row, "entry", failure, false, false);
        EXPECT_EQ(v.status, ExitCommandFailed) << failure;
        EXPECT_EQ(v.message, std::string("MEAS:VOLT?: ") + failure);
    }
    EXPECT_EQ(JudgeStep(*setting.row, "e", WriteFailureText, false, false).status,
              ExitCommandFailed);
    EXPECT_EQ(JudgeStep(*freeLine.row, "e", NoResponseText, true, false).message,
              "--send: the link failed");
    EXPECT_EQ(JudgeStep(*setting.row, "e", NoResponseText, false, true).status, ExitCommandFailed);
    EXPECT_EQ(DiscoveryStatus(0), ExitCommandFailed);
    EXPECT_EQ(DiscoveryStatus(3), ExitDone);
}

// A step that went well is no success when its output was lost (that comes first) or a stop was
// asked; a failed step keeps its own status whatever followed.
TEST(CmdVerdict, LostOutputAndStopsOnlyTurnASuccess)
{
    EXPECT_EQ(StatusAfter(ExitDone, false, false), ExitDone);
    EXPECT_EQ(StatusAfter(ExitDone, true, false), ExitOutputLost);
    EXPECT_EQ(StatusAfter(ExitDone, false, true), ExitStopped);
    EXPECT_EQ(StatusAfter(ExitDone, true, true), ExitOutputLost);
    for (int failed : {ExitCommandFailed, ExitUsage, ExitLinkNotOpened})
        EXPECT_EQ(StatusAfter(failed, true, true), failed);
}

// An answer's line ends where the answer does: the CR of a CR LF end goes, nothing else does.
TEST(CmdVerdict, AnswerLineDropsOnlyTheCarriageReturnOfItsEnd)
{
    EXPECT_EQ(AnswerLine("+1.2E+2\r"), "+1.2E+2");
    EXPECT_EQ(AnswerLine("+1.2E+2"), "+1.2E+2");
    EXPECT_EQ(AnswerLine("a\rb"), "a\rb");
    EXPECT_EQ(AnswerLine("\r\r"), "\r");
    EXPECT_EQ(AnswerLine(""), "");
}
