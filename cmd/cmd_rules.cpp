// tessaly-cmd's commands: the panels' command rows named by their SCPI keywords, their arguments
// turned into what the entry boxes, option buttons and baud list would hold, the --list text,
// and the verdict on each click.
#include "cmd/cmd_rules.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "link/link.h"
#include "panels/transaction.h"

namespace
{

// The texts a link operation leaves in place of an answer.
constexpr std::array<const char*, 4> FailureTexts = {EthTimeoutText, ReadFailureText,
                                                     WriteFailureText, NoResponseText};

bool SameText(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

bool StartsWithText(const std::string& text, const std::string& start)
{
    return text.size() >= start.size() && SameText(text.substr(0, start.size()), start);
}

// The rows whose keyword is the given one or, when no panel has that keyword, whose keyword ends
// in it after a colon ("RANG" for "VOLT:RANG"); only those of the given panel when there is one.
std::vector<const CommandRow*> RowsNamed(const std::string& keyword, const Panel* onlyPanel)
{
    std::vector<const CommandRow*> exact, byLastNodes;
    for (const PanelEntry& named : PanelRegistry) {
        const PanelTable& table = TableOf(named.panel);
        for (int i = 0; i < table.commandCount; ++i) {
            const CommandRow& row = table.commands[i];
            std::string own = KeywordOf(row);
            std::size_t cut = own.size() - std::min(own.size(), keyword.size());
            if (own.empty() || keyword.empty())
                continue;
            if (SameText(own, keyword))
                exact.push_back(&row);
            else if (cut > 0 && own[cut - 1] == ':' && SameText(own.substr(cut), keyword))
                byLastNodes.push_back(&row);
        }
    }
    std::vector<const CommandRow*> rows = exact.empty() ? byLastNodes : exact;
    if (onlyPanel != nullptr) {
        rows.erase(
            std::remove_if(rows.begin(), rows.end(),
                           [&](const CommandRow* row) { return PanelOf(*row) != *onlyPanel; }),
            rows.end());
    }
    return rows;
}

bool KeywordShared(const CommandRow& row)
{
    return RowsNamed(KeywordOf(row), nullptr).size() > 1;
}

// The keyword as a script must type it: with its panel when another panel has it too.
std::string TypedName(const CommandRow& row)
{
    std::string keyword = KeywordOf(row);
    return KeywordShared(row) ? NameOf(PanelOf(row)) + std::string(":") + keyword : keyword;
}

// The captions of a selection's options, or the baud list's labels, in the table's order.
std::vector<std::string> ChoicesOf(const CommandRow& row)
{
    std::vector<std::string> choices;
    if (row.kind == CommandKind::BaudRate)
        choices.assign(BaudLabels.begin(), BaudLabels.end());
    for (const OptionChoice& option : row.options) {
        if (row.kind == CommandKind::Selection && option.id != 0)
            choices.push_back(CaptionOf(PanelOf(row), option.id));
    }
    return choices;
}

std::string Joined(const std::vector<std::string>& texts, const char* separator)
{
    std::string joined;
    for (const std::string& text : texts)
        joined += (joined.empty() ? "" : separator) + text;
    return joined;
}

std::string CharactersText(const char* set)
{
    std::string text = *set == 0 ? "digits only" : "digits and";
    for (const char* c = set; *c != 0; ++c)
        text += std::string(" ") + *c;
    return text;
}

// What the argument of a row is, for --list.
std::string ArgumentText(const CommandRow& row)
{
    switch (row.kind) {
    case CommandKind::Query:
    case CommandKind::QueryLineFeed:
        return "none; prints the answer";
    case CommandKind::Fixed:
        return "none";
    case CommandKind::Value:
        return "=VALUE of " + CharactersText(row.charSet);
    case CommandKind::QuotedValue:
        return "=VALUE of " + CharactersText(row.charSet) + ", sent between quotes";
    case CommandKind::HostName:
    case CommandKind::Password:
        return "=TEXT, sent between quotes as typed";
    case CommandKind::NewPassword:
        return "=CURRENT,NEW, each sent between quotes as typed";
    case CommandKind::Selection:
    case CommandKind::BaudRate:
        return "=one of " + Joined(ChoicesOf(row), " | ");
    case CommandKind::FreeLine:
        return "the line as typed; \\n or \\r ends it there, else a line feed is added";
    case CommandKind::Read:
        return "sends the line as --send does, then prints one answer";
    case CommandKind::ClearDisplay:
        break;
    }
    return "";
}

// How a row is named in a message.
std::string NameInMessages(const CommandRow& row)
{
    if (row.kind == CommandKind::FreeLine)
        return "--send";
    if (row.kind == CommandKind::Read)
        return "--query";
    return TypedName(row);
}

} // namespace

std::string KeywordOf(const CommandRow& row)
{
    if (row.bytes == nullptr)
        return "";
    std::string bytes = row.bytes;
    return bytes.substr(0, bytes.find_first_of(" \n"));
}

std::string CaptionOf(Panel panel, int controlId)
{
    const PanelTable& table = TableOf(panel);
    for (int i = 0; i < table.controlCount; ++i) {
        if (table.controls[i].id == controlId)
            return table.controls[i].caption;
    }
    return "";
}

bool ReadsAnswer(const CommandRow& row)
{
    return row.kind == CommandKind::Query || row.kind == CommandKind::QueryLineFeed ||
           row.kind == CommandKind::Read;
}

int MatchChoice(const std::string& given, const std::vector<std::string>& choices)
{
    int found = -1;
    for (std::size_t i = 0; i < choices.size() && !given.empty(); ++i) {
        if (SameText(choices[i], given))
            return static_cast<int>(i);
        if (StartsWithText(choices[i], given))
            found = found == -1 ? static_cast<int>(i) : -2;
    }
    return found;
}

std::string ResolveCommand(const std::string& argument, ScriptStep& step)
{
    std::size_t equals = argument.find('=');
    bool hasValue = equals != std::string::npos;
    std::string name = argument.substr(0, equals);
    std::string value = hasValue ? argument.substr(equals + 1) : "";

    Panel panel = Panel::Command;
    const Panel* onlyPanel = nullptr;
    std::size_t colon = name.find(':');
    for (const PanelEntry& named : PanelRegistry) {
        if (colon != std::string::npos && SameText(name.substr(0, colon), named.name)) {
            panel = named.panel;
            onlyPanel = &panel;
            name = name.substr(colon + 1);
        }
    }
    std::vector<const CommandRow*> rows = RowsNamed(name, onlyPanel);
    if (rows.empty())
        return "unknown command \"" + argument + "\"";
    if (rows.size() > 1) {
        std::vector<std::string> names;
        for (const CommandRow* row : rows)
            names.push_back(NameOf(PanelOf(*row)) + std::string(":") + KeywordOf(*row));
        return "\"" + argument + "\" names more than one command: " + Joined(names, ", ");
    }

    const CommandRow& row = *rows.front();
    step = ScriptStep{};
    step.row = &row;
    std::string keyword = KeywordOf(row);
    bool takesValue = row.kind != CommandKind::Query && row.kind != CommandKind::QueryLineFeed &&
                      row.kind != CommandKind::Fixed;
    if (!takesValue && hasValue)
        return "\"" + argument + "\": " + keyword + " takes no value";
    if (takesValue && !hasValue)
        return "\"" + argument + "\": " + keyword + " needs a value, " + keyword +
               ArgumentText(row);

    step.entry = value;
    if (row.kind == CommandKind::NewPassword) {
        std::size_t comma = value.find(',');
        if (comma == std::string::npos)
            return "\"" + argument + "\": " + keyword + " needs " + keyword + ArgumentText(row);
        step.entry = value.substr(0, comma);
        step.secondEntry = value.substr(comma + 1);
    }
    if (row.kind == CommandKind::Selection || row.kind == CommandKind::BaudRate) {
        std::vector<std::string> choices = ChoicesOf(row);
        int choice = MatchChoice(value, choices);
        if (choice < 0) {
            const char* problem = choice == -1 ? " is not one of " : " matches more than one of ";
            return "\"" + argument + "\": \"" + value + "\"" + problem + Joined(choices, " | ");
        }
        if (row.kind == CommandKind::Selection)
            step.optionId = row.options[static_cast<std::size_t>(choice)].id;
        else
            step.listPosition = choice;
    }
    return "";
}

std::string ListText()
{
    std::string text;
    for (const PanelEntry& named : PanelRegistry) {
        const PanelTable& table = TableOf(named.panel);
        for (int i = 0; i < table.commandCount; ++i) {
            const CommandRow& row = table.commands[i];
            std::string caption = CaptionOf(PanelOf(row), row.id);
            std::string typed = TypedName(row);
            if (row.kind == CommandKind::ClearDisplay)
                continue;
            if (row.kind == CommandKind::FreeLine)
                typed = "--send LINE";
            if (row.kind == CommandKind::Read) {
                typed = "--query LINE";
                caption = "Send, then " + caption;
            }
            text += typed + "\t" + named.name + "\t" + caption + "\t" + ArgumentText(row) + "\n";
        }
    }
    // The two options that take a place among the commands.
    return text + "--wait MS\t\t\tholds MS milliseconds before the next command\n"
                  "--every SECONDS\t\t\tthe commands after it repeat as one round every SECONDS "
                  "(0.1 or more), with --count N, --for DURATION, --csv, --out FILE (see --help)\n"
                  "--reconnect\t\t\ta lost link is opened again before each later round\n"
                  "--finally\t\t\tthe commands after it run once on every instrument at the end, "
                  "whatever ended the run\n";
}

StepVerdict JudgeStep(const CommandRow& row, const std::string& entry, const std::string& answer,
                      bool statusShown, bool linkLost)
{
    if (app.refused) {
        std::string refusal = entry.substr(0, entry.size() - std::string(EntrySeparator).size());
        return {ExitCommandFailed, refusal};
    }
    bool failureText =
        std::find(FailureTexts.begin(), FailureTexts.end(), answer) != FailureTexts.end();
    if (!ReadsAnswer(row))
        failureText = answer == WriteFailureText;
    if (failureText)
        return {ExitCommandFailed, NameInMessages(row) + ": " + answer};
    if (statusShown || linkLost)
        return {ExitCommandFailed, NameInMessages(row) + ": the link failed"};
    return {ExitDone, ""};
}

int LinkKindOf(ScriptLink link)
{
    switch (link) {
    case ScriptLink::Tcp:
        return EthernetKind;
    case ScriptLink::Rs232:
        return Rs232Kind;
    case ScriptLink::Usb:
        return UsbKind;
    case ScriptLink::None:
        break;
    }
    return NoLinkKind;
}

std::string AnswerLine(const std::string& answer)
{
    if (!answer.empty() && answer.back() == '\r')
        return answer.substr(0, answer.size() - 1);
    return answer;
}

int StatusAfter(int status, bool outputLost, bool stopAsked)
{
    if (status != ExitDone)
        return status;
    if (outputLost)
        return ExitOutputLost;
    return stopAsked ? ExitStopped : ExitDone;
}

int DiscoveryStatus(std::size_t replies)
{
    return replies > 0 ? ExitDone : ExitCommandFailed;
}
