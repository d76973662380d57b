// tessaly-cmd's command line: the link options, the commands in the order given, and the usage.
// Everything is checked before the link is opened, so a script with a typing error sends nothing.
#include <array>
#include <utility>

#include "cmd/cmd_args.h"
#include "cmd/cmd_chart.h"
#include "cmd/cmd_rules.h"
#include "link/link.h"
#include "panels/panel_table.h"

namespace
{

const char* const UsageHint =
    "tessaly-cmd --list shows every command, tessaly-cmd --help the usage";

// A whole decimal number of at most digits digits; -1 otherwise.
long long WholeNumber(const std::string& text, std::size_t digits)
{
    if (text.empty() || text.size() > digits ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return -1;
    long long number = 0;
    for (char digit : text)
        number = number * 10 + (digit - '0');
    return number;
}

// Seconds with up to three decimals ("2", "0.5", "1.25"), in milliseconds; -1 otherwise.
long long Milliseconds(const std::string& seconds)
{
    std::size_t point = seconds.find('.');
    std::string whole = seconds.substr(0, point);
    std::string decimals = point == std::string::npos ? "" : seconds.substr(point + 1);
    if (point != std::string::npos && decimals.empty())
        return -1;
    long long ms = WholeNumber(whole.empty() ? "0" : whole, 6);
    long long fraction = decimals.empty() ? 0 : WholeNumber(decimals, 3);
    if (ms < 0 || fraction < 0)
        return -1;
    for (std::size_t i = decimals.size(); i < 3; ++i)
        fraction *= 10;
    return ms * 1000 + fraction;
}

// A duration of a whole number and its unit (90s, 15m, 8h), in milliseconds; -1 otherwise.
long long DurationMs(const std::string& text)
{
    constexpr std::array<std::pair<char, long long>, 3> Units = {
        {{'s', 1000}, {'m', 60 * 1000}, {'h', 60 * 60 * 1000}}};
    for (const auto& unit : Units) {
        if (text.size() > 1 && text.back() == unit.first) {
            long long number = WholeNumber(text.substr(0, text.size() - 1), 6);
            return number > 0 ? number * unit.second : -1;
        }
    }
    return -1;
}

// A whole decimal number from 0 to last; -1 otherwise.
int NumberUpTo(const std::string& text, int last)
{
    long long number = WholeNumber(text, 3);
    return number <= last ? static_cast<int>(number) : -1;
}

// The row a panel's table keeps for a kind that no keyword reaches (the free line, Read).
const CommandRow* RowOfKind(Panel panel, CommandKind kind)
{
    const PanelTable& table = TableOf(panel);
    for (int i = 0; i < table.commandCount; ++i) {
        if (table.commands[i].kind == kind)
            return &table.commands[i];
    }
    return nullptr;
}

// HOST:PORT, the host perhaps an IPv6 address between brackets.
bool SplitHostPort(const std::string& text, std::string& host, std::string& port)
{
    std::size_t colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == text.size())
        return false;
    host = text.substr(0, colon);
    port = text.substr(colon + 1);
    if (host.size() > 2 && host.front() == '[' && host.back() == ']')
        host = host.substr(1, host.size() - 2);
    return true;
}

// The plan as the options fill it, with what the checks after the last argument need to know.
struct Parsing {
    ScriptPlan plan;
    bool every = false;
    bool finally = false; // --finally was given: the commands from there on run at the end
};

// Where a command goes: among the run's commands, or after --finally among those of its end.
std::vector<ScriptStep>& StepsOf(Parsing& p)
{
    return p.finally ? p.plan.finallySteps : p.plan.steps;
}

// Each option's handler gets the option as typed and its value ("" for an option without one),
// fills the plan and returns the problem, or "" when the value was understood.
using OptionHandler = std::string (*)(Parsing& p, const std::string& option,
                                      const std::string& value);

struct OptionRow {
    const char* name;
    bool takesValue;
    OptionHandler handle;
};

// One more instrument, unless one of that name was given already.
std::string AddInstrument(Parsing& p, const std::string& option, const std::string& value,
                          const Instrument& instrument)
{
    for (const Instrument& given : p.plan.instruments) {
        if (given.name == instrument.name)
            return option + " " + value + ": that instrument is given twice";
    }
    p.plan.instruments.push_back(instrument);
    return "";
}

std::string TcpOption(Parsing& p, const std::string& option, const std::string& value)
{
    Instrument instrument;
    instrument.link = ScriptLink::Tcp;
    instrument.name = value;
    if (!SplitHostPort(value, instrument.host, instrument.port))
        return "--tcp " + value + ": give HOST:PORT";
    return AddInstrument(p, option, value, instrument);
}

std::string PortOption(Parsing& p, const std::string& option, const std::string& value)
{
    Instrument instrument;
    instrument.link = option == "--com" ? ScriptLink::Rs232 : ScriptLink::Usb;
    instrument.portIndex = NumberUpTo(value, PortCount - 1);
    if (instrument.portIndex < 0)
        return option + " " + value + ": the port is a number from 0 to 25";
    instrument.name = (option == "--com" ? "COM" : "USB") + std::to_string(instrument.portIndex);
    return AddInstrument(p, option, value, instrument);
}

// --baud sets the rate of the --com just before it.
std::string BaudOption(Parsing& p, const std::string&, const std::string& value)
{
    if (p.plan.instruments.empty())
        return "--baud " + value + ": give it after its --com N";
    Instrument& instrument = p.plan.instruments.back();
    if (instrument.link != ScriptLink::Rs232)
        return "--baud goes with --com only (a USB port keeps its own settings)";
    if (instrument.baudGiven)
        return "--baud: give it once after each --com N";
    int position = 0;
    while (position < BaudChoiceCount && value != BaudLabels[position])
        ++position;
    if (position == BaudChoiceCount) {
        std::string rates;
        for (const char* label : BaudLabels)
            rates += std::string(" ") + label;
        return "--baud " + value + ": the rate is one of" + rates;
    }
    instrument.baudIndex = position;
    instrument.baudGiven = true;
    return "";
}

std::string LogOption(Parsing& p, const std::string&, const std::string&)
{
    p.plan.log = true;
    return "";
}

std::string CsvOption(Parsing& p, const std::string&, const std::string&)
{
    p.plan.csv = true;
    return "";
}

std::string EveryOption(Parsing& p, const std::string&, const std::string& value)
{
    if (p.finally)
        return "--every goes before --finally; the commands after --finally run at the end";
    if (p.every)
        return "--every: give it once; the commands after it repeat";
    p.every = true;
    p.plan.firstRepeated = p.plan.steps.size();
    p.plan.intervalMs = Milliseconds(value);
    if (p.plan.intervalMs < 100)
        return "--every " + value +
               ": give the seconds between rounds, at least 0.1, with at most three decimals";
    return "";
}

std::string CountOption(Parsing& p, const std::string&, const std::string& value)
{
    p.plan.count = WholeNumber(value, 9);
    return p.plan.count < 1 ? "--count " + value + ": give the number of rounds, 1 or more" : "";
}

std::string ForOption(Parsing& p, const std::string&, const std::string& value)
{
    p.plan.durationMs = DurationMs(value);
    return p.plan.durationMs < 0 ? "--for " + value + ": give a duration such as 90s, 15m or 8h"
                                 : "";
}

std::string WaitOption(Parsing& p, const std::string& option, const std::string& value)
{
    ScriptStep step;
    step.typed = option;
    step.waitMs = WholeNumber(value, 8);
    if (step.waitMs < 0)
        return "--wait " + value + ": give the milliseconds to wait";
    StepsOf(p).push_back(step);
    return "";
}

// --out FILE and --chart FILE: each given once, and with a name.
std::string FileOption(Parsing& p, const std::string& option, const std::string& value)
{
    std::string& path = option == "--out" ? p.plan.outPath : p.plan.chartPath;
    if (!path.empty() || value.empty())
        return option + ": give one file";
    path = value;
    return "";
}

// --send is the Command panel's free line; --query the same, then its Read.
std::string LineOption(Parsing& p, const std::string& option, const std::string& value)
{
    ScriptStep step;
    step.row = RowOfKind(Panel::Command, CommandKind::FreeLine);
    step.entry = value;
    step.typed = value;
    StepsOf(p).push_back(step);
    if (option == "--query") {
        step.row = RowOfKind(Panel::Command, CommandKind::Read);
        StepsOf(p).push_back(step);
    }
    return "";
}

std::string FinallyOption(Parsing& p, const std::string&, const std::string&)
{
    if (p.finally)
        return "--finally: give it once; the commands after it run at the end";
    p.finally = true;
    return "";
}

std::string ReconnectOption(Parsing& p, const std::string&, const std::string&)
{
    p.plan.reconnect = true;
    return "";
}

constexpr OptionRow Options[] = {
    {"--tcp", true, TcpOption},
    {"--com", true, PortOption},
    {"--usb", true, PortOption},
    {"--baud", true, BaudOption},
    {"--log", false, LogOption},
    {"--csv", false, CsvOption},
    {"--every", true, EveryOption},
    {"--count", true, CountOption},
    {"--for", true, ForOption},
    {"--wait", true, WaitOption},
    {"--out", true, FileOption},
    {"--send", true, LineOption},
    {"--query", true, LineOption},
    {"--finally", false, FinallyOption},
    {"--reconnect", false, ReconnectOption},
    {"--chart", true, FileOption},
};

const OptionRow* OptionNamed(const std::string& arg)
{
    for (const OptionRow& option : Options) {
        if (arg == option.name)
            return &option;
    }
    return nullptr;
}

// An argument that is no option: a command, unless it looks like an option or is the discover
// word, which stands alone.
std::string CommandArgument(Parsing& p, const std::string& arg)
{
    if (arg.rfind("--", 0) == 0 || arg == "discover" || arg == "chart")
        return "unknown option \"" + arg + "\"";
    ScriptStep step;
    std::string problem = ResolveCommand(arg, step);
    step.typed = arg;
    if (problem.empty())
        StepsOf(p).push_back(step);
    return problem;
}

// What the options say together, once all are read: "" when they go together.
std::string ProblemOfTheWhole(Parsing& p)
{
    ScriptPlan& plan = p.plan;
    if (!p.every) {
        const char* repeatOption = plan.count > 0        ? "--count"
                                   : plan.durationMs > 0 ? "--for"
                                                         : nullptr;
        if (repeatOption != nullptr)
            return repeatOption + std::string(" goes with --every SECONDS");
        // --csv alone makes the whole list one round, run once.
        plan.firstRepeated = plan.csv ? 0 : plan.steps.size();
        plan.count = plan.csv ? 1 : 0;
    } else if (plan.firstRepeated == plan.steps.size()) {
        return "--every needs the commands to repeat after it";
    }
    if (plan.log && plan.csv)
        return "--log and --csv do not go together";
    if (plan.instruments.empty())
        return "no link: give --tcp HOST:PORT, --com N or --usb N";
    if (plan.log && plan.instruments.size() > 1)
        return "--log goes with one instrument only";
    if (p.finally && plan.finallySteps.empty())
        return "--finally needs the commands to run at the end after it";
    if (plan.reconnect && !p.every)
        return "--reconnect goes with --every SECONDS";
    if (!plan.chartPath.empty() && !IsLoggingRun(plan))
        return "--chart goes with a logging run (--every SECONDS or --csv)";
    if (!plan.chartPath.empty() && plan.chartPath == plan.outPath)
        return "--chart and --out need two files";
    return "";
}

ScriptPlan Refuse(ScriptPlan plan, const std::string& problem)
{
    plan.error = "tessaly-cmd: " + problem + "\n" + UsageHint;
    return plan;
}

} // namespace

ScriptPlan ParseArguments(const std::vector<std::string>& args)
{
    Parsing p;
    if (args.empty())
        return Refuse(p.plan, "nothing to do");
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "--list" || args[0] == "discover")) {
        p.plan.mode = args[0] == "--help"   ? ScriptMode::Help
                      : args[0] == "--list" ? ScriptMode::List
                                            : ScriptMode::Discover;
        return p.plan;
    }
    if (args[0] == "chart") {
        if (args.size() < 2 || args.size() > 3)
            return Refuse(p.plan, "chart needs RUN.csv and, if you like, PAGE.html");
        p.plan.mode = ScriptMode::Chart;
        p.plan.csvPath = args[1];
        p.plan.chartPath = args.size() == 3 ? args[2] : ChartPagePathFor(args[1]);
        if (p.plan.chartPath == p.plan.csvPath)
            return Refuse(p.plan, "chart: the page would replace the CSV");
        return p.plan;
    }
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const OptionRow* option = OptionNamed(arg);
        bool valueMissing = option != nullptr && option->takesValue && i + 1 == args.size();
        std::string problem = valueMissing ? arg + " needs a value" : "";
        if (option == nullptr)
            problem = CommandArgument(p, arg);
        else if (!valueMissing)
            problem = option->handle(p, arg, option->takesValue ? args[++i] : std::string());
        if (!problem.empty())
            return Refuse(p.plan, problem);
    }
    std::string problem = ProblemOfTheWhole(p);
    return problem.empty() ? p.plan : Refuse(p.plan, problem);
}

bool IsLoggingRun(const ScriptPlan& plan)
{
    return plan.intervalMs > 0 || plan.csv;
}

std::string HelpText()
{
    return "Usage:\n"
           "  tessaly-cmd discover\n"
           "      lists the instruments on the local network: IP address, host name and MAC\n"
           "      address, separated by tabs, one per line (control bytes shown as \\xHH)\n"
           "  tessaly-cmd LINK [--log] COMMAND...\n"
           "      opens the link, runs each command in order as one click of its button, and\n"
           "      closes the link; stops at the first command that fails\n"
           "  tessaly-cmd LINK [--csv] [--out FILE] COMMAND... --every SECONDS [--count N]\n"
           "              [--for DURATION] COMMAND...\n"
           "      a logging run: the commands before --every run once, those after it as one\n"
           "      round every SECONDS (0.1 or more) on the same link, N rounds, for DURATION\n"
           "      (90s, 15m, 8h) or, with neither, until Ctrl+C or Ctrl+Break, which end the\n"
           "      run after the round in flight\n"
           "  tessaly-cmd LINK... [--reconnect] ... --finally COMMAND...\n"
           "      several instruments, one LINK each: every command goes to every instrument,\n"
           "      each on a thread of its own; the rounds run side by side, one row per round\n"
           "      with a column per instrument and query. --reconnect: a lost link is opened\n"
           "      again before each later round (its cells say Link Down meanwhile; the\n"
           "      commands before --every are not sent again). --finally: the commands after\n"
           "      it run once on every instrument at the end, whatever ended the run (count,\n"
           "      duration, Ctrl+C, a lost output, a failed command); their answers go to\n"
           "      standard error\n"
           "  tessaly-cmd ... --every SECONDS ... --chart PAGE.html\n"
           "      a logging run that also keeps a chart page of its numeric answers up to\n"
           "      date (self-contained HTML with SVG, for a browser on Windows 7 to 11; it\n"
           "      reloads itself while the run goes on)\n"
           "  tessaly-cmd chart RUN.csv [PAGE.html]\n"
           "      draws that page from a CSV that tessaly-cmd wrote (PAGE.html: RUN.html)\n"
           "  tessaly-cmd --list    every command: keyword, panel, button, argument\n"
           "  tessaly-cmd --help    this text\n"
           "LINK (each may be given more than once, one instrument each):\n"
           "  --tcp HOST:PORT           Ethernet\n"
           "  --com N [--baud RATE]     RS-232 port N (0 to 25), 8 data bits, no parity,\n"
           "                            one stop bit; RATE 300 to 115200, 9600 when left out\n"
           "  --usb N                   the instrument's USB port N, with its own settings\n"
           "COMMAND:\n"
           "  KEYWORD                   a query or a command without a value: MEAS:POW? *RST\n"
           "  KEYWORD=VALUE             VOLT=120  OUTP=ON  VOLT:RANG=HIGH (an option by the\n"
           "                            start of its caption, ignoring case)\n"
           "  PANEL:KEYWORD[=VALUE]     a keyword that several panels have, by its panel:\n"
           "                            Status:SYST:ERR?  Trigger:VOLT:MODE=LIST\n"
           "  --send LINE               the Command panel's free line, with its \\n and \\r\n"
           "  --query LINE              the same, then reads one answer\n"
           "  --wait MS                 holds MS milliseconds before the next command\n"
           "Output: each answer on a line of its own; with --log each command's whole log\n"
           "entry instead, oldest first. With --csv, a header (time, elapsed_s, then each\n"
           "repeated query as typed, after its instrument when there are several) and one row\n"
           "per round: the local time, the seconds since the first round and the answers.\n"
           "Without --csv and with several instruments each answer line starts with its\n"
           "instrument. --out FILE writes it to FILE instead of standard\n"
           "output, each round as it ends. Refusals, link messages, failed queries of a logging\n"
           "run and late rounds go to standard error.\n"
           "Exit status: 0 all sent and answered; 1 a command refused or not answered (or,\n"
           "for discover, no instrument; with --reconnect, a cell that failed or said Link\n"
           "Down; a --finally command that failed, when all else went well); 2 a usage error;\n"
           "3 a link could not be opened, or was lost during a logging run without\n"
           "--reconnect; 4 standard output or FILE could not be written;\n"
           "5 stopped by Ctrl+C or Ctrl+Break between commands (before a logging run's\n"
           "rounds; once they run, it ends them and counts as their end).\n"
           "A refused value stops any run before anything is sent. In a logging run a query\n"
           "that fails does not end the run: its failure text takes the answer's place.\n"
           "Examples:\n"
           "  tessaly-cmd discover\n"
           "  tessaly-cmd --tcp 192.168.1.20:5025 VOLT=120 FREQ=60 OUTP=ON MEAS:POW?\n"
           "  tessaly-cmd --com 3 --baud 19200 *IDN? Communication:SYST:ERR?\n"
           "  tessaly-cmd --usb 4 --log --query \"SYST:VERS?\"\n"
           "  tessaly-cmd --tcp 192.168.1.20:5025 --csv --out run.csv OUTP=ON --wait 500\n"
           "              --every 2 --for 10m MEAS:VOLT? MEAS:CURR? MEAS:POW?\n"
           "  tessaly-cmd --tcp 10.0.0.11:5025 --tcp 10.0.0.12:5025 --com 3 --reconnect --csv\n"
           "              --out burnin.csv VOLT=120 OUTP=ON --every 10 --for 72h MEAS:VOLT?\n"
           "              MEAS:POW? --finally OUTP=OFF\n";
}
