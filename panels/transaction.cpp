// The command transaction: fills the CommandBuffer within its 100 bytes (fixed bytes, a checked
// value after its keyword, the free line with its escapes), then echoes, sends, reads and logs
// the line, or logs why it was refused. Every log entry is put in front of the panel's older
// entries, so the newest is always at the top of its output box.
#include "panels/transaction.h"

#include <algorithm>
#include <cstring>

#include "core/platform.h"
#include "link/link_rules.h"

bool CheckNumericText(const char* text, const char* set)
{
    for (const char* p = text; *p != 0; ++p) {
        bool digit = *p >= '0' && *p <= '9';
        if (!digit && std::strchr(set, *p) == nullptr)
            return false;
    }
    return true;
}

std::string AnswerText()
{
    const char* begin = app.ResponseBuffer.data();
    if (begin[0] == 0)
        return NoResponseText;
    const char* end = begin + ResponseBufferSize;
    const char* stop = std::find_if(begin, end, [](char c) { return c == '\n' || c == 0; });
    return std::string(begin, stop);
}

bool AppendCommand(const char* text)
{
    for (const char* p = text; *p != 0; ++p) {
        if (app.commandLength >= CommandBufferSize)
            return false;
        app.CommandBuffer[app.commandLength++] = *p;
    }
    return true;
}

bool StoreCommand(const char* text)
{
    app.CommandBuffer.fill(0);
    app.commandLength = 0;
    return AppendCommand(text);
}

// The echo: every stored byte but the last (the line feed of a complete line).
static std::string EchoedBytes()
{
    int count = std::clamp(app.commandLength - 1, 0, CommandBufferSize);
    return std::string(app.CommandBuffer.data(), static_cast<std::size_t>(count));
}

// The transaction never asks whether a link is open: a missing link shows as the failure text
// of the operation that the link rules pick from linkIsTcp.
static void LinkSend()
{
    if (!app.linkLeftOut)
        ActOnLink(LinkAction::Send);
}

static void LinkReceive()
{
    if (!app.linkLeftOut)
        ActOnLink(LinkAction::Read);
}

// Puts entry in front of the panel's prior text and shows the new log. The new log is written
// into the log's own storage, which already holds as much, rather than built as a new text of the
// whole log's size and moved in: that made and dropped an allocation as large as the log on every
// entry, a cost that grew with the log while everything else the program does per entry stays the
// same.
static void PublishEntry(Panel panel, const std::string& entry)
{
    std::string& log = LogOf(panel);
    log.assign(entry);
    log += app.PriorLog;
    ShowOutputLog(panel, entry.size());
}

void SendCommand(Panel panel)
{
    app.PriorLog = LogOf(panel);
    PublishEntry(panel, SendingPrefix + EchoedBytes() + EntrySeparator);
    LinkSend();
}

void QueryCommand(Panel panel, bool lineFeedAfterAnswer)
{
    app.PriorLog = LogOf(panel);
    std::string entry = SendingPrefix + EchoedBytes() + EntrySeparator;
    LinkSend();
    LinkReceive();
    entry += AnswerText();
    if (lineFeedAfterAnswer && app.ResponseBuffer[0] != 0)
        entry += '\n';
    entry += EntrySeparator;
    PublishEntry(panel, entry);
}

void RejectCommand(Panel panel, const char* reason)
{
    app.refused = true;
    app.PriorLog = LogOf(panel);
    PublishEntry(panel, RefusedPrefix + EchoedBytes() + RefusalText(reason) + EntrySeparator);
}

void SendValueCommand(Panel panel, const char* prefix, int entryId, const char* set, bool quoted)
{
    StoreCommand(prefix);
    ClearTextBuffers();
    ReadEntryBox(entryId);
    const char* text = app.EntryText.data();
    bool fits = AppendCommand(text) && (!quoted || AppendCommand("\""));
    if (!fits || app.commandLength >= CommandBufferSize) {
        RejectCommand(panel, TooLongReason);
        return;
    }
    if (!CheckNumericText(text, set)) {
        RejectCommand(panel, NonDigitReason);
        return;
    }
    AppendCommand("\n");
    SendCommand(panel);
}

bool ExpandEscapes(const char* text, std::string& bytes)
{
    bool ended = false;
    bytes.clear();
    for (const char* p = text; *p != 0; ++p) {
        if (p[0] == '\\' && (p[1] == 'n' || p[1] == 'r')) {
            bytes += p[1] == 'n' ? '\n' : '\r';
            ended = true;
            ++p;
        } else {
            bytes += *p;
        }
    }
    return ended;
}

void SendFreeLine(Panel panel, int entryId)
{
    ClearTextBuffers();
    ReadEntryBox(entryId);
    std::string line;
    if (!ExpandEscapes(app.EntryText.data(), line))
        line += '\n';
    if (!StoreCommand(line.c_str())) {
        RejectCommand(panel, TooLongReason);
        return;
    }
    app.PriorLog = LogOf(panel);
    std::string entry = SendingPrefix + EchoedBytes() + "\r\n";
    LinkSend();
    PublishEntry(panel, entry + EntrySeparator);
}

void ReadAnswer(Panel panel)
{
    app.PriorLog = LogOf(panel);
    LinkReceive();
    PublishEntry(panel, AnswerText() + EntrySeparator);
}

void ClearDisplay(Panel panel)
{
    LogOf(panel).clear();
    ShowOutputLog(panel, 0);
}
