// The one dispatcher: runs any panel button from its command row by building the line in the
// CommandBuffer and ending in one operation of the command transaction. A line that would not fit
// in the CommandBuffer is refused, never cut and sent.
#include <string>

#include "core/platform.h"
#include "panels/panel_table.h"
#include "panels/transaction.h"

namespace
{

// Appends the entry box's text as typed, without any check.
bool AppendEntryText(int entryId)
{
    ClearTextBuffers();
    ReadEntryBox(entryId);
    return AppendCommand(app.EntryText.data());
}

// Sends the line when all of it fit, else refuses it.
void SendIfComplete(Panel panel, bool complete)
{
    if (complete)
        SendCommand(panel);
    else
        RejectCommand(panel, TooLongReason);
}

void RunSelection(Panel panel, const CommandRow& row)
{
    StoreCommand(row.bytes);
    for (const OptionChoice& option : row.options) {
        if (option.id == 0)
            break;
        if (IsOptionChecked(option.id)) {
            SendIfComplete(panel, AppendCommand(option.argument) && AppendCommand("\n"));
            return;
        }
    }
    RejectCommand(panel, row.reason);
}

// The prefix ends in the opening quote.
void RunQuotedText(Panel panel, const CommandRow& row)
{
    StoreCommand(row.bytes);
    SendIfComplete(panel, AppendEntryText(row.entryId) && AppendCommand("\"\n"));
}

// The prefix ends in the opening quote of the current password.
void RunNewPassword(Panel panel, const CommandRow& row)
{
    StoreCommand(row.bytes);
    bool complete = AppendEntryText(row.entryId) && AppendCommand("\",\"") &&
                    AppendEntryText(row.secondEntryId) && AppendCommand("\"\n");
    SendIfComplete(panel, complete);
}

// The list shows BaudLabels in table order, so its position indexes BaudRates.
void RunBaudRate(Panel panel, const CommandRow& row)
{
    StoreCommand(row.bytes);
    int position = ListSelection(row.entryId);
    if (position < 0 || position >= BaudChoiceCount) {
        RejectCommand(panel, row.reason);
        return;
    }
    app.NumberText = std::to_string(BaudRates[static_cast<std::size_t>(position)]);
    SendIfComplete(panel, AppendCommand(app.NumberText.c_str()) && AppendCommand("\n"));
}

} // namespace

void RunCommand(const CommandRow& row)
{
    const Panel panel = PanelOf(row);
    app.refused = false;
    switch (row.kind) {
    case CommandKind::Query:
        StoreCommand(row.bytes);
        QueryCommand(panel);
        break;
    case CommandKind::QueryLineFeed:
        StoreCommand(row.bytes);
        QueryCommand(panel, true);
        break;
    case CommandKind::Fixed:
        StoreCommand(row.bytes);
        SendCommand(panel);
        break;
    case CommandKind::Value:
        SendValueCommand(panel, row.bytes, row.entryId, row.charSet);
        break;
    case CommandKind::QuotedValue:
        SendValueCommand(panel, row.bytes, row.entryId, row.charSet, true);
        break;
    case CommandKind::Selection:
        RunSelection(panel, row);
        break;
    case CommandKind::HostName:
    case CommandKind::Password:
        RunQuotedText(panel, row);
        break;
    case CommandKind::NewPassword:
        RunNewPassword(panel, row);
        break;
    case CommandKind::BaudRate:
        RunBaudRate(panel, row);
        break;
    case CommandKind::FreeLine:
        SendFreeLine(panel, row.entryId);
        break;
    case CommandKind::Read:
        ReadAnswer(panel);
        break;
    case CommandKind::ClearDisplay:
        ClearDisplay(panel);
        break;
    }
}
