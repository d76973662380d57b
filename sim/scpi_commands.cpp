// Every SCPI command of the simulated AC source as one table row: header pattern, parameter
// count, and what its setting and query forms do. Ranges are those a real source refuses beyond.
#include "sim/scpi_commands.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "sim/scpi_syntax.h"

namespace
{

constexpr double VoltMaxHigh = 270.0;
constexpr double VoltMaxLow = 135.0;
constexpr double FreqMin = 45.0;
constexpr double FreqMax = 500.0;
constexpr double CurrMax = 20.0;
constexpr double DelayMax = 3600.0;
constexpr int CountMax = 9999;
constexpr size_t ListPointsMax = 100;
constexpr size_t HostLengthMax = 32;
constexpr size_t PasswordLengthMax = 16;
constexpr int SerialRates[] = {300, 600, 1200, 1800, 2400, 4800, 9600, 19200, 38400, 57600, 115200};

constexpr const char* ModeWords[] = {"FIXed", "STEP", "LIST"};
constexpr const char* ModeAnswers[] = {"FIX", "STEP", "LIST"};
constexpr const char* LanWords[] = {"DHCP", "AUTO", "MANual"};
constexpr const char* LanAnswers[] = {"DHCP", "AUTO", "MAN"};
constexpr const char* RangeWords[] = {"HIgh", "LOw"};
constexpr const char* SourceWords[] = {"BUS", "IMMediate"};

const char* const IdentityText = "Varnock Instruments,AC Source SIM,0001,1.0";
const char* const VersionText = "1999.0";

double VoltMax(const Instrument& in)
{
    return in.set.rangeLow ? VoltMaxLow : VoltMaxHigh;
}

bool StartsWithLetter(const std::string& token)
{
    return !token.empty() && std::isalpha(static_cast<unsigned char>(token[0]));
}

// A real number in [min, max]; MINimum and MAXimum stand for the limits.
int SetReal(const std::string& token, double& field, double min, double max, const char* unit)
{
    static constexpr const char* limits[] = {"MINimum", "MAXimum"};
    int which = 0;
    if (StartsWithLetter(token) && ReadChoice(token, limits, 2, which) == 0) {
        field = which == 0 ? min : max;
        return 0;
    }
    double value = 0.0;
    const int error = ReadNumber(token, unit, value);
    if (error != 0)
        return error;
    if (!(value >= min && value <= max))
        return -222;
    field = value;
    return 0;
}

// A whole number in [min, max]; a fraction is rounded first.
int SetInt(const std::string& token, int& field, int min, int max)
{
    double value = 0.0;
    const int error = ReadNumber(token, nullptr, value);
    if (error != 0)
        return error;
    if (!(value >= min - 0.5 && value < max + 0.5))
        return -222;
    const int rounded = static_cast<int>(std::lround(value));
    if (rounded < min || rounded > max)
        return -222;
    field = rounded;
    return 0;
}

int SetList(const ScpiParams& params, std::vector<double>& list, double min, double max,
            const char* unit)
{
    if (params.size() > ListPointsMax)
        return -223;
    std::vector<double> values(params.size());
    for (size_t k = 0; k < params.size(); ++k) {
        const int error = SetReal(params[k], values[k], min, max, unit);
        if (error != 0)
            return error;
    }
    list = values;
    return 0;
}

std::string ListText(const std::vector<double>& list, int decimals)
{
    std::string text;
    for (double value : list)
        text += (text.empty() ? "" : ",") + FixedText(value, decimals);
    return text;
}

int SetMode(const std::string& token, LevelMode& mode)
{
    int index = 0;
    const int error = ReadChoice(token, ModeWords, 3, index);
    if (error == 0)
        mode = static_cast<LevelMode>(index);
    return error;
}

std::string ModeText(LevelMode mode)
{
    return ModeAnswers[static_cast<int>(mode)];
}

// A dotted IPv4 address between quotes; a subnet mask must also be contiguous ones.
int SetAddress(const std::string& token, std::string& field, bool isMask)
{
    std::string text;
    const int error = ReadString(token, text);
    if (error != 0)
        return error;
    unsigned long bits = 0;
    int parts = 0;
    size_t start = 0;
    while (true) {
        const size_t dot = text.find('.', start);
        const std::string part = text.substr(start, dot - start);
        if (part.empty() || part.size() > 3 || ++parts > 4)
            return -224;
        for (char c : part) {
            if (!std::isdigit(static_cast<unsigned char>(c)))
                return -224;
        }
        const unsigned long value = std::stoul(part);
        if (value > 255)
            return -222;
        bits = (bits << 8) | value;
        if (dot == std::string::npos)
            break;
        start = dot + 1;
    }
    if (parts != 4)
        return -224;
    if (isMask && ((~bits + 1) & ~bits & 0xffffffffUL) != 0)
        return -224; // the zero bits of a mask must all stand at its end
    field = text;
    return 0;
}

int SetHost(Instrument& in, const ScpiParams& p)
{
    std::string name;
    const int error = ReadString(p[0], name);
    if (error != 0)
        return error;
    if (name.size() > HostLengthMax)
        return -223;
    if (name.empty())
        return -224;
    for (char c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-')
            return -224;
    }
    in.host = name;
    return 0;
}

// CDIS and CEN: the current password, which must be right, switches protection.
int SetPasswordState(Instrument& in, const ScpiParams& p, bool enabled)
{
    std::string given;
    const int error = ReadString(p[0], given);
    if (error != 0)
        return error;
    if (given != in.password)
        return -221;
    in.passwordEnabled = enabled;
    return 0;
}

int SetNewPassword(Instrument& in, const ScpiParams& p)
{
    std::string current;
    std::string next;
    int error = ReadString(p[0], current);
    if (error == 0)
        error = ReadString(p[1], next);
    if (error != 0)
        return error;
    if (current != in.password)
        return -221;
    if (next.empty() || next.size() > PasswordLengthMax)
        return -224;
    in.password = next;
    return 0;
}

int SetRange(Instrument& in, const ScpiParams& p)
{
    int index = 0;
    const int error = ReadChoice(p[0], RangeWords, 2, index);
    if (error != 0)
        return error;
    if (index == 1) {
        double highest = std::max(in.set.volt, in.set.voltTrig);
        for (double v : in.set.listVolt)
            highest = std::max(highest, v);
        if (highest > VoltMaxLow)
            return -221;
    }
    in.set.rangeLow = index == 1;
    return 0;
}

int SetBaud(Instrument& in, const ScpiParams& p)
{
    int rate = 0;
    const int error = SetInt(p[0], rate, SerialRates[0], SerialRates[10]);
    if (error != 0)
        return error;
    for (int r : SerialRates) {
        if (r == rate) {
            in.baud = rate;
            return 0;
        }
    }
    return -222;
}

int Answer(std::string& answer, const std::string& text)
{
    answer = text;
    return 0;
}

int AnswerInt(std::string& answer, int value)
{
    return Answer(answer, std::to_string(value));
}

using P = const ScpiParams&;
using I = Instrument&;
using A = std::string&;

const ScpiCommand Commands[] = {
    // IEEE 488.2 common commands
    {"*IDN", 0, nullptr, [](I, A a) { return Answer(a, IdentityText); }},
    {"*CLS", 0,
     [](I in, P) {
         in.errors.clear();
         in.esr = in.operEvent = in.quesEvent = 0;
         return 0;
     },
     nullptr},
    {"*RST", 0,
     [](I in, P) {
         in.set = OutputSettings{};
         in.initiated = false;
         in.triggersLeft = 0;
         return 0;
     },
     nullptr},
    {"*SAV", 1,
     [](I in, P p) {
         int n = 0;
         const int error = SetInt(p[0], n, 0, 3);
         if (error == 0)
             in.saved[static_cast<size_t>(n)] = in.set;
         return error;
     },
     nullptr},
    {"*RCL", 1,
     [](I in, P p) {
         int n = 0;
         const int error = SetInt(p[0], n, 0, 3);
         if (error == 0)
             in.set = in.saved[static_cast<size_t>(n)];
         return error;
     },
     nullptr},
    {"*STB", 0, nullptr, [](I in, A a) { return AnswerInt(a, StatusByte(in)); }},
    {"*SRE", 1,
     [](I in, P p) {
         const int error = SetInt(p[0], in.sre, 0, 255);
         in.sre &= ~64; // the summary bit itself cannot be enabled
         return error;
     },
     [](I in, A a) { return AnswerInt(a, in.sre); }},
    {"*ESR", 0, nullptr,
     [](I in, A a) {
         AnswerInt(a, in.esr);
         in.esr = 0;
         return 0;
     }},
    {"*ESE", 1, [](I in, P p) { return SetInt(p[0], in.ese, 0, 255); },
     [](I in, A a) { return AnswerInt(a, in.ese); }},
    {"*OPC", 0,
     [](I in, P) {
         in.esr |= 1;
         return 0;
     },
     [](I, A a) { return Answer(a, "1"); }},
    {"*WAI", 0, [](I, P) { return 0; }, nullptr},
    {"*TST", 0, nullptr, [](I, A a) { return Answer(a, "0"); }},
    {"*TRG", 0, [](I in, P) { return Trigger(in, true); }, nullptr},
    // Output levels, range, modes and lists
    {"[SOURce:]VOLTage[:LEVel][:IMMediate][:AMPLitude]", 1,
     [](I in, P p) { return SetReal(p[0], in.set.volt, 0.0, VoltMax(in), "V"); },
     [](I in, A a) { return Answer(a, FixedText(in.set.volt, 2)); }},
    {"[SOURce:]VOLTage[:LEVel]:TRIGgered[:AMPLitude]", 1,
     [](I in, P p) { return SetReal(p[0], in.set.voltTrig, 0.0, VoltMax(in), "V"); },
     [](I in, A a) { return Answer(a, FixedText(in.set.voltTrig, 2)); }},
    {"[SOURce:]VOLTage:RANGe", 1, SetRange,
     [](I in, A a) { return Answer(a, in.set.rangeLow ? "LO" : "HI"); }},
    {"[SOURce:]VOLTage:MODE", 1, [](I in, P p) { return SetMode(p[0], in.set.voltMode); },
     [](I in, A a) { return Answer(a, ModeText(in.set.voltMode)); }},
    {"[SOURce:]FREQuency[:CW][:IMMediate]", 1,
     [](I in, P p) { return SetReal(p[0], in.set.freq, FreqMin, FreqMax, "HZ"); },
     [](I in, A a) { return Answer(a, FixedText(in.set.freq, 2)); }},
    {"[SOURce:]FREQuency:TRIGgered", 1,
     [](I in, P p) { return SetReal(p[0], in.set.freqTrig, FreqMin, FreqMax, "HZ"); },
     [](I in, A a) { return Answer(a, FixedText(in.set.freqTrig, 2)); }},
    {"[SOURce:]FREQuency:MODE", 1, [](I in, P p) { return SetMode(p[0], in.set.freqMode); },
     [](I in, A a) { return Answer(a, ModeText(in.set.freqMode)); }},
    {"[SOURce:]CURRent[:LEVel][:IMMediate][:AMPLitude]", 1,
     [](I in, P p) { return SetReal(p[0], in.set.curr, 0.0, CurrMax, "A"); },
     [](I in, A a) { return Answer(a, FixedText(in.set.curr, 2)); }},
    {"[SOURce:]CURRent[:LEVel]:TRIGgered[:AMPLitude]", 1,
     [](I in, P p) { return SetReal(p[0], in.set.currTrig, 0.0, CurrMax, "A"); },
     [](I in, A a) { return Answer(a, FixedText(in.set.currTrig, 2)); }},
    {"[SOURce:]CURRent:MODE", 1, [](I in, P p) { return SetMode(p[0], in.set.currMode); },
     [](I in, A a) { return Answer(a, ModeText(in.set.currMode)); }},
    {"[SOURce:]LIST:DWELl", AnyParamCount,
     [](I in, P p) { return SetList(p, in.set.listDwell, 0.0, DelayMax, "S"); },
     [](I in, A a) { return Answer(a, ListText(in.set.listDwell, 3)); }},
    {"[SOURce:]LIST:VOLTage[:LEVel]", AnyParamCount,
     [](I in, P p) { return SetList(p, in.set.listVolt, 0.0, VoltMax(in), "V"); },
     [](I in, A a) { return Answer(a, ListText(in.set.listVolt, 2)); }},
    {"[SOURce:]LIST:FREQuency", AnyParamCount,
     [](I in, P p) { return SetList(p, in.set.listFreq, FreqMin, FreqMax, "HZ"); },
     [](I in, A a) { return Answer(a, ListText(in.set.listFreq, 2)); }},
    {"[SOURce:]LIST:CURRent[:LEVel]", AnyParamCount,
     [](I in, P p) { return SetList(p, in.set.listCurr, 0.0, CurrMax, "A"); },
     [](I in, A a) { return Answer(a, ListText(in.set.listCurr, 2)); }},
    {"[SOURce:]LIST:COUNt", 1, [](I in, P p) { return SetInt(p[0], in.set.listCount, 1, CountMax); },
     [](I in, A a) { return AnswerInt(a, in.set.listCount); }},
    {"OUTPut[:STATe]", 1, [](I in, P p) { return ReadBool(p[0], in.set.output); },
     [](I in, A a) { return Answer(a, in.set.output ? "1" : "0"); }},
    // Measurements
    {"MEASure[:SCALar]:VOLTage[:AC]", 0, nullptr,
     [](I in, A a) { return Answer(a, FixedText(Measure(in).volt, 2)); }},
    {"MEASure[:SCALar]:CURRent[:AC]", 0, nullptr,
     [](I in, A a) { return Answer(a, FixedText(Measure(in).curr, 3)); }},
    {"MEASure[:SCALar]:POWer[:AC][:REAL]", 0, nullptr,
     [](I in, A a) { return Answer(a, FixedText(Measure(in).power, 1)); }},
    {"MEASure[:SCALar]:POWer[:AC]:PFActor", 0, nullptr,
     [](I in, A a) { return Answer(a, FixedText(Measure(in).powerFactor, 3)); }},
    {"MEASure[:SCALar]:FREQuency", 0, nullptr,
     [](I in, A a) { return Answer(a, FixedText(Measure(in).freq, 2)); }},
    // Trigger system
    {"TRIGger[:SEQuence][:IMMediate]", 0, [](I in, P) { return Trigger(in, false); }, nullptr},
    {"TRIGger[:SEQuence]:SOURce", 1,
     [](I in, P p) {
         int index = 0;
         const int error = ReadChoice(p[0], SourceWords, 2, index);
         if (error == 0)
             in.set.trigSourceBus = index == 0;
         return error;
     },
     [](I in, A a) { return Answer(a, in.set.trigSourceBus ? "BUS" : "IMM"); }},
    {"TRIGger[:SEQuence]:DELay", 1,
     [](I in, P p) { return SetReal(p[0], in.set.trigDelay, 0.0, DelayMax, "S"); },
     [](I in, A a) { return Answer(a, FixedText(in.set.trigDelay, 3)); }},
    {"TRIGger[:SEQuence]:COUNt", 1, [](I in, P p) { return SetInt(p[0], in.set.trigCount, 1, CountMax); },
     [](I in, A a) { return AnswerInt(a, in.set.trigCount); }},
    {"INITiate[:IMMediate][:SEQuence]", 0, [](I in, P) { return Initiate(in); }, nullptr},
    {"INITiate:CONTinuous[:SEQuence]", 1,
     [](I in, P p) {
         const int error = ReadBool(p[0], in.set.initContinuous);
         if (error == 0 && in.set.initContinuous && !in.initiated)
             return Initiate(in);
         return error;
     },
     [](I in, A a) { return Answer(a, in.set.initContinuous ? "1" : "0"); }},
    {"ABORt", 0,
     [](I in, P) {
         Abort(in);
         return 0;
     },
     nullptr},
    // Status registers
    {"STATus:OPERation[:EVENt]", 0, nullptr,
     [](I in, A a) {
         AnswerInt(a, in.operEvent);
         in.operEvent = 0;
         return 0;
     }},
    {"STATus:OPERation:CONDition", 0, nullptr, [](I in, A a) { return AnswerInt(a, in.operCondition); }},
    {"STATus:OPERation:ENABle", 1, [](I in, P p) { return SetInt(p[0], in.operEnable, 0, 32767); },
     [](I in, A a) { return AnswerInt(a, in.operEnable); }},
    {"STATus:QUEStionable[:EVENt]", 0, nullptr,
     [](I in, A a) {
         AnswerInt(a, in.quesEvent);
         in.quesEvent = 0;
         return 0;
     }},
    {"STATus:QUEStionable:CONDition", 0, nullptr,
     [](I in, A a) { return AnswerInt(a, in.quesCondition); }},
    {"STATus:QUEStionable:ENABle", 1, [](I in, P p) { return SetInt(p[0], in.quesEnable, 0, 32767); },
     [](I in, A a) { return AnswerInt(a, in.quesEnable); }},
    {"STATus:PRESet", 0,
     [](I in, P) {
         in.operEnable = in.quesEnable = 0;
         return 0;
     },
     nullptr},
    // System: errors, version, LAN, serial, password
    {"SYSTem:ERRor[:NEXT]", 0, nullptr, [](I in, A a) { return Answer(a, PopError(in)); }},
    {"SYSTem:ERRor:COUNt", 0, nullptr,
     [](I in, A a) { return AnswerInt(a, static_cast<int>(in.errors.size())); }},
    {"SYSTem:VERSion", 0, nullptr, [](I, A a) { return Answer(a, VersionText); }},
    {"SYSTem:COMMunicate:LAN:CONFig", 1,
     [](I in, P p) {
         int index = 0;
         const int error = ReadChoice(p[0], LanWords, 3, index);
         if (error == 0)
             in.lanConfig = static_cast<LanConfig>(index);
         return error;
     },
     [](I in, A a) { return Answer(a, LanAnswers[static_cast<int>(in.lanConfig)]); }},
    {"SYSTem:COMMunicate:LAN:IP", 1, [](I in, P p) { return SetAddress(p[0], in.ip, false); },
     [](I in, A a) { return Answer(a, QuoteString(in.ip)); }},
    {"SYSTem:COMMunicate:LAN:IP:ACTive", 0, nullptr,
     [](I in, A a) {
         return Answer(a, QuoteString(in.lanConfig == LanConfig::Manual ? in.ip : in.activeIp));
     }},
    {"SYSTem:COMMunicate:LAN:SUBNet", 1, [](I in, P p) { return SetAddress(p[0], in.subnet, true); },
     [](I in, A a) { return Answer(a, QuoteString(in.subnet)); }},
    {"SYSTem:COMMunicate:LAN:GATEway", 1,
     [](I in, P p) { return SetAddress(p[0], in.gateway, false); },
     [](I in, A a) { return Answer(a, QuoteString(in.gateway)); }},
    {"SYSTem:COMMunicate:LAN:HOSTname", 1, SetHost,
     [](I in, A a) { return Answer(a, QuoteString(in.host)); }},
    {"SYSTem:COMMunicate:LAN:MAC", 0, nullptr, [](I in, A a) { return Answer(a, QuoteString(in.mac)); }},
    {"SYSTem:COMMunicate:SOCKet:PORT", 1, [](I in, P p) { return SetInt(p[0], in.socketPort, 1, 65535); },
     [](I in, A a) { return AnswerInt(a, in.socketPort); }},
    {"SYSTem:COMMunicate:SERial:BAUD", 1, SetBaud, [](I in, A a) { return AnswerInt(a, in.baud); }},
    {"SYSTem:PASSword:STATe", 0, nullptr,
     [](I in, A a) { return Answer(a, in.passwordEnabled ? "1" : "0"); }},
    {"SYSTem:PASSword:CDISable", 1, [](I in, P p) { return SetPasswordState(in, p, false); },
     nullptr},
    {"SYSTem:PASSword:CENable", 1, [](I in, P p) { return SetPasswordState(in, p, true); }, nullptr},
    {"SYSTem:PASSword:NEW", 2, SetNewPassword, nullptr},
};

} // namespace

const ScpiCommand* FindScpiCommand(const std::string& header)
{
    for (const ScpiCommand& command : Commands) {
        if (HeaderMatches(command.pattern, header))
            return &command;
    }
    return nullptr;
}
