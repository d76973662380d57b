// Every panel as data: its controls in creation order, and the command each button sends. One
// builder creates any panel from its control rows; one dispatcher runs any button from its
// command row. Adding a button is adding its control row and its command row, with a new
// identifier (res/control_ids.h) that the dispatcher reaches; a command row whose identifier it
// cannot reach does not compile.
#pragma once

#include <array>
#include <cstdint>

#include "core/app_state.h"
#include "res/resource.h"

enum class ControlKind : std::uint8_t {
    OutputBox,   // read-only multi-line EDIT showing the panel's OutputLog
    PushButton,  // every command button
    Label,       // STATIC, IDC_PANEL_LABEL, created visible
    GroupFrame,  // BUTTON group box, IDC_STATIC
    EntryBox,    // single-line EDIT without horizontal scrolling
    FirstOption, // automatic option button that starts a group
    Option,      // automatic option button inside a group
    ListBox,     // the Communication panel's baud list
};

struct ControlRow {
    int id;
    ControlKind kind;
    const char* caption;
    int x, y, width, height;
};

// Window class, extended style and style of each control kind.
struct ControlStyle {
    const char* className;
    std::uint32_t exStyle;
    std::uint32_t style;
};
const ControlStyle& StyleOf(ControlKind kind);

enum class CommandKind : std::uint8_t {
    Query,         // fixed bytes through QueryCommand
    QueryLineFeed, // the same, with a line feed after the answer
    Fixed,         // fixed bytes through SendCommand
    Value,         // prefix + entry text checked against charSet
    QuotedValue,   // prefix ending in a quote + checked entry text + quote
    Selection,     // prefix + argument of the first checked option button
    HostName,      // prefix ending in a quote + unchecked entry text + quote
    BaudRate,      // prefix + BaudRates entry at the list box's selection
    Password,      // prefix ending in a quote + unchecked entry text + quote
    NewPassword,   // prefix ending in a quote + entry + quote , quote + second entry + quote
    FreeLine,      // the operator's own line with escapes
    Read,          // read one answer, send nothing
    ClearDisplay,  // empty the panel's log
};

struct OptionChoice {
    int id;
    const char* argument;
};

// A command row belongs to the panel whose table holds it (PanelOf).
struct CommandRow {
    int id;
    CommandKind kind;
    const char* bytes;   // the whole line for Query/Fixed, else the prefix with its separator
    int entryId;         // entry box (or list box) that supplies the argument; 0 when none
    int secondEntryId;   // the new password box of NewPassword; 0 otherwise
    const char* charSet; // extra characters for Value and QuotedValue
    std::array<OptionChoice, 4> options; // Selection: asked in this order; id 0 ends the list
    const char* reason; // Selection: none checked; BaudRate: no usable list position
};

// The command row of a control id, or nullptr when the control starts no command. Covers the
// identifiers from the lowest button's ("Set Voltage") to the highest one's (the Trigger panel's
// "OPER?") through a table indexed by the identifier minus the lowest.
constexpr int FirstDispatchId = IDC_SET_VOLTAGE;
constexpr int LastDispatchId = IDC_TRIGGER_GET_OPER;
const CommandRow* CommandFor(int controlId);

// The identifier of a command row. One outside FirstDispatchId..LastDispatchId could never be
// dispatched: in a constant table the throw makes it a compile-time error that names this function.
constexpr int DispatchableId(int id)
{
    return id >= FirstDispatchId && id <= LastDispatchId
               ? id
               : throw "a command row's identifier must lie in FirstDispatchId..LastDispatchId";
}

// Row makers, so that a panel's command table reads one line per button.
// Query, QueryLineFeed, Fixed, Read and ClearDisplay rows: bytes is the whole line or nullptr.
constexpr CommandRow LineRow(int id, CommandKind kind, const char* bytes = nullptr)
{
    return {DispatchableId(id), kind, bytes, 0, 0, nullptr, {}, nullptr};
}
// Rows that read entry boxes: Value, QuotedValue (with a charSet), HostName, Password, NewPassword
// (with a secondEntryId) and FreeLine.
constexpr CommandRow EntryRow(int id, CommandKind kind, const char* prefix, int entryId,
                              const char* charSet = nullptr, int secondEntryId = 0)
{
    return {DispatchableId(id), kind, prefix, entryId, secondEntryId, charSet, {}, nullptr};
}
constexpr CommandRow SelectionRow(int id, const char* prefix, std::array<OptionChoice, 4> options,
                                  const char* reason)
{
    return {DispatchableId(id), CommandKind::Selection, prefix, 0, 0, nullptr, options, reason};
}
constexpr CommandRow BaudRateRow(int id, const char* prefix, int listId, const char* reason)
{
    return {DispatchableId(id), CommandKind::BaudRate, prefix, listId, 0, nullptr, {}, reason};
}

// Everything of one panel that the builder, the view switch and the dispatcher need. Which panel
// it is, the registry says.
struct PanelTable {
    const ControlRow* controls;
    int controlCount;
    const CommandRow* commands; // every button that acts, the two common ones included
    int commandCount;
    std::array<int, 2> emptiedOnShow; // entry boxes a switch to it empties after showing; 0 ends
};

// A View menu item: its caption and identifier.
struct ViewItem {
    const char* caption;
    int menuId;
};

// One row of the registry (panels/panel_registry.cpp): the panel, its name as the README spells it
// ("Command", ...), its table and the View menu item that shows it.
struct PanelEntry {
    Panel panel;
    const char* name;
    const PanelTable& table;
    ViewItem view;
};

// Each panel's own file defines its table.
#define TESSALY_PANEL_TABLE(name) extern const PanelTable name##PanelTable;
TESSALY_PANELS(TESSALY_PANEL_TABLE)
#undef TESSALY_PANEL_TABLE

// Every panel, in the order start-up builds them (the order of core/panel_list.h).
extern const std::array<PanelEntry, PanelCount> PanelRegistry;

const PanelTable& TableOf(Panel panel);
// The identifier of the panel's output box, its first control.
inline int OutputBoxId(Panel panel)
{
    return TableOf(panel).controls[0].id;
}
const char* NameOf(Panel panel);
// The panel whose table holds the row.
Panel PanelOf(const CommandRow& row);
// Every panel in the order a view switch shows or hides them.
std::array<Panel, PanelCount> SwitchOrder();
// The View menu's items, one per panel, in the order the menu shows them.
std::array<ViewItem, PanelCount> ViewMenuItems();
// The panel whose View item has this identifier; false when none has.
bool PanelOfViewItem(int menuId, Panel& panel);

// Runs one button's command (the command message's buffers have been zeroed by the caller);
// app.refused says afterwards whether it was refused.
void RunCommand(const CommandRow& row);
