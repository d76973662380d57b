// Tests of the simulated instrument's SCPI interpreter: settings read back as set, refusals
// that push the right error and change nothing, the error queue, *RST and *SAV/*RCL, the
// simulated load and the trigger system.
#include <gtest/gtest.h>

#include <string>

#include "sim/scpi.h"
#include "sim/scpi_syntax.h"

namespace
{

Instrument Fresh()
{
    Instrument in;
    PowerOn(in);
    ExecuteScpi(in, "*CLS");
    return in;
}

std::string Ask(Instrument& in, const std::string& query)
{
    const ScpiResult r = ExecuteScpi(in, query);
    return r.answered ? r.answer : "<no answer>";
}

void Send(Instrument& in, const std::string& line)
{
    const ScpiResult r = ExecuteScpi(in, line);
    EXPECT_FALSE(r.answered) << line;
}

struct RoundTrip {
    const char* setting;
    const char* query;
    const char* answer;
};

TEST(ScpiSettings, ReadBackAsSet)
{
    const RoundTrip rows[] = {
        {"VOLT 120", "VOLT?", "120.00"},
        {"volt 99.5", "SOUR:VOLT:LEV:IMM:AMPL?", "99.50"},
        {":SOURce:VOLTage 1.2e2", "VOLT?", "120.00"},
        {"VOLT 230 V", "VOLT?", "230.00"},
        {"VOLT MAX", "VOLT?", "270.00"},
        {"FREQ 50", "FREQ?", "50.00"},
        {"FREQ 400HZ", "FREQuency?", "400.00"},
        {"CURR 2.5", "CURR?", "2.50"},
        {"VOLT:RANG LO", "VOLT:RANG?", "LO"},
        {"VOLT:RANGE HIGH", "VOLT:RANG?", "HI"},
        {"OUTP 1", "OUTP?", "1"},
        {"OUTPUT:STATE ON", "OUTP?", "1"},
        {"OUTP 0", "OUTP?", "0"},
        {"TRIG:SOUR BUS", "TRIG:SOUR?", "BUS"},
        {"TRIG:SOUR IMMEDIATE", "TRIG:SOUR?", "IMM"},
        {"TRIG:DEL 0.5", "TRIG:DEL?", "0.500"},
        {"TRIG:COUN 3", "TRIG:COUN?", "3"},
        {"VOLT:MODE STEP", "VOLT:MODE?", "STEP"},
        {"FREQ:MODE LIST", "FREQ:MODE?", "LIST"},
        {"CURR:MODE FIX", "CURR:MODE?", "FIX"},
        {"VOLT:TRIG 110", "VOLT:TRIG?", "110.00"},
        {"FREQ:TRIG 50", "FREQ:TRIG?", "50.00"},
        {"CURR:TRIG 1.5", "CURR:TRIG?", "1.50"},
        {"LIST:DWEL 0.1,0.25", "LIST:DWEL?", "0.100,0.250"},
        {"LIST:VOLT 100, 110 ,120", "LIST:VOLT?", "100.00,110.00,120.00"},
        {"LIST:FREQ 50,60", "LIST:FREQ?", "50.00,60.00"},
        {"LIST:CURR 1,2", "LIST:CURR?", "1.00,2.00"},
        {"LIST:COUN 7", "LIST:COUN?", "7"},
        {"*SRE 255", "*SRE?", "191"}, // the summary bit cannot be enabled
        {"*ESE 36", "*ESE?", "36"},
        {"STAT:OPER:ENAB 32", "STAT:OPER:ENAB?", "32"},
        {"STAT:QUES:ENAB 2", "STAT:QUES:ENAB?", "2"},
        {"SYST:COMM:LAN:CONF MAN", "SYST:COMM:LAN:CONF?", "MAN"},
        {"SYST:COMM:LAN:CONF AUTO", "SYST:COMM:LAN:CONF?", "AUTO"},
        {"SYST:COMM:LAN:IP \"10.1.2.3\"", "SYST:COMM:LAN:IP?", "\"10.1.2.3\""},
        {"SYST:COMM:LAN:SUBN \"255.255.0.0\"", "SYST:COMM:LAN:SUBN?", "\"255.255.0.0\""},
        {"SYST:COMM:LAN:GATE \"10.1.0.1\"", "SYST:COMM:LAN:GATE?", "\"10.1.0.1\""},
        {"SYST:COMM:LAN:HOST \"NODE7\"", "SYST:COMM:LAN:HOST?", "\"NODE7\""},
        {"SYST:COMM:SOCK:PORT 5026", "SYST:COMM:SOCK:PORT?", "5026"},
        {"SYST:COMM:SER:BAUD 115200", "SYST:COMM:SER:BAUD?", "115200"},
        {"SYST:COMM:SER:BAUD 300", "SYST:COMM:SER:BAUD?", "300"},
        {"SYST:PASS:CEN \"0000\"", "SYST:PASS:STAT?", "1"},
        {"INIT:CONT 1", "INIT:CONT?", "1"},
    };
    for (const RoundTrip& row : rows) {
        Instrument in = Fresh();
        Send(in, row.setting);
        EXPECT_EQ(Ask(in, row.query), row.answer) << row.setting;
        EXPECT_EQ(Ask(in, "SYST:ERR?"), "0,\"No error\"") << row.setting;
    }
}

struct Refusal {
    const char* setting;
    const char* error;
    const char* query; // still answers what it answered before
};

TEST(ScpiSettings, RefusalsPushErrorAndKeepTheValue)
{
    const Refusal rows[] = {
        {"VOLT 270.01", "-222,\"Data out of range\"", "VOLT?"},
        {"VOLT -1", "-222,\"Data out of range\"", "VOLT?"},
        {"VOLT abc", "-104,\"Data type error\"", "VOLT?"},
        {"VOLT 1.2.3", "-120,\"Numeric data error\"", "VOLT?"},
        {"VOLT 1e", "-120,\"Numeric data error\"", "VOLT?"},
        {"VOLT 5X", "-131,\"Invalid suffix\"", "VOLT?"},
        {"VOLT ", "-109,\"Missing parameter\"", "VOLT?"},
        {"VOLT 5,6", "-108,\"Parameter not allowed\"", "VOLT?"},
        {"VOLTS 5", "-113,\"Undefined header\"", "VOLT?"},
        {"VOL 5", "-113,\"Undefined header\"", "VOLT?"},
        {"FREQ 44.9", "-222,\"Data out of range\"", "FREQ?"},
        {"FREQ 500.1", "-222,\"Data out of range\"", "FREQ?"},
        {"CURR -0.1", "-222,\"Data out of range\"", "CURR?"},
        {"VOLT:RANG MEDIUM", "-224,\"Illegal parameter value\"", "VOLT:RANG?"},
        {"TRIG:SOUR EXT", "-224,\"Illegal parameter value\"", "TRIG:SOUR?"},
        {"LIST:VOLT 100,300", "-222,\"Data out of range\"", "LIST:VOLT?"},
        {"SYST:COMM:SER:BAUD 1234", "-222,\"Data out of range\"", "SYST:COMM:SER:BAUD?"},
        {"SYST:COMM:SOCK:PORT 0", "-222,\"Data out of range\"", "SYST:COMM:SOCK:PORT?"},
        {"SYST:COMM:SOCK:PORT 65536", "-222,\"Data out of range\"", "SYST:COMM:SOCK:PORT?"},
        {"SYST:COMM:LAN:IP \"1.2.3.256\"", "-222,\"Data out of range\"", "SYST:COMM:LAN:IP?"},
        {"SYST:COMM:LAN:IP \"1.2.3\"", "-224,\"Illegal parameter value\"", "SYST:COMM:LAN:IP?"},
        {"SYST:COMM:LAN:IP 1.2.3.4", "-104,\"Data type error\"", "SYST:COMM:LAN:IP?"},
        {"SYST:COMM:LAN:SUBN \"255.0.255.0\"", "-224,\"Illegal parameter value\"",
         "SYST:COMM:LAN:SUBN?"},
        {"SYST:COMM:LAN:HOST \"\"", "-224,\"Illegal parameter value\"", "SYST:COMM:LAN:HOST?"},
        {"SYST:COMM:LAN:HOST \"ab\"c\"", "-151,\"Invalid string data\"", "SYST:COMM:LAN:HOST?"},
        {"SYST:PASS:CEN \"1234\"", "-221,\"Settings conflict\"", "SYST:PASS:STAT?"},
        {"*RCL 4", "-222,\"Data out of range\"", "VOLT?"},
        {"MEAS:VOLT 5", "-113,\"Undefined header\"", "VOLT?"},
        {"*TRG", "-211,\"Trigger ignored\"", "VOLT?"},
    };
    for (const Refusal& row : rows) {
        Instrument in = Fresh();
        const std::string before = Ask(in, row.query);
        Send(in, row.setting);
        EXPECT_EQ(Ask(in, "SYST:ERR?"), row.error) << row.setting;
        EXPECT_EQ(Ask(in, row.query), before) << row.setting;
    }
}

TEST(ScpiSettings, RangeLimitsVoltage)
{
    Instrument in = Fresh();
    Send(in, "VOLT 200");
    Send(in, "VOLT:RANG LO"); // 200 V does not fit the low range
    EXPECT_EQ(Ask(in, "SYST:ERR?"), "-221,\"Settings conflict\"");
    EXPECT_EQ(Ask(in, "VOLT:RANG?"), "HI");
    Send(in, "VOLT 135");
    Send(in, "VOLT:RANG LO");
    Send(in, "VOLT 135.5");
    EXPECT_EQ(Ask(in, "SYST:ERR?"), "-222,\"Data out of range\"");
    EXPECT_EQ(Ask(in, "VOLT?"), "135.00");
}

TEST(ScpiSettings, PasswordChangeNeedsTheCurrentOne)
{
    Instrument in = Fresh();
    Send(in, "SYST:PASS:NEW \"1111\",\"2222\"");
    EXPECT_EQ(Ask(in, "SYST:ERR?"), "-221,\"Settings conflict\"");
    Send(in, "SYST:PASS:NEW \"0000\",\"2222\"");
    Send(in, "SYST:PASS:CEN \"0000\"");
    EXPECT_EQ(Ask(in, "SYST:ERR?"), "-221,\"Settings conflict\"");
    Send(in, "SYST:PASS:CEN \"2222\"");
    EXPECT_EQ(Ask(in, "SYST:PASS:STAT?"), "1");
    Send(in, "SYST:PASS:CDIS \"2222\"");
    EXPECT_EQ(Ask(in, "SYST:PASS:STAT?"), "0");
    EXPECT_EQ(Ask(in, "SYST:ERR?"), "0,\"No error\"");
}

TEST(ScpiErrors, QueueIsFirstInFirstOutAndOverflows)
{
    Instrument in = Fresh();
    EXPECT_EQ(Ask(in, "*STB?"), "0");
    Send(in, "FOO");
    Send(in, "VOLT 999");
    EXPECT_EQ(Ask(in, "*STB?"), "4");  // error queue not empty
    EXPECT_EQ(Ask(in, "*ESR?"), "48"); // command error and execution error
    EXPECT_EQ(Ask(in, "*ESR?"), "0");  // reading cleared it
    EXPECT_EQ(Ask(in, "SYST:ERR?"), "-113,\"Undefined header\"");
    EXPECT_EQ(Ask(in, "SYST:ERR?"), "-222,\"Data out of range\"");
    EXPECT_EQ(Ask(in, "SYST:ERR?"), "0,\"No error\"");

    for (int k = 0; k < 12; ++k)
        Send(in, "FOO");
    EXPECT_EQ(Ask(in, "SYST:ERR:COUN?"), "10");
    for (int k = 0; k < 9; ++k)
        EXPECT_EQ(Ask(in, "SYST:ERR?"), "-113,\"Undefined header\"");
    EXPECT_EQ(Ask(in, "SYST:ERR?"), "-350,\"Queue overflow\"");

    Send(in, "FOO");
    Send(in, "*CLS");
    EXPECT_EQ(Ask(in, "SYST:ERR?"), "0,\"No error\"");
    EXPECT_EQ(Ask(in, "*ESR?"), "0");
}

TEST(ScpiErrors, FailedQueryAndEmptyLineGiveNoAnswer)
{
    Instrument in = Fresh();
    EXPECT_FALSE(ExecuteScpi(in, "FOO?").answered);
    EXPECT_FALSE(ExecuteScpi(in, "VOLT? MAX").answered);
    EXPECT_FALSE(ExecuteScpi(in, "   ").answered);
    EXPECT_FALSE(ExecuteScpi(in, "").answered);
    EXPECT_EQ(Ask(in, "SYST:ERR?"), "-113,\"Undefined header\"");
    EXPECT_EQ(Ask(in, "SYST:ERR?"), "-108,\"Parameter not allowed\"");
    EXPECT_EQ(Ask(in, "SYST:ERR?"), "0,\"No error\"");
}

TEST(ScpiCommon, ResetRestoresOutputSettingsOnly)
{
    Instrument in = Fresh();
    Send(in, "VOLT 120");
    Send(in, "OUTP 1");
    Send(in, "TRIG:SOUR BUS");
    Send(in, "SYST:COMM:LAN:HOST \"NODE7\"");
    Send(in, "FOO");
    Send(in, "*RST");
    EXPECT_EQ(Ask(in, "VOLT?"), "0.00");
    EXPECT_EQ(Ask(in, "OUTP?"), "0");
    EXPECT_EQ(Ask(in, "TRIG:SOUR?"), "IMM");
    EXPECT_EQ(Ask(in, "SYST:COMM:LAN:HOST?"), "\"NODE7\"");
    EXPECT_EQ(Ask(in, "SYST:ERR?"), "-113,\"Undefined header\"");
}

TEST(ScpiCommon, SaveAndRecallStates)
{
    Instrument in = Fresh();
    Send(in, "VOLT 100");
    Send(in, "*SAV 2");
    Send(in, "VOLT 50");
    Send(in, "*SAV 3");
    Send(in, "*RCL 2");
    EXPECT_EQ(Ask(in, "VOLT?"), "100.00");
    Send(in, "*RCL 3");
    EXPECT_EQ(Ask(in, "VOLT?"), "50.00");
    Send(in, "*RCL 0"); // never saved: the reset state
    EXPECT_EQ(Ask(in, "VOLT?"), "0.00");
    EXPECT_EQ(Ask(in, "*IDN?"), "Varnock Instruments,AC Source SIM,0001,1.0");
}

TEST(ScpiMeasure, FollowsOutputLoadAndCurrentLimit)
{
    Instrument in = Fresh();
    Send(in, "VOLT 120");
    EXPECT_EQ(Ask(in, "MEAS:VOLT?"), "0.00"); // output off
    EXPECT_EQ(Ask(in, "MEAS:CURR?"), "0.000");
    Send(in, "OUTP 1");
    EXPECT_EQ(Ask(in, "MEAS:VOLT?"), "120.00");
    EXPECT_EQ(Ask(in, "MEAS:CURR?"), "2.500"); // 120 V into 48 ohms
    EXPECT_EQ(Ask(in, "MEAS:POW?"), "300.0");
    EXPECT_EQ(Ask(in, "MEAS:POW:PFA?"), "1.000");
    EXPECT_EQ(Ask(in, "MEAS:FREQ?"), "60.00");
    EXPECT_EQ(Ask(in, "STAT:QUES:COND?"), "0");

    Send(in, "CURR 2");
    EXPECT_EQ(Ask(in, "MEAS:CURR?"), "2.000");
    EXPECT_EQ(Ask(in, "MEAS:VOLT?"), "96.00"); // the limit pulls the voltage down
    EXPECT_EQ(Ask(in, "STAT:QUES:COND?"), "2");
    Send(in, "CURR 5");
    EXPECT_EQ(Ask(in, "STAT:QUES:COND?"), "0");
    EXPECT_EQ(Ask(in, "STAT:QUES?"), "2"); // the event stays latched until read
    EXPECT_EQ(Ask(in, "STAT:QUES?"), "0");
}

TEST(ScpiTrigger, BusTriggerAppliesStepLevels)
{
    Instrument in = Fresh();
    Send(in, "VOLT 100");
    Send(in, "VOLT:TRIG 110");
    Send(in, "VOLT:MODE STEP");
    Send(in, "TRIG:SOUR BUS");
    Send(in, "INIT:SEQ1");
    EXPECT_EQ(Ask(in, "STAT:OPER:COND?"), "32"); // waiting for trigger
    EXPECT_EQ(Ask(in, "VOLT?"), "100.00");
    Send(in, "*TRG");
    EXPECT_EQ(Ask(in, "VOLT?"), "110.00");
    EXPECT_EQ(Ask(in, "STAT:OPER:COND?"), "0");
    Send(in, "*TRG"); // idle again: ignored
    EXPECT_EQ(Ask(in, "SYST:ERR?"), "-211,\"Trigger ignored\"");

    Send(in, "INIT");
    Send(in, "INIT");
    EXPECT_EQ(Ask(in, "SYST:ERR?"), "-213,\"Init ignored\"");
    Send(in, "ABOR");
    EXPECT_EQ(Ask(in, "STAT:OPER:COND?"), "0");
}

TEST(ScpiTrigger, ImmediateSourceRunsListAtInitiate)
{
    Instrument in = Fresh();
    Send(in, "LIST:VOLT 100,110,120");
    Send(in, "LIST:DWEL 0.5");
    Send(in, "VOLT:MODE LIST");
    Send(in, "INIT");
    EXPECT_EQ(Ask(in, "VOLT?"), "120.00");
    Send(in, "LIST:FREQ 50,60");
    Send(in, "FREQ:MODE LIST");
    Send(in, "INIT");
    EXPECT_EQ(Ask(in, "SYST:ERR?"), "-226,\"Lists not same length\"");
}

TEST(ScpiSyntax, HeaderPatterns)
{
    const char* pattern = "[SOURce:]VOLTage[:LEVel]:TRIGgered[:AMPLitude]";
    EXPECT_TRUE(HeaderMatches(pattern, "VOLT:TRIG"));
    EXPECT_TRUE(HeaderMatches(pattern, ":source:voltage:level:triggered:amplitude"));
    EXPECT_TRUE(HeaderMatches(pattern, "SOUR:VOLT:TRIG:AMPL"));
    EXPECT_FALSE(HeaderMatches(pattern, "VOLTA:TRIG"));
    EXPECT_FALSE(HeaderMatches(pattern, "VOLT"));
    EXPECT_FALSE(HeaderMatches(pattern, "VOLT::TRIG"));
    EXPECT_FALSE(HeaderMatches(pattern, "VOLT:TRIG:AMPL:AMPL"));
    EXPECT_TRUE(HeaderMatches("INITiate[:IMMediate][:SEQuence]", "INIT:SEQ1"));
    EXPECT_FALSE(HeaderMatches("INITiate[:IMMediate][:SEQuence]", "INIT:SEQ2"));
    EXPECT_TRUE(HeaderMatches("MEASure[:SCALar]:POWer[:AC]:PFActor", "MEAS:POW:PFA"));
    EXPECT_FALSE(HeaderMatches("MEASure[:SCALar]:POWer[:AC][:REAL]", "MEAS:POW:PFA"));
}

} // namespace
