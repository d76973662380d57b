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
const int EntryBoxIds[] = {113, 114, 115, 135, 155, 275, 164, 279, 184, 187, 213, 216, 219,
                           173, 174, 175, 176, 247, 227, 230, 233, 236, 284, 256, 255};

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
        {116, Panel::Command, {{113, "120"}}, {}, Sends("VOLT 120\n")},
        {116, Panel::Command, {{113, ""}}, {}, Sends("VOLT \n")},
        {116, Panel::Command, {{113, "1.2E+2"}}, {}, Sends("VOLT 1.2E+2\n")},
        {116, Panel::Command, {{113, "-5"}}, {}, Sends("VOLT -5\n")},
        {116, Panel::Command, {{113, "0.5e1"}}, {}, Sends("VOLT 0.5e1\n")},
        {116, Panel::Command, {{113, "12V"}}, {}, Refuses("VOLT 12", NonDigit)},
        {116, Panel::Command, {{113, "120V"}}, {}, Refuses("VOLT 120", NonDigit)},
        {116, Panel::Command, {{113, "1,5"}}, {}, Refuses("VOLT 1,", NonDigit)},
        {116, Panel::Command, {{113, "1 5"}}, {}, Refuses("VOLT 1 ", NonDigit)},
        {116, Panel::Command, {{113, Ones(94)}}, {}, Sends("VOLT " + Ones(94) + "\n")},
        {116, Panel::Command, {{113, Ones(95)}}, {}, Refuses("VOLT " + Ones(94), TooLong)},
        {116, Panel::Command, {{113, Ones(255)}}, {}, Refuses("VOLT " + Ones(94), TooLong)},
        {117, Panel::Command, {{114, "60"}}, {}, Sends("FREQ 60\n")},
        {117, Panel::Command, {{114, ""}}, {}, Sends("FREQ \n")},
        {117, Panel::Command, {{114, "60Hz"}}, {}, Refuses("FREQ 60H", NonDigit)},
        {118, Panel::Command, {{115, "2.5"}}, {}, Sends("CURR 2.5\n")},
        {118, Panel::Command, {{115, "1,5"}}, {}, Refuses("CURR 1,", NonDigit)},
        // Command panel: selections; the first checked option in the group's order wins.
        {121, Panel::Command, {}, {}, Refuses("VOLT:RANG", RangeReason)},
        {121, Panel::Command, {}, {119}, Sends("VOLT:RANG HI\n")},
        {121, Panel::Command, {}, {120}, Sends("VOLT:RANG LO\n")},
        {121, Panel::Command, {}, {119, 120}, Sends("VOLT:RANG HI\n")},
        {121, Panel::Command, {}, {122, 150}, Refuses("VOLT:RANG", RangeReason)},
        {124, Panel::Command, {}, {}, Refuses("OUTP", OutputReason)},
        {124, Panel::Command, {}, {122}, Sends("OUTP 1\n")},
        {124, Panel::Command, {}, {123}, Sends("OUTP 0\n")},
        {124, Panel::Command, {}, {122, 123}, Sends("OUTP 1\n")},
        {124, Panel::Command, {}, {119, 120}, Refuses("OUTP", OutputReason)},
        {145, Panel::Command, {}, {}, Refuses("*SAV", StateReason)},
        {145, Panel::Command, {}, {150}, Sends("*SAV 0\n")},
        {145, Panel::Command, {}, {151}, Sends("*SAV 1\n")},
        {145, Panel::Command, {}, {152}, Sends("*SAV 2\n")},
        {145, Panel::Command, {}, {153}, Sends("*SAV 3\n")},
        {145, Panel::Command, {}, {151, 153}, Sends("*SAV 1\n")},
        {145, Panel::Command, {}, {152, 153}, Sends("*SAV 2\n")},
        {146, Panel::Command, {}, {}, Refuses("*RCL", StateReason)},
        {146, Panel::Command, {}, {150}, Sends("*RCL 0\n")},
        {146, Panel::Command, {}, {151}, Sends("*RCL 1\n")},
        {146, Panel::Command, {}, {152}, Sends("*RCL 2\n")},
        {146, Panel::Command, {}, {153}, Sends("*RCL 3\n")},
        {146, Panel::Command, {}, {150, 151, 152, 153}, Sends("*RCL 0\n")},
        // Command panel: queries and fixed lines.
        {125, Panel::Command, {}, {}, Asks("MEAS:VOLT?\n")},
        {126, Panel::Command, {}, {}, Asks("MEAS:FREQ?\n")},
        {127, Panel::Command, {}, {}, Asks("CURR?\n")},
        {128, Panel::Command, {}, {}, Asks("VOLT:RANG?\n")},
        {129, Panel::Command, {}, {}, Asks("OUTP?\n")},
        {131, Panel::Command, {}, {}, Asks("MEAS:CURR?\n")},
        {132, Panel::Command, {}, {}, Asks("MEAS:POW?\n")},
        {133, Panel::Command, {}, {}, Asks("MEAS:POW:PFA?\n")},
        {136, Panel::Command, {}, {}, Sends("*CLS\n")},
        {137, Panel::Command, {}, {}, Sends("*RST\n")},
        // Command panel: the free line and Read.
        {134, Panel::Command, {{135, "OUTP?"}}, {}, SendsFreeLine("OUTP?\n")},
        {134, Panel::Command, {{135, "OUTP?\\r\\n"}}, {}, SendsFreeLine("OUTP?\r\n")},
        {134, Panel::Command, {{135, "A\\tB"}}, {}, SendsFreeLine("A\\tB\n")},
        {134, Panel::Command, {{135, "VOLT\\n1"}}, {}, SendsFreeLine("VOLT\n1")},
        {134, Panel::Command, {{135, ""}}, {}, SendsFreeLine("\n")},
        {321, Panel::Command, {}, {}, Reads()},
        {321,
         Panel::Command,
         {},
         {},
         {"", std::string("No Response Read") + Separator, 0, 1},
         6,
         ""},
        {265, Panel::Command, {}, {}, Asks("SYST:ERR?\n")},
        {270, Panel::Command, {}, {}, Clears()},

        // Status panel.
        {143, Panel::Status, {}, {}, Asks("*STB?\n")},
        {142, Panel::Status, {}, {}, Asks("*SRE?\n")},
        {140, Panel::Status, {}, {}, Asks("*ESR?\n")},
        {139, Panel::Status, {}, {}, Asks("*ESE?\n")},
        {156, Panel::Status, {}, {}, Asks("STAT:OPER?\n")},
        {157, Panel::Status, {}, {}, Asks("STAT:OPER:COND?\n")},
        {158, Panel::Status, {}, {}, Asks("STAT:OPER:ENAB?\n")},
        {160, Panel::Status, {}, {}, Asks("STAT:QUES?\n")},
        {161, Panel::Status, {}, {}, Asks("STAT:QUES:COND?\n")},
        {162, Panel::Status, {}, {}, Asks("STAT:QUES:ENAB?\n")},
        {141, Panel::Status, {{155, "16"}}, {}, Sends("*SRE 16\n")},
        {141, Panel::Status, {{155, ""}}, {}, Sends("*SRE \n")},
        {141, Panel::Status, {{155, "1,6"}}, {}, Refuses("*SRE 1,", NonDigit)},
        {138, Panel::Status, {{275, "32"}}, {}, Sends("*ESE 32\n")},
        {138, Panel::Status, {{275, "0x20"}}, {}, Refuses("*ESE 0x2", NonDigit)},
        {138, Panel::Status, {{275, "3.2e1"}}, {}, Sends("*ESE 3.2e1\n")},
        {159, Panel::Status, {{164, ""}}, {}, Sends("STAT:OPER:ENAB \n")},
        {159, Panel::Status, {{164, "1024"}}, {}, Sends("STAT:OPER:ENAB 1024\n")},
        {159, Panel::Status, {{164, "1 024"}}, {}, Refuses("STAT:OPER:ENAB 1 02", NonDigit)},
        {159, Panel::Status, {{164, Ones(84)}}, {}, Sends("STAT:OPER:ENAB " + Ones(84) + "\n")},
        {159, Panel::Status, {{164, Ones(85)}}, {}, Refuses("STAT:OPER:ENAB " + Ones(84), TooLong)},
        {163, Panel::Status, {{279, "512"}}, {}, Sends("STAT:QUES:ENAB 512\n")},
        {163, Panel::Status, {{279, "a"}}, {}, Refuses("STAT:QUES:ENAB ", NonDigit)},
        {266, Panel::Status, {}, {}, Asks("SYST:ERR?\n")},
        {271, Panel::Status, {}, {}, Clears()},

        // Trigger panel: selections.
        {181, Panel::Trigger, {}, {}, Refuses("TRIG:SOUR", SourceReason)},
        {181, Panel::Trigger, {}, {182}, Sends("TRIG:SOUR BUS\n")},
        {181, Panel::Trigger, {}, {183}, Sends("TRIG:SOUR IMM\n")},
        {181, Panel::Trigger, {}, {182, 183}, Sends("TRIG:SOUR BUS\n")},
        {197, Panel::Trigger, {}, {}, Refuses("INIT:CONT", ContinuousReason)},
        {197, Panel::Trigger, {}, {194}, Sends("INIT:CONT 1\n")},
        {197, Panel::Trigger, {}, {195}, Sends("INIT:CONT 0\n")},
        {197, Panel::Trigger, {}, {194, 195}, Sends("INIT:CONT 1\n")},
        {202, Panel::Trigger, {}, {}, Refuses("VOLT:MODE", ModeReason)},
        {202, Panel::Trigger, {}, {198}, Sends("VOLT:MODE FIX\n")},
        {202, Panel::Trigger, {}, {199}, Sends("VOLT:MODE STEP\n")},
        {202, Panel::Trigger, {}, {200}, Sends("VOLT:MODE LIST\n")},
        {202, Panel::Trigger, {}, {199, 200}, Sends("VOLT:MODE STEP\n")},
        {202, Panel::Trigger, {}, {203, 208}, Refuses("VOLT:MODE", ModeReason)},
        {207, Panel::Trigger, {}, {}, Refuses("FREQ:MODE", ModeReason)},
        {207, Panel::Trigger, {}, {203}, Sends("FREQ:MODE FIX\n")},
        {207, Panel::Trigger, {}, {204}, Sends("FREQ:MODE STEP\n")},
        {207, Panel::Trigger, {}, {205}, Sends("FREQ:MODE LIST\n")},
        {207, Panel::Trigger, {}, {198, 200, 205}, Sends("FREQ:MODE LIST\n")},
        {212, Panel::Trigger, {}, {}, Refuses("CURR:MODE", ModeReason)},
        {212, Panel::Trigger, {}, {208}, Sends("CURR:MODE FIX\n")},
        {212, Panel::Trigger, {}, {209}, Sends("CURR:MODE STEP\n")},
        {212, Panel::Trigger, {}, {210}, Sends("CURR:MODE LIST\n")},
        {212, Panel::Trigger, {}, {204, 210}, Sends("CURR:MODE LIST\n")},
        // Trigger panel: values (a comma is refused) and lists (a comma passes).
        {185, Panel::Trigger, {{184, ""}}, {}, Sends("TRIG:DEL \n")},
        {185, Panel::Trigger, {{184, "0.5"}}, {}, Sends("TRIG:DEL 0.5\n")},
        {185, Panel::Trigger, {{184, "1,5"}}, {}, Refuses("TRIG:DEL 1,", NonDigit)},
        {185, Panel::Trigger, {{184, "1 5"}}, {}, Refuses("TRIG:DEL 1 ", NonDigit)},
        {188, Panel::Trigger, {{187, "10"}}, {}, Sends("TRIG:COUN 10\n")},
        {188, Panel::Trigger, {{187, "1,5"}}, {}, Refuses("TRIG:COUN 1,", NonDigit)},
        {215, Panel::Trigger, {{213, "230"}}, {}, Sends("VOLT:TRIG 230\n")},
        {215, Panel::Trigger, {{213, "2 30"}}, {}, Refuses("VOLT:TRIG 2 3", NonDigit)},
        {218, Panel::Trigger, {{216, "5E1"}}, {}, Sends("FREQ:TRIG 5E1\n")},
        {218, Panel::Trigger, {{216, "50,60"}}, {}, Refuses("FREQ:TRIG 50,6", NonDigit)},
        {221, Panel::Trigger, {{219, "+1.5"}}, {}, Sends("CURR:TRIG +1.5\n")},
        {221, Panel::Trigger, {{219, "1.5A"}}, {}, Refuses("CURR:TRIG 1.5", NonDigit)},
        {166, Panel::Trigger, {{173, "1,5"}}, {}, Sends("LIST:DWEL 1,5\n")},
        {166, Panel::Trigger, {{173, "0.1,0.2,-1E-3"}}, {}, Sends("LIST:DWEL 0.1,0.2,-1E-3\n")},
        {166, Panel::Trigger, {{173, ""}}, {}, Sends("LIST:DWEL \n")},
        {166, Panel::Trigger, {{173, "1 5"}}, {}, Refuses("LIST:DWEL 1 ", NonDigit)},
        {166, Panel::Trigger, {{173, Ones(89)}}, {}, Sends("LIST:DWEL " + Ones(89) + "\n")},
        {166, Panel::Trigger, {{173, Ones(90)}}, {}, Refuses("LIST:DWEL " + Ones(89), TooLong)},
        {166, Panel::Trigger, {{173, Ones(255)}}, {}, Refuses("LIST:DWEL " + Ones(89), TooLong)},
        {168, Panel::Trigger, {{174, "120,130"}}, {}, Sends("LIST:VOLT 120,130\n")},
        {168, Panel::Trigger, {{174, "1;2"}}, {}, Refuses("LIST:VOLT 1;", NonDigit)},
        {170, Panel::Trigger, {{175, "50,60e0"}}, {}, Sends("LIST:FREQ 50,60e0\n")},
        {170, Panel::Trigger, {{175, "50, 60"}}, {}, Refuses("LIST:FREQ 50, 6", NonDigit)},
        {172, Panel::Trigger, {{176, "1,+2"}}, {}, Sends("LIST:CURR 1,+2\n")},
        {172, Panel::Trigger, {{176, "x"}}, {}, Refuses("LIST:CURR ", NonDigit)},
        {249, Panel::Trigger, {{247, "3"}}, {}, Sends("LIST:COUN 3\n")},
        {249, Panel::Trigger, {{247, "1,5"}}, {}, Refuses("LIST:COUN 1,", NonDigit)},
        // Trigger panel: queries and fixed lines.
        {180, Panel::Trigger, {}, {}, Asks("TRIG:SOUR?\n")},
        {186, Panel::Trigger, {}, {}, Asks("TRIG:DEL?\n")},
        {189, Panel::Trigger, {}, {}, Asks("TRIG:COUN?\n")},
        {190, Panel::Trigger, {}, {}, Sends("*TRG\n")},
        {191, Panel::Trigger, {}, {}, Sends("TRIG\n")},
        {193, Panel::Trigger, {}, {}, Sends("INIT:SEQ1\n")},
        {322, Panel::Trigger, {}, {}, Asks("STAT:OPER?\n")},
        {192, Panel::Trigger, {}, {}, Sends("ABOR\n")},
        {196, Panel::Trigger, {}, {}, Asks("INIT:CONT?\n")},
        {201, Panel::Trigger, {}, {}, Asks("VOLT:MODE?\n")},
        {206, Panel::Trigger, {}, {}, Asks("FREQ:MODE?\n")},
        {211, Panel::Trigger, {}, {}, Asks("CURR:MODE?\n")},
        {214, Panel::Trigger, {}, {}, Asks("VOLT:TRIG?\n")},
        {217, Panel::Trigger, {}, {}, Asks("FREQ:TRIG?\n")},
        {220, Panel::Trigger, {}, {}, Asks("CURR:TRIG?\n")},
        {165, Panel::Trigger, {}, {}, Asks("LIST:DWEL?\n")},
        {167, Panel::Trigger, {}, {}, Asks("LIST:VOLT?\n")},
        {169, Panel::Trigger, {}, {}, Asks("LIST:FREQ?\n")},
        {171, Panel::Trigger, {}, {}, Asks("LIST:CURR?\n")},
        {248, Panel::Trigger, {}, {}, Asks("LIST:COUN?\n")},
        {267, Panel::Trigger, {}, {}, Asks("SYST:ERR?\n")},
        {272, Panel::Trigger, {}, {}, Clears()},

        // Communication panel: LAN configuration.
        {243, Panel::Communication, {}, {}, Refuses("SYST:COMM:LAN:CONF", LanReason)},
        {243, Panel::Communication, {}, {239}, Sends("SYST:COMM:LAN:CONF DHCP\n")},
        {243, Panel::Communication, {}, {240}, Sends("SYST:COMM:LAN:CONF AUTO\n")},
        {243, Panel::Communication, {}, {241}, Sends("SYST:COMM:LAN:CONF MAN\n")},
        {243, Panel::Communication, {}, {240, 241}, Sends("SYST:COMM:LAN:CONF AUTO\n")},
        // Addresses: quoted, digits and full stops only; the refusal echo ends before the quote.
        {229,
         Panel::Communication,
         {{227, "192.168.0.10"}},
         {},
         Sends("SYST:COMM:LAN:IP \"192.168.0.10\"\n")},
        {229, Panel::Communication, {{227, ""}}, {}, Sends("SYST:COMM:LAN:IP \"\"\n")},
        {229,
         Panel::Communication,
         {{227, "300.1.2.3.4"}},
         {},
         Sends("SYST:COMM:LAN:IP \"300.1.2.3.4\"\n")},
        {229,
         Panel::Communication,
         {{227, "192.168.0.1a"}},
         {},
         Refuses("SYST:COMM:LAN:IP \"192.168.0.1a", NonDigit)},
        {229,
         Panel::Communication,
         {{227, " 10.0.0.1"}},
         {},
         Refuses("SYST:COMM:LAN:IP \" 10.0.0.1", NonDigit)},
        {229, Panel::Communication, {{227, "+1"}}, {}, Refuses("SYST:COMM:LAN:IP \"+1", NonDigit)},
        {229,
         Panel::Communication,
         {{227, Ones(80)}},
         {},
         Sends("SYST:COMM:LAN:IP \"" + Ones(80) + "\"\n")},
        {229,
         Panel::Communication,
         {{227, Ones(81)}},
         {},
         Refuses("SYST:COMM:LAN:IP \"" + Ones(81), TooLong)},
        {232,
         Panel::Communication,
         {{230, "255.255.255.0"}},
         {},
         Sends("SYST:COMM:LAN:SUBN \"255.255.255.0\"\n")},
        {232,
         Panel::Communication,
         {{230, "255.255.255.0 "}},
         {},
         Refuses("SYST:COMM:LAN:SUBN \"255.255.255.0 ", NonDigit)},
        {235,
         Panel::Communication,
         {{233, "192.168.0.1"}},
         {},
         Sends("SYST:COMM:LAN:GATE \"192.168.0.1\"\n")},
        {235,
         Panel::Communication,
         {{233, "1,2"}},
         {},
         Refuses("SYST:COMM:LAN:GATE \"1,2", NonDigit)},
        // Host name: quoted, unchecked.
        {238,
         Panel::Communication,
         {{236, "tessaly-1"}},
         {},
         Sends("SYST:COMM:LAN:HOST \"tessaly-1\"\n")},
        {238, Panel::Communication, {{236, ""}}, {}, Sends("SYST:COMM:LAN:HOST \"\"\n")},
        {238,
         Panel::Communication,
         {{236, "a \"b\", c"}},
         {},
         Sends("SYST:COMM:LAN:HOST \"a \"b\", c\"\n")},
        {238,
         Panel::Communication,
         {{236, Letters(78, 'h')}},
         {},
         Sends("SYST:COMM:LAN:HOST \"" + Letters(78, 'h') + "\"\n")},
        {238,
         Panel::Communication,
         {{236, Letters(79, 'h')}},
         {},
         Refuses("SYST:COMM:LAN:HOST \"" + Letters(79, 'h'), TooLong)},
        {238,
         Panel::Communication,
         {{236, Letters(255, 'h')}},
         {},
         Refuses("SYST:COMM:LAN:HOST \"" + Letters(79, 'h'), TooLong)},
        // Socket port: digits only.
        {282, Panel::Communication, {{284, "5025"}}, {}, Sends("SYST:COMM:SOCK:PORT 5025\n")},
        {282, Panel::Communication, {{284, ""}}, {}, Sends("SYST:COMM:SOCK:PORT \n")},
        {282,
         Panel::Communication,
         {{284, "+5025"}},
         {},
         Refuses("SYST:COMM:SOCK:PORT +502", NonDigit)},
        {282,
         Panel::Communication,
         {{284, "50.25"}},
         {},
         Refuses("SYST:COMM:SOCK:PORT 50.2", NonDigit)},
        {282,
         Panel::Communication,
         {{284, "5e3"}},
         {},
         Refuses("SYST:COMM:SOCK:PORT 5e", NonDigit)},
        // Baud rate: the list position indexes the eleven rates.
        {245, Panel::Communication, {}, {}, Sends("SYST:COMM:SER:BAUD 9600\n"), 6},
        {245, Panel::Communication, {}, {}, Sends("SYST:COMM:SER:BAUD 300\n"), 0},
        {245, Panel::Communication, {}, {}, Sends("SYST:COMM:SER:BAUD 600\n"), 1},
        {245, Panel::Communication, {}, {}, Sends("SYST:COMM:SER:BAUD 1200\n"), 2},
        {245, Panel::Communication, {}, {}, Sends("SYST:COMM:SER:BAUD 1800\n"), 3},
        {245, Panel::Communication, {}, {}, Sends("SYST:COMM:SER:BAUD 2400\n"), 4},
        {245, Panel::Communication, {}, {}, Sends("SYST:COMM:SER:BAUD 4800\n"), 5},
        {245, Panel::Communication, {}, {}, Sends("SYST:COMM:SER:BAUD 19200\n"), 7},
        {245, Panel::Communication, {}, {}, Sends("SYST:COMM:SER:BAUD 38400\n"), 8},
        {245, Panel::Communication, {}, {}, Sends("SYST:COMM:SER:BAUD 57600\n"), 9},
        {245, Panel::Communication, {}, {}, Sends("SYST:COMM:SER:BAUD 115200\n"), 10},
        {245, Panel::Communication, {}, {}, Refuses("SYST:COMM:SER:BAUD", BaudReason), -1},
        {245, Panel::Communication, {}, {}, Refuses("SYST:COMM:SER:BAUD", BaudReason), 11},
        // Communication panel: queries.
        {242, Panel::Communication, {}, {}, Asks("SYST:COMM:LAN:CONF?\n")},
        {222, Panel::Communication, {}, {}, Asks("SYST:COMM:LAN:IP:ACT?\n")},
        {228, Panel::Communication, {}, {}, Asks("SYST:COMM:LAN:IP?\n")},
        {231, Panel::Communication, {}, {}, Asks("SYST:COMM:LAN:SUBN?\n")},
        {234, Panel::Communication, {}, {}, Asks("SYST:COMM:LAN:GATE?\n")},
        {237, Panel::Communication, {}, {}, Asks("SYST:COMM:LAN:HOST?\n")},
        {283, Panel::Communication, {}, {}, Asks("SYST:COMM:SOCK:PORT?\n")},
        {246, Panel::Communication, {}, {}, Asks("SYST:COMM:SER:BAUD?\n")},
        {268, Panel::Communication, {}, {}, Asks("SYST:ERR?\n")},
        {273, Panel::Communication, {}, {}, Clears()},

        // Manufacturer panel: identification with a line feed after an answer only.
        {250, Panel::Manufacturer, {}, {}, AsksWithLineFeed("*IDN?\n")},
        {250,
         Panel::Manufacturer,
         {},
         {},
         {"*IDN?\n", "Sending command:  *IDN?\r\n \r\nNo Response Read\r\n \r\n", 1, 1},
         6,
         ""},
        {251, Panel::Manufacturer, {}, {}, AsksWithLineFeed("SYST:VERS?\n")},
        {254, Panel::Manufacturer, {}, {}, Asks("SYST:PASS:STAT?\n")},
        {269, Panel::Manufacturer, {}, {}, Asks("SYST:ERR?\n")},
        {274, Panel::Manufacturer, {}, {}, Clears()},
        // Passwords: quoted, unchecked, current password from 256, new one from 255.
        {252, Panel::Manufacturer, {{256, "secret"}}, {}, Sends("SYST:PASS:CDIS \"secret\"\n")},
        {252, Panel::Manufacturer, {{256, ""}}, {}, Sends("SYST:PASS:CDIS \"\"\n")},
        {252, Panel::Manufacturer, {{256, "p,\"q"}}, {}, Sends("SYST:PASS:CDIS \"p,\"q\"\n")},
        {252,
         Panel::Manufacturer,
         {{256, Letters(82, 'p')}},
         {},
         Sends("SYST:PASS:CDIS \"" + Letters(82, 'p') + "\"\n")},
        {252,
         Panel::Manufacturer,
         {{256, Letters(83, 'p')}},
         {},
         Refuses("SYST:PASS:CDIS \"" + Letters(83, 'p'), TooLong)},
        {253, Panel::Manufacturer, {{256, "secret"}}, {}, Sends("SYST:PASS:CEN \"secret\"\n")},
        {253, Panel::Manufacturer, {{256, ""}}, {}, Sends("SYST:PASS:CEN \"\"\n")},
        {253,
         Panel::Manufacturer,
         {{256, Letters(255, 'p')}},
         {},
         Refuses("SYST:PASS:CEN \"" + Letters(84, 'p'), TooLong)},
        {257,
         Panel::Manufacturer,
         {{256, "old"}, {255, "new"}},
         {},
         Sends("SYST:PASS:NEW \"old\",\"new\"\n")},
        {257, Panel::Manufacturer, {{256, ""}, {255, ""}}, {}, Sends("SYST:PASS:NEW \"\",\"\"\n")},
        {257,
         Panel::Manufacturer,
         {{256, "a\"b"}, {255, "c,d"}},
         {},
         Sends("SYST:PASS:NEW \"a\"b\",\"c,d\"\n")},
        {257,
         Panel::Manufacturer,
         {{256, Letters(40, 'o')}, {255, Letters(40, 'n')}},
         {},
         Sends("SYST:PASS:NEW \"" + Letters(40, 'o') + "\",\"" + Letters(40, 'n') + "\"\n")},
        {257,
         Panel::Manufacturer,
         {{256, Letters(40, 'o')}, {255, Letters(41, 'n')}},
         {},
         Refuses("SYST:PASS:NEW \"" + Letters(40, 'o') + "\",\"" + Letters(41, 'n'), TooLong)},
        {257,
         Panel::Manufacturer,
         {{256, Letters(255, 'o')}, {255, "new"}},
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
        fake::listSelections[244] = c.baudPosition;
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
    for (int id : {116, 166, 229, 238, 252, 253, 257, 134}) {
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
