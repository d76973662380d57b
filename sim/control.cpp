// Control commands: fault modes, the byte record, reading and changing the instrument's state,
// and ending the simulator. Replies are "ok", a value, or "error: " and the reason.
#include "sim/control.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "sim/scpi_syntax.h"

namespace
{

// Short names for state that tests look at often; any other key is taken as a SCPI header.
struct StateAlias {
    const char* key;
    const char* header;
    bool quoted; // a string setting: quotes are added on set and removed on get
};

constexpr StateAlias StateAliases[] = {
    {"VOLT", "VOLT", false},
    {"FREQ", "FREQ", false},
    {"CURR", "CURR", false},
    {"RANG", "VOLT:RANG", false},
    {"OUTP", "OUTP", false},
    {"HOST", "SYST:COMM:LAN:HOST", true},
    {"IP", "SYST:COMM:LAN:IP", true},
    {"SUBN", "SYST:COMM:LAN:SUBN", true},
    {"GATE", "SYST:COMM:LAN:GATE", true},
    {"LANCONF", "SYST:COMM:LAN:CONF", false},
    {"PORT", "SYST:COMM:SOCK:PORT", false},
    {"BAUD", "SYST:COMM:SER:BAUD", false},
    {"PASSSTAT", "SYST:PASS:STAT", false},
    {"ESR", "*ESR", false},
    {"ESE", "*ESE", false},
    {"STB", "*STB", false},
    {"SRE", "*SRE", false},
    {"OPER", "STAT:OPER", false},
    {"QUES", "STAT:QUES", false},
};

// State that no SCPI command reaches.
struct DirectKey {
    const char* key;
    std::string (*get)(const Instrument& in);
    bool (*set)(Instrument& in, const std::string& value); // nullptr: read only
};

bool ReadPositive(const std::string& text, double min, double max, double& value)
{
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0' && value >= min && value <= max;
}

const DirectKey DirectKeys[] = {
    {"LOAD", [](const Instrument& in) { return FixedText(in.loadOhms, 3); },
     [](Instrument& in, const std::string& v) { return ReadPositive(v, 0.0, 1e9, in.loadOhms); }},
    {"PF", [](const Instrument& in) { return FixedText(in.loadPowerFactor, 3); },
     [](Instrument& in, const std::string& v) {
         return ReadPositive(v, 0.001, 1.0, in.loadPowerFactor);
     }},
    {"MAC", [](const Instrument& in) { return in.mac; },
     [](Instrument& in, const std::string& v) {
         in.mac = v;
         return true;
     }},
    {"PASS", [](const Instrument& in) { return in.password; },
     [](Instrument& in, const std::string& v) {
         in.password = v;
         return true;
     }},
    {"INIT", [](const Instrument& in) { return std::string(in.initiated ? "1" : "0"); }, nullptr},
    {"ERRQ",
     [](const Instrument& in) {
         std::string text;
         for (const std::string& e : in.errors)
             text += (text.empty() ? "" : ";") + e;
         return text;
     },
     nullptr},
};

std::string Upper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// The first word of the text, and what follows it after the blanks.
void SplitWord(const std::string& text, std::string& word, std::string& rest)
{
    const size_t begin = std::min(text.find_first_not_of(' '), text.size());
    const size_t end = std::min(text.find(' ', begin), text.size());
    word = text.substr(begin, end - begin);
    rest = text.substr(std::min(text.find_first_not_of(' ', end), text.size()));
}

const StateAlias* FindAlias(const std::string& key)
{
    for (const StateAlias& a : StateAliases) {
        if (Upper(key) == a.key)
            return &a;
    }
    return nullptr;
}

const DirectKey* FindDirect(const std::string& key)
{
    for (const DirectKey& d : DirectKeys) {
        if (Upper(key) == d.key)
            return &d;
    }
    return nullptr;
}

// Reads through the query on a copy, so that reading clears no event register.
std::string GetState(const Instrument& in, const std::string& key)
{
    if (const DirectKey* direct = FindDirect(key))
        return direct->get(in);
    const StateAlias* alias = FindAlias(key);
    Instrument copy = in;
    const ScpiResult result = ExecuteScpi(copy, (alias ? alias->header : key) + std::string("?"));
    if (!result.answered)
        return "error: " + (copy.errors.empty() ? std::string("no answer") : copy.errors.back());
    std::string text = result.answer;
    if (alias && alias->quoted && ReadString(result.answer, text) != 0)
        text = result.answer;
    return text;
}

// Changes through the SCPI setting; a refusal is reported here and leaves no trace in the
// instrument's error queue or event status register.
std::string SetState(Instrument& in, const std::string& key, const std::string& value)
{
    if (const DirectKey* direct = FindDirect(key)) {
        if (direct->set == nullptr)
            return "error: read only";
        return direct->set(in, value) ? "ok" : "error: bad value";
    }
    const StateAlias* alias = FindAlias(key);
    const std::string header = alias ? alias->header : key;
    const auto errors = in.errors;
    const int esr = in.esr;
    ExecuteScpi(in, header + " " + (alias && alias->quoted ? QuoteString(value) : value));
    if (in.errors == errors)
        return "ok";
    const std::string reason = in.errors.back();
    in.errors = errors;
    in.esr = esr;
    return "error: " + reason;
}

// "pty" and "tcp": without an argument, whether the side is there; "on" or "off" asks the loop
// to plug it back in or pull it out.
std::string PlugCommand(const std::string& args, bool present, SimState::PlugChange& change)
{
    if (args.empty())
        return present ? "on" : "off";
    if (args != "off" && args != "on")
        return "error: on or off";
    change = args == "on" ? SimState::PlugChange::Plug : SimState::PlugChange::Unplug;
    return "ok";
}

struct ControlCommand {
    const char* name;
    std::string (*run)(SimState& sim, const std::string& args);
};

const ControlCommand ControlCommands[] = {
    {"fault",
     [](SimState& sim, const std::string& args) {
         if (args.empty())
             return FaultText(sim.fault);
         return ParseFault(args, sim.fault) ? std::string("ok") : std::string("error: bad fault");
     }},
    {"discovery",
     [](SimState& sim, const std::string& args) {
         if (args.empty())
             return DiscoveryFaultText(sim.discoveryFault);
         return ParseDiscoveryFault(args, sim.discoveryFault) ? std::string("ok")
                                                              : std::string("error: bad kind");
     }},
    {"record",
     [](SimState& sim, const std::string& args) {
         std::string hex;
         return RecordHex(sim.records, args, hex) ? hex : std::string("error: bad filter");
     }},
    {"clear",
     [](SimState& sim, const std::string&) {
         sim.records = Records{};
         return std::string("ok");
     }},
    {"get",
     [](SimState& sim, const std::string& args) {
         return args.empty() ? std::string("error: missing key") : GetState(sim.instrument, args);
     }},
    {"set",
     [](SimState& sim, const std::string& args) {
         std::string key;
         std::string value;
         SplitWord(args, key, value);
         return key.empty() ? std::string("error: missing key")
                            : SetState(sim.instrument, key, value);
     }},
    {"connections",
     [](SimState& sim, const std::string&) { return std::to_string(sim.tcpConnections); }},
    {"line", [](SimState& sim, const std::string&) { return sim.ptyLine; }},
    {"flush",
     [](SimState& sim, const std::string&) {
         sim.flushRequested = true;
         return std::string("ok");
     }},
    {"pty",
     [](SimState& sim, const std::string& args) {
         return PlugCommand(args, sim.ptyPresent, sim.ptyChange);
     }},
    {"tcp",
     [](SimState& sim, const std::string& args) {
         return PlugCommand(args, sim.tcpPresent, sim.tcpChange);
     }},
    {"quit",
     [](SimState& sim, const std::string&) {
         sim.quitRequested = true;
         return std::string("ok");
     }},
    {"help",
     [](SimState&, const std::string&) {
         return std::string(
             "fault [MODE [ARG]] | discovery [KIND [N]] | record [tcp|serial|N] | "
             "clear | get KEY | set KEY VALUE | connections | line | flush | pty [on|off] | "
             "tcp [on|off] | quit");
     }},
};

} // namespace

std::string RunControlCommand(SimState& sim, const std::string& line)
{
    std::string text = line;
    while (!text.empty() && (text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    std::string name;
    std::string args;
    SplitWord(text, name, args);
    for (const ControlCommand& c : ControlCommands) {
        if (name == c.name)
            return c.run(sim, args);
    }
    return "error: unknown command";
}
