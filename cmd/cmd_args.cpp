// tessaly-cmd's command line: the link options, the commands in the order given, and the usage.
// Everything is checked before the link is opened, so a script with a typing error sends nothing.
#include <cstdlib>

#include "cmd/cmd_rules.h"
#include "link/link.h"
#include "panels/panel_table.h"

namespace
{

const char* const UsageHint =
    "tessaly-cmd --list shows every command, tessaly-cmd --help the usage";

// A whole decimal number from 0 to last; -1 otherwise.
int NumberUpTo(const std::string& text, int last)
{
    if (text.empty() || text.size() > 3 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return -1;
    int number = std::atoi(text.c_str());
    return number <= last ? number : -1;
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

ScriptPlan Refuse(ScriptPlan plan, const std::string& problem)
{
    plan.error = "tessaly-cmd: " + problem + "\n" + UsageHint;
    return plan;
}

} // namespace

ScriptPlan ParseArguments(const std::vector<std::string>& args)
{
    ScriptPlan plan;
    if (args.empty())
        return Refuse(plan, "nothing to do");
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "--list" || args[0] == "discover")) {
        plan.mode = args[0] == "--help"   ? ScriptMode::Help
                    : args[0] == "--list" ? ScriptMode::List
                                          : ScriptMode::Discover;
        return plan;
    }
    bool baudGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        bool last = i + 1 == args.size();
        bool linkOption = arg == "--tcp" || arg == "--com" || arg == "--usb";
        bool takesWord = linkOption || arg == "--baud" || arg == "--send" || arg == "--query";
        if (takesWord && last)
            return Refuse(plan, arg + " needs a value");
        const std::string word = takesWord ? args[++i] : "";
        if (linkOption && plan.link != ScriptLink::None)
            return Refuse(plan, arg + ": only one of --tcp, --com and --usb");
        if (arg == "--tcp") {
            plan.link = ScriptLink::Tcp;
            if (!SplitHostPort(word, plan.host, plan.port))
                return Refuse(plan, "--tcp " + word + ": give HOST:PORT");
        } else if (arg == "--com" || arg == "--usb") {
            plan.link = arg == "--com" ? ScriptLink::Rs232 : ScriptLink::Usb;
            plan.portIndex = NumberUpTo(word, PortCount - 1);
            if (plan.portIndex < 0)
                return Refuse(plan, arg + " " + word + ": the port is a number from 0 to 25");
        } else if (arg == "--baud") {
            int position = 0;
            while (position < BaudChoiceCount && word != BaudLabels[position])
                ++position;
            if (position == BaudChoiceCount) {
                std::string rates;
                for (const char* label : BaudLabels)
                    rates += std::string(" ") + label;
                return Refuse(plan, "--baud " + word + ": the rate is one of" + rates);
            }
            plan.baudIndex = position;
            baudGiven = true;
        } else if (arg == "--log") {
            plan.log = true;
        } else if (arg == "--send" || arg == "--query") {
            ScriptStep step;
            step.row = RowOfKind(Panel::Command, CommandKind::FreeLine);
            step.entry = word;
            plan.steps.push_back(step);
            if (arg == "--query") {
                step.row = RowOfKind(Panel::Command, CommandKind::Read);
                plan.steps.push_back(step);
            }
        } else if (arg.rfind("--", 0) == 0 || arg == "discover") {
            return Refuse(plan, "unknown option \"" + arg + "\"");
        } else {
            ScriptStep step;
            std::string problem = ResolveCommand(arg, step);
            if (!problem.empty())
                return Refuse(plan, problem);
            plan.steps.push_back(step);
        }
    }
    if (plan.link == ScriptLink::None)
        return Refuse(plan, "no link: give --tcp HOST:PORT, --com N or --usb N");
    if (baudGiven && plan.link != ScriptLink::Rs232)
        return Refuse(plan, "--baud goes with --com only (a USB port keeps its own settings)");
    return plan;
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
           "  tessaly-cmd --list    every command: keyword, panel, button, argument\n"
           "  tessaly-cmd --help    this text\n"
           "LINK:\n"
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
           "Output: each answer on a line of its own; with --log each command's whole log\n"
           "entry instead, oldest first. Refusals and link messages go to standard error.\n"
           "Exit status: 0 all sent and answered; 1 a command refused or not answered (or,\n"
           "for discover, no instrument); 2 a usage error; 3 the link could not be opened;\n"
           "4 standard output could not be written; 5 stopped by Ctrl+C or Ctrl+Break\n"
           "between commands.\n"
           "Examples:\n"
           "  tessaly-cmd discover\n"
           "  tessaly-cmd --tcp 192.168.1.20:5025 VOLT=120 FREQ=60 OUTP=ON MEAS:POW?\n"
           "  tessaly-cmd --com 3 --baud 19200 *IDN? Communication:SYST:ERR?\n"
           "  tessaly-cmd --usb 4 --log --query \"SYST:VERS?\"\n";
}
