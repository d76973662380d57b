// Every command button of every panel, run from its command row as a click would run it: the exact
// bytes that reach the link and the exact entry that the panel's log gains, refusals included.
// Each case runs once over the serial link and once over the TCP link.
#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "console/panel_table.h"
#include "console/transaction.h"
#include "res/resource.h"
#include "tests/unit/fakes.h"

namespace
{

const char* const NonDigit = ", set value contained a non digit character. \r\n Command not sent";
const char* const TooLong = ", value too long for one command line. \r\n Command not sent";
const char* const RangeReason = ", need to select High(270V) or Low(135V). \r\n Command not sent";
const char* const OutputReason = ", need to select On or Off. \r\n Command not sent";
const char* const StateReason =
    ", need to select SAV/RCL State 0, 1, 2, or 3. \r\n Command not sent";
const char* const SourceReason = ", need to select BUS or IMMediate. \r\n Command not sent";
const char* const ContinuousReason = ", need to select ON or OFF. \r\n Command not sent";
const char* const ModeReason = ", need to select FIX, STEP or LIST. \r\n Command not sent";
const char* const LanReason = ", need to select DHCP, AUTO-IP or Manual. \r\n Command not sent";
const char* const BaudReason = ", need to select a baud rate. \r\n Command not sent";

const char* const Separator = "\r\n \r\n";

// The instrument's answer to every query, and what the log shows of it (up to the line feed).
const char* const Answer = "+1.20000E+02\r\nnext";
const char* const AnswerShown = "+1.20000E+02\r";

// Every entry box of every panel. Each holds its own digits unless a case types something else,
// so a button that reads the wrong box sends the wrong digits.
const int EntryBoxIds[] = {
    IDC_VOLTAGE_BOX,       IDC_FREQUENCY_BOX,     IDC_CURRENT_LIMIT_BOX, IDC_FREE_LINE_BOX,
    IDC_SRE_BOX,           IDC_ESE_BOX,           IDC_OPER_ENAB_BOX,     IDC_QUES_ENAB_BOX,
    IDC_TRIGGER_DELAY_BOX, IDC_TRIGGER_COUNT_BOX, IDC_VOLT_TRIG_BOX,     IDC_FREQ_TRIG_BOX,
    IDC_CURR_TRIG_BOX,     IDC_LIST_DWELL_BOX,    IDC_LIST_VOLT_BOX,     IDC_LIST_FREQ_BOX,
    IDC_LIST_CURR_BOX,     IDC_LIST_COUNT_BOX,    IDC_LAN_IP_BOX,        IDC_SUBNET_BOX,
    IDC_GATEWAY_BOX,       IDC_HOSTNAME_BOX,      IDC_TCP_SOCKET_BOX,    IDC_CURRENT_PASSWORD_BOX,
    IDC_NEW_PASSWORD_BOX};

struct Expected {
    std::string sent;  // bytes on the link
    std::string entry; // what the log gains in front of its older text
    int sends;
    int receives;
    bool clears = false; // the log is emptied instead
};

std::string AllButLast(const std::string& bytes)
{
    return bytes.substr(0, bytes.size() - 1);
}

Expected Sends(const std::string& bytes)
{
    return {bytes, "Sending command:  " + AllButLast(bytes) + Separator, 1, 0};
}
Expected Asks(const std::string& bytes)
{
    return {bytes, "Sending command:  " + AllButLast(bytes) + Separator + AnswerShown + Separator,
            1, 1};
}
Expected AsksWithLineFeed(const std::string& bytes)
{
    return {bytes,
            "Sending command:  " + AllButLast(bytes) + Separator + AnswerShown + "\n" + Separator,
            1, 1};
}
// echo: the bytes stored before the refusal, less the last one.
Expected Refuses(const std::string& echo, const char* reason)
{
    return {"", "Could not send command:  " + echo + reason + Separator, 0, 0};
}
Expected SendsFreeLine(const std::string& bytes)
{
    return {bytes, "Sending command:  " + AllButLast(bytes) + "\r\n" + Separator, 1, 0};
}
Expected Reads()
{
    return {"", std::string(AnswerShown) + Separator, 0, 1};
}
Expected Clears()
{
    return {"", "", 0, 0, true};
}

struct Case {
    int id;
    Panel panel; // whose log the entry goes to
    std::map<int, std::string> entries;
    std::set<int> checked;
    Expected expected;
    int baudPosition = 6; // selected position of the baud list; -1 for none
    const char* answer = Answer;
};

void PrintTo(const Case& c, std::ostream* os)
{
    *os << "button " << c.id;
    for (const auto& [id, text] : c.entries)
        *os << " box " << id << "=\"" << text << "\"";
    for (int id : c.checked)
        *os << " checked " << id;
    *os << " baud position " << c.baudPosition;
}

std::string Ones(int n)
{
    return std::string(static_cast<std::size_t>(n), '1');
}
std::string Letters(int n, char c)
{
    return std::string(static_cast<std::size_t>(n), c);
}

const std::vector<Case>& Cases()
{
    static const std::vector<Case> cases = {
        // Command panel: values.
        {IDC_SET_VOLTAGE, Panel::Command, {{IDC_VOLTAGE_BOX, "120"}}, {}, Sends("VOLT 120\n")},
        {IDC_SET_VOLTAGE, Panel::Command, {{IDC_VOLTAGE_BOX, ""}}, {}, Sends("VOLT \n")},
        {IDC_SET_VOLTAGE,
         Panel::Command,
         {{IDC_VOLTAGE_BOX, "1.2E+2"}},
         {},
         Sends("VOLT 1.2E+2\n")},
        {IDC_SET_VOLTAGE, Panel::Command, {{IDC_VOLTAGE_BOX, "-5"}}, {}, Sends("VOLT -5\n")},
        {IDC_SET_VOLTAGE, Panel::Command, {{IDC_VOLTAGE_BOX, "0.5e1"}}, {}, Sends("VOLT 0.5e1\n")},
        {IDC_SET_VOLTAGE,
         Panel::Command,
         {{IDC_VOLTAGE_BOX, "12V"}},
         {},
         Refuses("VOLT 12", NonDigit)},
        {IDC_SET_VOLTAGE,
         Panel::Command,
         {{IDC_VOLTAGE_BOX, "120V"}},
         {},
         Refuses("VOLT 120", NonDigit)},
        {IDC_SET_VOLTAGE,
         Panel::Command,
         {{IDC_VOLTAGE_BOX, "1,5"}},
         {},
         Refuses("VOLT 1,", NonDigit)},
        {IDC_SET_VOLTAGE,
         Panel::Command,
         {{IDC_VOLTAGE_BOX, "1 5"}},
         {},
         Refuses("VOLT 1 ", NonDigit)},
        {IDC_SET_VOLTAGE,
         Panel::Command,
         {{IDC_VOLTAGE_BOX, Ones(94)}},
         {},
         Sends("VOLT " + Ones(94) + "\n")},
        {IDC_SET_VOLTAGE,
         Panel::Command,
         {{IDC_VOLTAGE_BOX, Ones(95)}},
         {},
         Refuses("VOLT " + Ones(94), TooLong)},
        {IDC_SET_VOLTAGE,
         Panel::Command,
         {{IDC_VOLTAGE_BOX, Ones(255)}},
         {},
         Refuses("VOLT " + Ones(94), TooLong)},
        {IDC_SET_FREQUENCY, Panel::Command, {{IDC_FREQUENCY_BOX, "60"}}, {}, Sends("FREQ 60\n")},
        {IDC_SET_FREQUENCY, Panel::Command, {{IDC_FREQUENCY_BOX, ""}}, {}, Sends("FREQ \n")},
        {IDC_SET_FREQUENCY,
         Panel::Command,
         {{IDC_FREQUENCY_BOX, "60Hz"}},
         {},
         Refuses("FREQ 60H", NonDigit)},
        {IDC_SET_CURRENT_LIMIT,
         Panel::Command,
         {{IDC_CURRENT_LIMIT_BOX, "2.5"}},
         {},
         Sends("CURR 2.5\n")},
        {IDC_SET_CURRENT_LIMIT,
         Panel::Command,
         {{IDC_CURRENT_LIMIT_BOX, "1,5"}},
         {},
         Refuses("CURR 1,", NonDigit)},
        // Command panel: selections; the first checked option in the group's order wins.
        {IDC_SET_RANGE, Panel::Command, {}, {}, Refuses("VOLT:RANG", RangeReason)},
        {IDC_SET_RANGE, Panel::Command, {}, {IDC_RANGE_HIGH}, Sends("VOLT:RANG HI\n")},
        {IDC_SET_RANGE, Panel::Command, {}, {IDC_RANGE_LOW}, Sends("VOLT:RANG LO\n")},
        {IDC_SET_RANGE,
         Panel::Command,
         {},
         {IDC_RANGE_HIGH, IDC_RANGE_LOW},
         Sends("VOLT:RANG HI\n")},
        {IDC_SET_RANGE,
         Panel::Command,
         {},
         {IDC_OUTPUT_ON, IDC_SAV_RCL_STATE_0},
         Refuses("VOLT:RANG", RangeReason)},
        {IDC_SET_OUTPUT, Panel::Command, {}, {}, Refuses("OUTP", OutputReason)},
        {IDC_SET_OUTPUT, Panel::Command, {}, {IDC_OUTPUT_ON}, Sends("OUTP 1\n")},
        {IDC_SET_OUTPUT, Panel::Command, {}, {IDC_OUTPUT_OFF}, Sends("OUTP 0\n")},
        {IDC_SET_OUTPUT, Panel::Command, {}, {IDC_OUTPUT_ON, IDC_OUTPUT_OFF}, Sends("OUTP 1\n")},
        {IDC_SET_OUTPUT,
         Panel::Command,
         {},
         {IDC_RANGE_HIGH, IDC_RANGE_LOW},
         Refuses("OUTP", OutputReason)},
        {IDC_SAV, Panel::Command, {}, {}, Refuses("*SAV", StateReason)},
        {IDC_SAV, Panel::Command, {}, {IDC_SAV_RCL_STATE_0}, Sends("*SAV 0\n")},
        {IDC_SAV, Panel::Command, {}, {IDC_SAV_RCL_STATE_1}, Sends("*SAV 1\n")},
        {IDC_SAV, Panel::Command, {}, {IDC_SAV_RCL_STATE_2}, Sends("*SAV 2\n")},
        {IDC_SAV, Panel::Command, {}, {IDC_SAV_RCL_STATE_3}, Sends("*SAV 3\n")},
        {IDC_SAV,
         Panel::Command,
         {},
         {IDC_SAV_RCL_STATE_1, IDC_SAV_RCL_STATE_3},
         Sends("*SAV 1\n")},
        {IDC_SAV,
         Panel::Command,
         {},
         {IDC_SAV_RCL_STATE_2, IDC_SAV_RCL_STATE_3},
         Sends("*SAV 2\n")},
        {IDC_RCL, Panel::Command, {}, {}, Refuses("*RCL", StateReason)},
        {IDC_RCL, Panel::Command, {}, {IDC_SAV_RCL_STATE_0}, Sends("*RCL 0\n")},
        {IDC_RCL, Panel::Command, {}, {IDC_SAV_RCL_STATE_1}, Sends("*RCL 1\n")},
        {IDC_RCL, Panel::Command, {}, {IDC_SAV_RCL_STATE_2}, Sends("*RCL 2\n")},
        {IDC_RCL, Panel::Command, {}, {IDC_SAV_RCL_STATE_3}, Sends("*RCL 3\n")},
        {IDC_RCL,
         Panel::Command,
         {},
         {IDC_SAV_RCL_STATE_0, IDC_SAV_RCL_STATE_1, IDC_SAV_RCL_STATE_2, IDC_SAV_RCL_STATE_3},
         Sends("*RCL 0\n")},
        // Command panel: queries and fixed lines.
        {IDC_GET_VOLTAGE, Panel::Command, {}, {}, Asks("MEAS:VOLT?\n")},
        {IDC_GET_FREQUENCY, Panel::Command, {}, {}, Asks("MEAS:FREQ?\n")},
        {IDC_GET_CURRENT_LIMIT, Panel::Command, {}, {}, Asks("CURR?\n")},
        {IDC_GET_RANGE, Panel::Command, {}, {}, Asks("VOLT:RANG?\n")},
        {IDC_GET_OUTPUT, Panel::Command, {}, {}, Asks("OUTP?\n")},
        {IDC_GET_CURRENT, Panel::Command, {}, {}, Asks("MEAS:CURR?\n")},
        {IDC_GET_POWER, Panel::Command, {}, {}, Asks("MEAS:POW?\n")},
        {IDC_GET_POWER_FACTOR, Panel::Command, {}, {}, Asks("MEAS:POW:PFA?\n")},
        {IDC_CLS, Panel::Command, {}, {}, Sends("*CLS\n")},
        {IDC_RST, Panel::Command, {}, {}, Sends("*RST\n")},
        // Command panel: the free line and Read.
        {IDC_SEND_FREE_LINE,
         Panel::Command,
         {{IDC_FREE_LINE_BOX, "OUTP?"}},
         {},
         SendsFreeLine("OUTP?\n")},
        {IDC_SEND_FREE_LINE,
         Panel::Command,
         {{IDC_FREE_LINE_BOX, "OUTP?\\r\\n"}},
         {},
         SendsFreeLine("OUTP?\r\n")},
        {IDC_SEND_FREE_LINE,
         Panel::Command,
         {{IDC_FREE_LINE_BOX, "A\\tB"}},
         {},
         SendsFreeLine("A\\tB\n")},
        {IDC_SEND_FREE_LINE,
         Panel::Command,
         {{IDC_FREE_LINE_BOX, "VOLT\\n1"}},
         {},
         SendsFreeLine("VOLT\n1")},
        {IDC_SEND_FREE_LINE, Panel::Command, {{IDC_FREE_LINE_BOX, ""}}, {}, SendsFreeLine("\n")},
        {IDC_READ_ANSWER, Panel::Command, {}, {}, Reads()},
        {IDC_READ_ANSWER,
         Panel::Command,
         {},
         {},
         {"", std::string("No Response Read") + Separator, 0, 1},
         6,
         ""},
        {IDC_COMMAND_GET_LAST_ERROR, Panel::Command, {}, {}, Asks("SYST:ERR?\n")},
        {IDC_COMMAND_CLEAR_DISPLAY, Panel::Command, {}, {}, Clears()},

        // Status panel.
        {IDC_GET_STB, Panel::Status, {}, {}, Asks("*STB?\n")},
        {IDC_GET_SRE, Panel::Status, {}, {}, Asks("*SRE?\n")},
        {IDC_GET_ESR, Panel::Status, {}, {}, Asks("*ESR?\n")},
        {IDC_GET_ESE, Panel::Status, {}, {}, Asks("*ESE?\n")},
        {IDC_GET_OPER, Panel::Status, {}, {}, Asks("STAT:OPER?\n")},
        {IDC_GET_OPER_COND, Panel::Status, {}, {}, Asks("STAT:OPER:COND?\n")},
        {IDC_GET_OPER_ENAB, Panel::Status, {}, {}, Asks("STAT:OPER:ENAB?\n")},
        {IDC_GET_QUES, Panel::Status, {}, {}, Asks("STAT:QUES?\n")},
        {IDC_GET_QUES_COND, Panel::Status, {}, {}, Asks("STAT:QUES:COND?\n")},
        {IDC_GET_QUES_ENAB, Panel::Status, {}, {}, Asks("STAT:QUES:ENAB?\n")},
        {IDC_SET_SRE, Panel::Status, {{IDC_SRE_BOX, "16"}}, {}, Sends("*SRE 16\n")},
        {IDC_SET_SRE, Panel::Status, {{IDC_SRE_BOX, ""}}, {}, Sends("*SRE \n")},
        {IDC_SET_SRE, Panel::Status, {{IDC_SRE_BOX, "1,6"}}, {}, Refuses("*SRE 1,", NonDigit)},
        {IDC_SET_ESE, Panel::Status, {{IDC_ESE_BOX, "32"}}, {}, Sends("*ESE 32\n")},
        {IDC_SET_ESE, Panel::Status, {{IDC_ESE_BOX, "0x20"}}, {}, Refuses("*ESE 0x2", NonDigit)},
        {IDC_SET_ESE, Panel::Status, {{IDC_ESE_BOX, "3.2e1"}}, {}, Sends("*ESE 3.2e1\n")},
        {IDC_SET_OPER_ENAB,
         Panel::Status,
         {{IDC_OPER_ENAB_BOX, ""}},
         {},
         Sends("STAT:OPER:ENAB \n")},
        {IDC_SET_OPER_ENAB,
         Panel::Status,
         {{IDC_OPER_ENAB_BOX, "1024"}},
         {},
         Sends("STAT:OPER:ENAB 1024\n")},
        {IDC_SET_OPER_ENAB,
         Panel::Status,
         {{IDC_OPER_ENAB_BOX, "1 024"}},
         {},
         Refuses("STAT:OPER:ENAB 1 02", NonDigit)},
        {IDC_SET_OPER_ENAB,
         Panel::Status,
         {{IDC_OPER_ENAB_BOX, Ones(84)}},
         {},
         Sends("STAT:OPER:ENAB " + Ones(84) + "\n")},
        {IDC_SET_OPER_ENAB,
         Panel::Status,
         {{IDC_OPER_ENAB_BOX, Ones(85)}},
         {},
         Refuses("STAT:OPER:ENAB " + Ones(84), TooLong)},
        {IDC_SET_QUES_ENAB,
         Panel::Status,
         {{IDC_QUES_ENAB_BOX, "512"}},
         {},
         Sends("STAT:QUES:ENAB 512\n")},
        {IDC_SET_QUES_ENAB,
         Panel::Status,
         {{IDC_QUES_ENAB_BOX, "a"}},
         {},
         Refuses("STAT:QUES:ENAB ", NonDigit)},
        {IDC_STATUS_GET_LAST_ERROR, Panel::Status, {}, {}, Asks("SYST:ERR?\n")},
        {IDC_STATUS_CLEAR_DISPLAY, Panel::Status, {}, {}, Clears()},

        // Trigger panel: selections.
        {IDC_SET_TRIGGER_SOURCE, Panel::Trigger, {}, {}, Refuses("TRIG:SOUR", SourceReason)},
        {IDC_SET_TRIGGER_SOURCE,
         Panel::Trigger,
         {},
         {IDC_TRIGGER_SOURCE_BUS},
         Sends("TRIG:SOUR BUS\n")},
        {IDC_SET_TRIGGER_SOURCE,
         Panel::Trigger,
         {},
         {IDC_TRIGGER_SOURCE_IMMEDIATE},
         Sends("TRIG:SOUR IMM\n")},
        {IDC_SET_TRIGGER_SOURCE,
         Panel::Trigger,
         {},
         {IDC_TRIGGER_SOURCE_BUS, IDC_TRIGGER_SOURCE_IMMEDIATE},
         Sends("TRIG:SOUR BUS\n")},
        {IDC_SET_CONTINUOUS, Panel::Trigger, {}, {}, Refuses("INIT:CONT", ContinuousReason)},
        {IDC_SET_CONTINUOUS, Panel::Trigger, {}, {IDC_CONTINUOUS_ON}, Sends("INIT:CONT 1\n")},
        {IDC_SET_CONTINUOUS, Panel::Trigger, {}, {IDC_CONTINUOUS_OFF}, Sends("INIT:CONT 0\n")},
        {IDC_SET_CONTINUOUS,
         Panel::Trigger,
         {},
         {IDC_CONTINUOUS_ON, IDC_CONTINUOUS_OFF},
         Sends("INIT:CONT 1\n")},
        {IDC_SET_VOLT_MODE, Panel::Trigger, {}, {}, Refuses("VOLT:MODE", ModeReason)},
        {IDC_SET_VOLT_MODE, Panel::Trigger, {}, {IDC_VOLT_MODE_FIX}, Sends("VOLT:MODE FIX\n")},
        {IDC_SET_VOLT_MODE, Panel::Trigger, {}, {IDC_VOLT_MODE_STEP}, Sends("VOLT:MODE STEP\n")},
        {IDC_SET_VOLT_MODE, Panel::Trigger, {}, {IDC_VOLT_MODE_LIST}, Sends("VOLT:MODE LIST\n")},
        {IDC_SET_VOLT_MODE,
         Panel::Trigger,
         {},
         {IDC_VOLT_MODE_STEP, IDC_VOLT_MODE_LIST},
         Sends("VOLT:MODE STEP\n")},
        {IDC_SET_VOLT_MODE,
         Panel::Trigger,
         {},
         {IDC_FREQ_MODE_FIX, IDC_CURR_MODE_FIX},
         Refuses("VOLT:MODE", ModeReason)},
        {IDC_SET_FREQ_MODE, Panel::Trigger, {}, {}, Refuses("FREQ:MODE", ModeReason)},
        {IDC_SET_FREQ_MODE, Panel::Trigger, {}, {IDC_FREQ_MODE_FIX}, Sends("FREQ:MODE FIX\n")},
        {IDC_SET_FREQ_MODE, Panel::Trigger, {}, {IDC_FREQ_MODE_STEP}, Sends("FREQ:MODE STEP\n")},
        {IDC_SET_FREQ_MODE, Panel::Trigger, {}, {IDC_FREQ_MODE_LIST}, Sends("FREQ:MODE LIST\n")},
        {IDC_SET_FREQ_MODE,
         Panel::Trigger,
         {},
         {IDC_VOLT_MODE_FIX, IDC_VOLT_MODE_LIST, IDC_FREQ_MODE_LIST},
         Sends("FREQ:MODE LIST\n")},
        {IDC_SET_CURR_MODE, Panel::Trigger, {}, {}, Refuses("CURR:MODE", ModeReason)},
        {IDC_SET_CURR_MODE, Panel::Trigger, {}, {IDC_CURR_MODE_FIX}, Sends("CURR:MODE FIX\n")},
        {IDC_SET_CURR_MODE, Panel::Trigger, {}, {IDC_CURR_MODE_STEP}, Sends("CURR:MODE STEP\n")},
        {IDC_SET_CURR_MODE, Panel::Trigger, {}, {IDC_CURR_MODE_LIST}, Sends("CURR:MODE LIST\n")},
        {IDC_SET_CURR_MODE,
         Panel::Trigger,
         {},
         {IDC_FREQ_MODE_STEP, IDC_CURR_MODE_LIST},
         Sends("CURR:MODE LIST\n")},
        // Trigger panel: values (a comma is refused) and lists (a comma passes).
        {IDC_SET_TRIGGER_DELAY,
         Panel::Trigger,
         {{IDC_TRIGGER_DELAY_BOX, ""}},
         {},
         Sends("TRIG:DEL \n")},
        {IDC_SET_TRIGGER_DELAY,
         Panel::Trigger,
         {{IDC_TRIGGER_DELAY_BOX, "0.5"}},
         {},
         Sends("TRIG:DEL 0.5\n")},
        {IDC_SET_TRIGGER_DELAY,
         Panel::Trigger,
         {{IDC_TRIGGER_DELAY_BOX, "1,5"}},
         {},
         Refuses("TRIG:DEL 1,", NonDigit)},
        {IDC_SET_TRIGGER_DELAY,
         Panel::Trigger,
         {{IDC_TRIGGER_DELAY_BOX, "1 5"}},
         {},
         Refuses("TRIG:DEL 1 ", NonDigit)},
        {IDC_SET_TRIGGER_COUNT,
         Panel::Trigger,
         {{IDC_TRIGGER_COUNT_BOX, "10"}},
         {},
         Sends("TRIG:COUN 10\n")},
        {IDC_SET_TRIGGER_COUNT,
         Panel::Trigger,
         {{IDC_TRIGGER_COUNT_BOX, "1,5"}},
         {},
         Refuses("TRIG:COUN 1,", NonDigit)},
        {IDC_SET_VOLT_TRIG,
         Panel::Trigger,
         {{IDC_VOLT_TRIG_BOX, "230"}},
         {},
         Sends("VOLT:TRIG 230\n")},
        {IDC_SET_VOLT_TRIG,
         Panel::Trigger,
         {{IDC_VOLT_TRIG_BOX, "2 30"}},
         {},
         Refuses("VOLT:TRIG 2 3", NonDigit)},
        {IDC_SET_FREQ_TRIG,
         Panel::Trigger,
         {{IDC_FREQ_TRIG_BOX, "5E1"}},
         {},
         Sends("FREQ:TRIG 5E1\n")},
        {IDC_SET_FREQ_TRIG,
         Panel::Trigger,
         {{IDC_FREQ_TRIG_BOX, "50,60"}},
         {},
         Refuses("FREQ:TRIG 50,6", NonDigit)},
        {IDC_SET_CURR_TRIG,
         Panel::Trigger,
         {{IDC_CURR_TRIG_BOX, "+1.5"}},
         {},
         Sends("CURR:TRIG +1.5\n")},
        {IDC_SET_CURR_TRIG,
         Panel::Trigger,
         {{IDC_CURR_TRIG_BOX, "1.5A"}},
         {},
         Refuses("CURR:TRIG 1.5", NonDigit)},
        {IDC_SET_LIST_DWELL,
         Panel::Trigger,
         {{IDC_LIST_DWELL_BOX, "1,5"}},
         {},
         Sends("LIST:DWEL 1,5\n")},
        {IDC_SET_LIST_DWELL,
         Panel::Trigger,
         {{IDC_LIST_DWELL_BOX, "0.1,0.2,-1E-3"}},
         {},
         Sends("LIST:DWEL 0.1,0.2,-1E-3\n")},
        {IDC_SET_LIST_DWELL, Panel::Trigger, {{IDC_LIST_DWELL_BOX, ""}}, {}, Sends("LIST:DWEL \n")},
        {IDC_SET_LIST_DWELL,
         Panel::Trigger,
         {{IDC_LIST_DWELL_BOX, "1 5"}},
         {},
         Refuses("LIST:DWEL 1 ", NonDigit)},
        {IDC_SET_LIST_DWELL,
         Panel::Trigger,
         {{IDC_LIST_DWELL_BOX, Ones(89)}},
         {},
         Sends("LIST:DWEL " + Ones(89) + "\n")},
        {IDC_SET_LIST_DWELL,
         Panel::Trigger,
         {{IDC_LIST_DWELL_BOX, Ones(90)}},
         {},
         Refuses("LIST:DWEL " + Ones(89), TooLong)},
        {IDC_SET_LIST_DWELL,
         Panel::Trigger,
         {{IDC_LIST_DWELL_BOX, Ones(255)}},
         {},
         Refuses("LIST:DWEL " + Ones(89), TooLong)},
        {IDC_SET_LIST_VOLT,
         Panel::Trigger,
         {{IDC_LIST_VOLT_BOX, "120,130"}},
         {},
         Sends("LIST:VOLT 120,130\n")},
        {IDC_SET_LIST_VOLT,
         Panel::Trigger,
         {{IDC_LIST_VOLT_BOX, "1;2"}},
         {},
         Refuses("LIST:VOLT 1;", NonDigit)},
        {IDC_SET_LIST_FREQ,
         Panel::Trigger,
         {{IDC_LIST_FREQ_BOX, "50,60e0"}},
         {},
         Sends("LIST:FREQ 50,60e0\n")},
        {IDC_SET_LIST_FREQ,
         Panel::Trigger,
         {{IDC_LIST_FREQ_BOX, "50, 60"}},
         {},
         Refuses("LIST:FREQ 50, 6", NonDigit)},
        {IDC_SET_LIST_CURR,
         Panel::Trigger,
         {{IDC_LIST_CURR_BOX, "1,+2"}},
         {},
         Sends("LIST:CURR 1,+2\n")},
        {IDC_SET_LIST_CURR,
         Panel::Trigger,
         {{IDC_LIST_CURR_BOX, "x"}},
         {},
         Refuses("LIST:CURR ", NonDigit)},
        {IDC_SET_LIST_COUNT,
         Panel::Trigger,
         {{IDC_LIST_COUNT_BOX, "3"}},
         {},
         Sends("LIST:COUN 3\n")},
        {IDC_SET_LIST_COUNT,
         Panel::Trigger,
         {{IDC_LIST_COUNT_BOX, "1,5"}},
         {},
         Refuses("LIST:COUN 1,", NonDigit)},
        // Trigger panel: queries and fixed lines.
        {IDC_GET_TRIGGER_SOURCE, Panel::Trigger, {}, {}, Asks("TRIG:SOUR?\n")},
        {IDC_GET_TRIGGER_DELAY, Panel::Trigger, {}, {}, Asks("TRIG:DEL?\n")},
        {IDC_GET_TRIGGER_COUNT, Panel::Trigger, {}, {}, Asks("TRIG:COUN?\n")},
        {IDC_BUS_TRIGGER, Panel::Trigger, {}, {}, Sends("*TRG\n")},
        {IDC_IMMEDIATE_TRIGGER, Panel::Trigger, {}, {}, Sends("TRIG\n")},
        {IDC_INITIATE_SEQUENCE, Panel::Trigger, {}, {}, Sends("INIT:SEQ1\n")},
        {IDC_TRIGGER_GET_OPER, Panel::Trigger, {}, {}, Asks("STAT:OPER?\n")},
        {IDC_ABORT, Panel::Trigger, {}, {}, Sends("ABOR\n")},
        {IDC_GET_CONTINUOUS, Panel::Trigger, {}, {}, Asks("INIT:CONT?\n")},
        {IDC_GET_VOLT_MODE, Panel::Trigger, {}, {}, Asks("VOLT:MODE?\n")},
        {IDC_GET_FREQ_MODE, Panel::Trigger, {}, {}, Asks("FREQ:MODE?\n")},
        {IDC_GET_CURR_MODE, Panel::Trigger, {}, {}, Asks("CURR:MODE?\n")},
        {IDC_GET_VOLT_TRIG, Panel::Trigger, {}, {}, Asks("VOLT:TRIG?\n")},
        {IDC_GET_FREQ_TRIG, Panel::Trigger, {}, {}, Asks("FREQ:TRIG?\n")},
        {IDC_GET_CURR_TRIG, Panel::Trigger, {}, {}, Asks("CURR:TRIG?\n")},
        {IDC_GET_LIST_DWELL, Panel::Trigger, {}, {}, Asks("LIST:DWEL?\n")},
        {IDC_GET_LIST_VOLT, Panel::Trigger, {}, {}, Asks("LIST:VOLT?\n")},
        {IDC_GET_LIST_FREQ, Panel::Trigger, {}, {}, Asks("LIST:FREQ?\n")},
        {IDC_GET_LIST_CURR, Panel::Trigger, {}, {}, Asks("LIST:CURR?\n")},
        {IDC_GET_LIST_COUNT, Panel::Trigger, {}, {}, Asks("LIST:COUN?\n")},
        {IDC_TRIGGER_GET_LAST_ERROR, Panel::Trigger, {}, {}, Asks("SYST:ERR?\n")},
        {IDC_TRIGGER_CLEAR_DISPLAY, Panel::Trigger, {}, {}, Clears()},

        // Communication panel: LAN configuration.
        {IDC_SET_LAN_CONFIG,
         Panel::Communication,
         {},
         {},
         Refuses("SYST:COMM:LAN:CONF", LanReason)},
        {IDC_SET_LAN_CONFIG,
         Panel::Communication,
         {},
         {IDC_LAN_CONFIG_DHCP},
         Sends("SYST:COMM:LAN:CONF DHCP\n")},
        {IDC_SET_LAN_CONFIG,
         Panel::Communication,
         {},
         {IDC_LAN_CONFIG_AUTO_IP},
         Sends("SYST:COMM:LAN:CONF AUTO\n")},
        {IDC_SET_LAN_CONFIG,
         Panel::Communication,
         {},
         {IDC_LAN_CONFIG_MANUAL},
         Sends("SYST:COMM:LAN:CONF MAN\n")},
        {IDC_SET_LAN_CONFIG,
         Panel::Communication,
         {},
         {IDC_LAN_CONFIG_AUTO_IP, IDC_LAN_CONFIG_MANUAL},
         Sends("SYST:COMM:LAN:CONF AUTO\n")},
        // Addresses: quoted, digits and full stops only; the refusal echo ends before the quote.
        {IDC_SET_LAN_IP,
         Panel::Communication,
         {{IDC_LAN_IP_BOX, "192.168.0.10"}},
         {},
         Sends("SYST:COMM:LAN:IP \"192.168.0.10\"\n")},
        {IDC_SET_LAN_IP,
         Panel::Communication,
         {{IDC_LAN_IP_BOX, ""}},
         {},
         Sends("SYST:COMM:LAN:IP \"\"\n")},
        {IDC_SET_LAN_IP,
         Panel::Communication,
         {{IDC_LAN_IP_BOX, "300.1.2.3.4"}},
         {},
         Sends("SYST:COMM:LAN:IP \"300.1.2.3.4\"\n")},
        {IDC_SET_LAN_IP,
         Panel::Communication,
         {{IDC_LAN_IP_BOX, "192.168.0.1a"}},
         {},
         Refuses("SYST:COMM:LAN:IP \"192.168.0.1a", NonDigit)},
        {IDC_SET_LAN_IP,
         Panel::Communication,
         {{IDC_LAN_IP_BOX, " 10.0.0.1"}},
         {},
         Refuses("SYST:COMM:LAN:IP \" 10.0.0.1", NonDigit)},
        {IDC_SET_LAN_IP,
         Panel::Communication,
         {{IDC_LAN_IP_BOX, "+1"}},
         {},
         Refuses("SYST:COMM:LAN:IP \"+1", NonDigit)},
        {IDC_SET_LAN_IP,
         Panel::Communication,
         {{IDC_LAN_IP_BOX, Ones(80)}},
         {},
         Sends("SYST:COMM:LAN:IP \"" + Ones(80) + "\"\n")},
        {IDC_SET_LAN_IP,
         Panel::Communication,
         {{IDC_LAN_IP_BOX, Ones(81)}},
         {},
         Refuses("SYST:COMM:LAN:IP \"" + Ones(81), TooLong)},
        {IDC_SET_SUBNET,
         Panel::Communication,
         {{IDC_SUBNET_BOX, "255.255.255.0"}},
         {},
         Sends("SYST:COMM:LAN:SUBN \"255.255.255.0\"\n")},
        {IDC_SET_SUBNET,
         Panel::Communication,
         {{IDC_SUBNET_BOX, "255.255.255.0 "}},
         {},
         Refuses("SYST:COMM:LAN:SUBN \"255.255.255.0 ", NonDigit)},
        {IDC_SET_GATEWAY,
         Panel::Communication,
         {{IDC_GATEWAY_BOX, "192.168.0.1"}},
         {},
         Sends("SYST:COMM:LAN:GATE \"192.168.0.1\"\n")},
        {IDC_SET_GATEWAY,
         Panel::Communication,
         {{IDC_GATEWAY_BOX, "1,2"}},
         {},
         Refuses("SYST:COMM:LAN:GATE \"1,2", NonDigit)},
        // Host name: quoted, unchecked.
        {IDC_SET_HOSTNAME,
         Panel::Communication,
         {{IDC_HOSTNAME_BOX, "tessaly-1"}},
         {},
         Sends("SYST:COMM:LAN:HOST \"tessaly-1\"\n")},
        {IDC_SET_HOSTNAME,
         Panel::Communication,
         {{IDC_HOSTNAME_BOX, ""}},
         {},
         Sends("SYST:COMM:LAN:HOST \"\"\n")},
        {IDC_SET_HOSTNAME,
         Panel::Communication,
         {{IDC_HOSTNAME_BOX, "a \"b\", c"}},
         {},
         Sends("SYST:COMM:LAN:HOST \"a \"b\", c\"\n")},
        {IDC_SET_HOSTNAME,
         Panel::Communication,
         {{IDC_HOSTNAME_BOX, Letters(78, 'h')}},
         {},
         Sends("SYST:COMM:LAN:HOST \"" + Letters(78, 'h') + "\"\n")},
        {IDC_SET_HOSTNAME,
         Panel::Communication,
         {{IDC_HOSTNAME_BOX, Letters(79, 'h')}},
         {},
         Refuses("SYST:COMM:LAN:HOST \"" + Letters(79, 'h'), TooLong)},
        {IDC_SET_HOSTNAME,
         Panel::Communication,
         {{IDC_HOSTNAME_BOX, Letters(255, 'h')}},
         {},
         Refuses("SYST:COMM:LAN:HOST \"" + Letters(79, 'h'), TooLong)},
        // Socket port: digits only.
        {IDC_SET_TCP_SOCKET,
         Panel::Communication,
         {{IDC_TCP_SOCKET_BOX, "5025"}},
         {},
         Sends("SYST:COMM:SOCK:PORT 5025\n")},
        {IDC_SET_TCP_SOCKET,
         Panel::Communication,
         {{IDC_TCP_SOCKET_BOX, ""}},
         {},
         Sends("SYST:COMM:SOCK:PORT \n")},
        {IDC_SET_TCP_SOCKET,
         Panel::Communication,
         {{IDC_TCP_SOCKET_BOX, "+5025"}},
         {},
         Refuses("SYST:COMM:SOCK:PORT +502", NonDigit)},
        {IDC_SET_TCP_SOCKET,
         Panel::Communication,
         {{IDC_TCP_SOCKET_BOX, "50.25"}},
         {},
         Refuses("SYST:COMM:SOCK:PORT 50.2", NonDigit)},
        {IDC_SET_TCP_SOCKET,
         Panel::Communication,
         {{IDC_TCP_SOCKET_BOX, "5e3"}},
         {},
         Refuses("SYST:COMM:SOCK:PORT 5e", NonDigit)},
        // Baud rate: the list position indexes the eleven rates.
        {IDC_SET_BAUD_RATE, Panel::Communication, {}, {}, Sends("SYST:COMM:SER:BAUD 9600\n"), 6},
        {IDC_SET_BAUD_RATE, Panel::Communication, {}, {}, Sends("SYST:COMM:SER:BAUD 300\n"), 0},
        {IDC_SET_BAUD_RATE, Panel::Communication, {}, {}, Sends("SYST:COMM:SER:BAUD 600\n"), 1},
        {IDC_SET_BAUD_RATE, Panel::Communication, {}, {}, Sends("SYST:COMM:SER:BAUD 1200\n"), 2},
        {IDC_SET_BAUD_RATE, Panel::Communication, {}, {}, Sends("SYST:COMM:SER:BAUD 1800\n"), 3},
        {IDC_SET_BAUD_RATE, Panel::Communication, {}, {}, Sends("SYST:COMM:SER:BAUD 2400\n"), 4},
        {IDC_SET_BAUD_RATE, Panel::Communication, {}, {}, Sends("SYST:COMM:SER:BAUD 4800\n"), 5},
        {IDC_SET_BAUD_RATE, Panel::Communication, {}, {}, Sends("SYST:COMM:SER:BAUD 19200\n"), 7},
        {IDC_SET_BAUD_RATE, Panel::Communication, {}, {}, Sends("SYST:COMM:SER:BAUD 38400\n"), 8},
        {IDC_SET_BAUD_RATE, Panel::Communication, {}, {}, Sends("SYST:COMM:SER:BAUD 57600\n"), 9},
        {IDC_SET_BAUD_RATE, Panel::Communication, {}, {}, Sends("SYST:COMM:SER:BAUD 115200\n"), 10},
        {IDC_SET_BAUD_RATE,
         Panel::Communication,
         {},
         {},
         Refuses("SYST:COMM:SER:BAUD", BaudReason),
         -1},
        {IDC_SET_BAUD_RATE,
         Panel::Communication,
         {},
         {},
         Refuses("SYST:COMM:SER:BAUD", BaudReason),
         11},
        // Communication panel: queries.
        {IDC_GET_LAN_CONFIG, Panel::Communication, {}, {}, Asks("SYST:COMM:LAN:CONF?\n")},
        {IDC_GET_ACTIVE_IP, Panel::Communication, {}, {}, Asks("SYST:COMM:LAN:IP:ACT?\n")},
        {IDC_GET_LAN_IP, Panel::Communication, {}, {}, Asks("SYST:COMM:LAN:IP?\n")},
        {IDC_GET_SUBNET, Panel::Communication, {}, {}, Asks("SYST:COMM:LAN:SUBN?\n")},
        {IDC_GET_GATEWAY, Panel::Communication, {}, {}, Asks("SYST:COMM:LAN:GATE?\n")},
        {IDC_GET_HOSTNAME, Panel::Communication, {}, {}, Asks("SYST:COMM:LAN:HOST?\n")},
        {IDC_GET_TCP_SOCKET, Panel::Communication, {}, {}, Asks("SYST:COMM:SOCK:PORT?\n")},
        {IDC_GET_BAUD_RATE, Panel::Communication, {}, {}, Asks("SYST:COMM:SER:BAUD?\n")},
        {IDC_COMMUNICATION_GET_LAST_ERROR, Panel::Communication, {}, {}, Asks("SYST:ERR?\n")},
        {IDC_COMMUNICATION_CLEAR_DISPLAY, Panel::Communication, {}, {}, Clears()},

        // Manufacturer panel: identification with a line feed after an answer only.
        {IDC_GET_IDN, Panel::Manufacturer, {}, {}, AsksWithLineFeed("*IDN?\n")},
        {IDC_GET_IDN,
         Panel::Manufacturer,
         {},
         {},
         {"*IDN?\n", "Sending command:  *IDN?\r\n \r\nNo Response Read\r\n \r\n", 1, 1},
         6,
         ""},
        {IDC_GET_VERSION, Panel::Manufacturer, {}, {}, AsksWithLineFeed("SYST:VERS?\n")},
        {IDC_GET_PASSWORD_STATE, Panel::Manufacturer, {}, {}, Asks("SYST:PASS:STAT?\n")},
        {IDC_MANUFACTURER_GET_LAST_ERROR, Panel::Manufacturer, {}, {}, Asks("SYST:ERR?\n")},
        {IDC_MANUFACTURER_CLEAR_DISPLAY, Panel::Manufacturer, {}, {}, Clears()},
        // Passwords: quoted, unchecked, the current password from its box, the new one from its
        // own.
        {IDC_PASSWORD_CDIS,
         Panel::Manufacturer,
         {{IDC_CURRENT_PASSWORD_BOX, "secret"}},
         {},
         Sends("SYST:PASS:CDIS \"secret\"\n")},
        {IDC_PASSWORD_CDIS,
         Panel::Manufacturer,
         {{IDC_CURRENT_PASSWORD_BOX, ""}},
         {},
         Sends("SYST:PASS:CDIS \"\"\n")},
        {IDC_PASSWORD_CDIS,
         Panel::Manufacturer,
         {{IDC_CURRENT_PASSWORD_BOX, "p,\"q"}},
         {},
         Sends("SYST:PASS:CDIS \"p,\"q\"\n")},
        {IDC_PASSWORD_CDIS,
         Panel::Manufacturer,
         {{IDC_CURRENT_PASSWORD_BOX, Letters(82, 'p')}},
         {},
         Sends("SYST:PASS:CDIS \"" + Letters(82, 'p') + "\"\n")},
        {IDC_PASSWORD_CDIS,
         Panel::Manufacturer,
         {{IDC_CURRENT_PASSWORD_BOX, Letters(83, 'p')}},
         {},
         Refuses("SYST:PASS:CDIS \"" + Letters(83, 'p'), TooLong)},
        {IDC_PASSWORD_CEN,
         Panel::Manufacturer,
         {{IDC_CURRENT_PASSWORD_BOX, "secret"}},
         {},
         Sends("SYST:PASS:CEN \"secret\"\n")},
        {IDC_PASSWORD_CEN,
         Panel::Manufacturer,
         {{IDC_CURRENT_PASSWORD_BOX, ""}},
         {},
         Sends("SYST:PASS:CEN \"\"\n")},
        {IDC_PASSWORD_CEN,
         Panel::Manufacturer,
         {{IDC_CURRENT_PASSWORD_BOX, Letters(255, 'p')}},
         {},
         Refuses("SYST:PASS:CEN \"" + Letters(84, 'p'), TooLong)},
        {IDC_PASSWORD_NEW,
         Panel::Manufacturer,
         {{IDC_CURRENT_PASSWORD_BOX, "old"}, {IDC_NEW_PASSWORD_BOX, "new"}},
         {},
         Sends("SYST:PASS:NEW \"old\",\"new\"\n")},
        {IDC_PASSWORD_NEW,
         Panel::Manufacturer,
         {{IDC_CURRENT_PASSWORD_BOX, ""}, {IDC_NEW_PASSWORD_BOX, ""}},
         {},
         Sends("SYST:PASS:NEW \"\",\"\"\n")},
        {IDC_PASSWORD_NEW,
         Panel::Manufacturer,
         {{IDC_CURRENT_PASSWORD_BOX, "a\"b"}, {IDC_NEW_PASSWORD_BOX, "c,d"}},
         {},
         Sends("SYST:PASS:NEW \"a\"b\",\"c,d\"\n")},
        {IDC_PASSWORD_NEW,
         Panel::Manufacturer,
         {{IDC_CURRENT_PASSWORD_BOX, Letters(40, 'o')}, {IDC_NEW_PASSWORD_BOX, Letters(40, 'n')}},
         {},
         Sends("SYST:PASS:NEW \"" + Letters(40, 'o') + "\",\"" + Letters(40, 'n') + "\"\n")},
        {IDC_PASSWORD_NEW,
         Panel::Manufacturer,
         {{IDC_CURRENT_PASSWORD_BOX, Letters(40, 'o')}, {IDC_NEW_PASSWORD_BOX, Letters(41, 'n')}},
         {},
         Refuses("SYST:PASS:NEW \"" + Letters(40, 'o') + "\",\"" + Letters(41, 'n'), TooLong)},
        {IDC_PASSWORD_NEW,
         Panel::Manufacturer,
         {{IDC_CURRENT_PASSWORD_BOX, Letters(255, 'o')}, {IDC_NEW_PASSWORD_BOX, "new"}},
         {},
         Refuses("SYST:PASS:NEW \"" + Letters(84, 'o'), TooLong)},
    };
    return cases;
}

std::string PriorLog(int panel)
{
    return "older entry of panel " + std::to_string(panel);
}

// Sets the scene as the operator left it, then clicks the button through its command row.
void Click(const Case& c, int linkIsTcp)
{
    fake::Reset();
    app.linkIsTcp = linkIsTcp;
    for (int id : EntryBoxIds)
        fake::entryBoxes[id] = "9" + std::to_string(id);
    for (const auto& [id, text] : c.entries)
        fake::entryBoxes[id] = text;
    fake::checkedOptions = c.checked;
    if (c.baudPosition >= 0)
        fake::listSelections[IDC_BAUD_RATE_LIST] = c.baudPosition;
    fake::answers.push_back(c.answer);
    for (int p = 0; p < PanelCount; ++p)
        LogOf(static_cast<Panel>(p)) = PriorLog(p);

    const CommandRow* row = CommandFor(c.id);
    ASSERT_NE(row, nullptr);
    RunCommand(*row);
}

void CheckOutcome(const Case& c)
{
    const Expected& e = c.expected;
    int panel = static_cast<int>(c.panel);
    EXPECT_EQ(fake::Sent(), e.sent);
    if (e.clears) {
        EXPECT_EQ(LogOf(c.panel), "");
        EXPECT_EQ(fake::outputBoxes[panel], "");
    } else {
        EXPECT_EQ(LogOf(c.panel), e.entry + PriorLog(panel));
        EXPECT_EQ(fake::outputBoxes[panel], LogOf(c.panel));
        EXPECT_EQ(fake::lastEntryLength[panel], e.entry.size());
    }
    for (int p = 0; p < PanelCount; ++p) {
        if (p != panel) {
            EXPECT_EQ(LogOf(static_cast<Panel>(p)), PriorLog(p)) << "panel " << p;
        }
    }
}

struct ButtonTest : ::testing::TestWithParam<Case> {
};

TEST_P(ButtonTest, OverSerialLink)
{
    const Case& c = GetParam();
    Click(c, 0);
    CheckOutcome(c);
    EXPECT_EQ(fake::serialWrites, c.expected.sends);
    EXPECT_EQ(fake::serialReads, c.expected.receives);
    EXPECT_EQ(fake::tcpSends + fake::tcpReceives, 0);
}

TEST_P(ButtonTest, OverTcpLink)
{
    const Case& c = GetParam();
    Click(c, 1);
    CheckOutcome(c);
    EXPECT_EQ(fake::tcpSends, c.expected.sends);
    EXPECT_EQ(fake::tcpReceives, c.expected.receives);
    EXPECT_EQ(fake::serialWrites + fake::serialReads, 0);
}

INSTANTIATE_TEST_SUITE_P(EveryButton, ButtonTest, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             return "id" + std::to_string(info.param.id) + "_case" +
                                    std::to_string(info.index);
                         });

// Every identifier that starts a command is exercised above.
TEST(ButtonCases, CoverEveryCommandRow)
{
    std::set<int> covered;
    for (const Case& c : Cases())
        covered.insert(c.id);
    for (int id = FirstDispatchId; id <= LastDispatchId; ++id) {
        if (CommandFor(id) != nullptr) {
            EXPECT_EQ(covered.count(id), 1u) << "no case for button " << id;
        }
    }
}

// A refusal leaves the buffers as the refusal found them: nothing past the 100 bytes, and the
// count never beyond them.
TEST(ButtonCases, LongTextsStayInsideTheCommandBuffer)
{
    for (int id : {IDC_SET_VOLTAGE, IDC_SET_LIST_DWELL, IDC_SET_LAN_IP, IDC_SET_HOSTNAME,
                   IDC_PASSWORD_CDIS, IDC_PASSWORD_CEN, IDC_PASSWORD_NEW, IDC_SEND_FREE_LINE}) {
        fake::Reset();
        for (int box : EntryBoxIds)
            fake::entryBoxes[box] = Letters(255, '7');
        RunCommand(*CommandFor(id));
        EXPECT_LE(app.commandLength, CommandBufferSize) << "button " << id;
        EXPECT_EQ(fake::Sent(), "") << "button " << id;
        EXPECT_EQ(LogOf(CommandFor(id)->panel).rfind("Could not send", 0), 0u) << "button " << id;
    }
}

} // namespace
