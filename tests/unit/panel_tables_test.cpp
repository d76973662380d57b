// The rules every panel table keeps: the registry's rows keep their own facts, every panel has its
// output box and common buttons, identifiers are unique and reachable, every push button has
// exactly one command row, every entry box, list box and option group is read by a row, control
// styles, and command rows that name controls their panel has.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "panels/panel_table.h"
#include "res/resource.h"
#include "tests/unit/written_ids.h"

namespace
{

std::vector<Panel> AllPanels()
{
    std::vector<Panel> panels;
    for (const PanelEntry& entry : PanelRegistry)
        panels.push_back(entry.panel);
    return panels;
}

// The rows of a panel's table in place, so that a row's address is its address in the table.
template <typename Row> struct Rows {
    const Row* first;
    int count;
    const Row* begin() const { return first; }
    const Row* end() const { return first + count; }
};

Rows<ControlRow> ControlsOf(Panel panel)
{
    return {TableOf(panel).controls, TableOf(panel).controlCount};
}

Rows<CommandRow> CommandsOf(Panel panel)
{
    return {TableOf(panel).commands, TableOf(panel).commandCount};
}

std::set<int> IdsOfKind(Panel panel, std::set<ControlKind> kinds)
{
    std::set<int> ids;
    for (const ControlRow& c : ControlsOf(panel))
        if (kinds.count(c.kind) != 0)
            ids.insert(c.id);
    return ids;
}

const ControlRow* FindControl(Panel panel, int id)
{
    const PanelTable& table = TableOf(panel);
    for (int i = 0; i < table.controlCount; ++i)
        if (table.controls[i].id == id)
            return &table.controls[i];
    return nullptr;
}

// Option groups as the window system forms them: each starts at a WS_GROUP option button.
std::vector<std::vector<int>> OptionGroupsOf(Panel panel)
{
    std::vector<std::vector<int>> groups;
    for (const ControlRow& c : ControlsOf(panel)) {
        if (c.kind == ControlKind::FirstOption)
            groups.push_back({c.id});
        else if (c.kind == ControlKind::Option && !groups.empty())
            groups.back().push_back(c.id);
    }
    return groups;
}

// Each panel's emptied boxes are entry boxes of its own; Command is the one shown at start-up.
TEST(PanelTables, RegistryRowsKeepTheirOwnFacts)
{
    for (const PanelEntry& entry : PanelRegistry) {
        SCOPED_TRACE(entry.name);
        for (int box : entry.table.emptiedOnShow)
            EXPECT_TRUE(box == 0 || IdsOfKind(entry.panel, {ControlKind::EntryBox}).count(box));
    }
    EXPECT_EQ(PanelRegistry.front().panel, Panel::Command); // shown at start-up
}

// Every panel creates its output box, "Get Last Error" and "Clear Display" first, and the two
// buttons ask the error queue and empty the panel's log.
TEST(PanelTables, EveryPanelHasItsOutputBoxAndCommonButtons)
{
    for (Panel panel : AllPanels()) {
        SCOPED_TRACE(NameOf(panel));
        const PanelTable& table = TableOf(panel);
        ASSERT_GE(table.controlCount, 3);
        EXPECT_EQ(table.controls[0].kind, ControlKind::OutputBox);
        EXPECT_STREQ(table.controls[1].caption, "Get Last Error");
        EXPECT_STREQ(table.controls[2].caption, "Clear Display");
        const CommandRow* lastError = CommandFor(table.controls[1].id);
        const CommandRow* clear = CommandFor(table.controls[2].id);
        ASSERT_NE(lastError, nullptr);
        ASSERT_NE(clear, nullptr);
        EXPECT_EQ(lastError->kind, CommandKind::Query);
        EXPECT_STREQ(lastError->bytes, "SYST:ERR?\n");
        EXPECT_EQ(clear->kind, CommandKind::ClearDisplay);
        EXPECT_EQ(IdsOfKind(panel, {ControlKind::OutputBox}).size(), 1u); // the log has one box
    }
}

// Unique identifiers: ResourceIds.EveryIdentifierOfTheMainWindowIsItsOwn.
TEST(PanelTables, IdentifiersMatchTheirKind)
{
    for (Panel panel : AllPanels()) {
        for (const ControlRow& c : ControlsOf(panel)) {
            SCOPED_TRACE(c.caption);
            ASSERT_NE(c.caption, nullptr);
            if (c.kind == ControlKind::Label) {
                EXPECT_EQ(c.id, IDC_PANEL_LABEL);
                continue;
            }
            if (c.kind == ControlKind::GroupFrame) {
                EXPECT_EQ(c.id, IDC_STATIC);
                continue;
            }
            EXPECT_GT(c.id, 0);
            EXPECT_LT(c.id, 0x10000);
        }
    }
}

// Every push button has exactly one command row, in its own panel, and the dispatcher reaches it;
// no other identifier (labels, boxes, options, menu items) has a command.
TEST(PanelTables, EveryPushButtonHasExactlyOneReachableCommandRow)
{
    std::map<int, Panel> buttons;
    for (Panel panel : AllPanels()) {
        for (int id : IdsOfKind(panel, {ControlKind::PushButton}))
            buttons[id] = panel;
        std::map<int, int> rowsPerId;
        for (const CommandRow& row : CommandsOf(panel))
            ++rowsPerId[row.id];
        for (int id : IdsOfKind(panel, {ControlKind::PushButton}))
            EXPECT_EQ(rowsPerId[id], 1)
                << NameOf(panel) << " panel: push button " << ControlIdName(id)
                << " needs exactly one command row in its panel's file";
        for (const auto& [id, count] : rowsPerId)
            EXPECT_TRUE(buttons.count(id) && buttons[id] == panel)
                << NameOf(panel) << " panel: command row " << ControlIdName(id)
                << " has no push button";
    }
    for (int id = -2; id <= 0x10000; ++id) {
        const CommandRow* row = CommandFor(id);
        if (buttons.count(id) == 0) {
            EXPECT_EQ(row, nullptr) << "id " << id;
            continue;
        }
        ASSERT_NE(row, nullptr) << "the dispatcher reaches no command row for button "
                                << ControlIdName(id);
        EXPECT_EQ(row->id, id);
        EXPECT_EQ(PanelOf(*row), buttons[id]) << "id " << id;
    }
}

// Every entry box and list box is read by a command row of its panel, and every option group is
// asked by a Selection row: a control that no command reads would be typed into for nothing.
TEST(PanelTables, EveryEntryBoxListBoxAndOptionGroupIsRead)
{
    for (Panel panel : AllPanels()) {
        SCOPED_TRACE(NameOf(panel));
        std::set<int> read;
        std::vector<std::vector<int>> asked;
        for (const CommandRow& row : CommandsOf(panel)) {
            read.insert({row.entryId, row.secondEntryId});
            std::vector<int> options;
            for (const OptionChoice& option : row.options)
                if (option.id != 0)
                    options.push_back(option.id);
            if (!options.empty())
                asked.push_back(options);
        }
        for (int id : IdsOfKind(panel, {ControlKind::EntryBox, ControlKind::ListBox}))
            EXPECT_EQ(read.count(id), 1u) << "box " << ControlIdName(id);
        for (const std::vector<int>& group : OptionGroupsOf(panel))
            EXPECT_GE(std::count(asked.begin(), asked.end(), group), 1) << "group of " << group[0];
    }
}

TEST(PanelTables, OptionGroupsStartWithTheirFirstOption)
{
    for (Panel panel : AllPanels()) {
        SCOPED_TRACE(NameOf(panel));
        // No option button before the first one that starts a group.
        for (const ControlRow& c : ControlsOf(panel)) {
            if (c.kind == ControlKind::FirstOption)
                break;
            EXPECT_NE(c.kind, ControlKind::Option) << c.id;
        }
    }
}

bool Overlap(const ControlRow& a, const ControlRow& b)
{
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height &&
           b.y < a.y + a.height;
}

bool Holds(const ControlRow& frame, const ControlRow& c)
{
    return frame.x <= c.x && c.x + c.width <= frame.x + frame.width && frame.y <= c.y &&
           c.y + c.height <= frame.y + frame.height;
}

// No control of a panel lies on another that the operator works: a group frame holds controls
// wholly inside it, and no two buttons, boxes or lists share a pixel. A label's box may reach under
// the control that follows it, as the layout's labels are wider than their words.
TEST(PanelTables, NoTwoControlsOfAPanelOverlap)
{
    for (Panel panel : AllPanels()) {
        for (const ControlRow& a : ControlsOf(panel)) {
            EXPECT_TRUE(a.width > 0 && a.height > 0) << NameOf(panel) << " " << a.caption;
            for (const ControlRow& b : ControlsOf(panel)) {
                bool label = a.kind == ControlKind::Label || b.kind == ControlKind::Label;
                if (&a >= &b || label || !Overlap(a, b))
                    continue;
                bool framed = (a.kind == ControlKind::GroupFrame && Holds(a, b)) ||
                              (b.kind == ControlKind::GroupFrame && Holds(b, a));
                EXPECT_TRUE(framed)
                    << NameOf(panel) << " panel: \"" << a.caption << "\" (" << ControlIdName(a.id)
                    << ") and \"" << b.caption << "\" (" << ControlIdName(b.id) << ") overlap";
            }
        }
    }
}

TEST(PanelTables, StylesOfEachKind)
{
    struct Style {
        ControlKind kind;
        const char* className;
        std::uint32_t exStyle, style;
    };
    const Style styles[] = {
        {ControlKind::OutputBox, "EDIT", 0, 0x40A00804},
        {ControlKind::PushButton, "BUTTON", 0, 0x40010001},
        {ControlKind::Label, "STATIC", 0, 0x50000000},
        {ControlKind::GroupFrame, "BUTTON", 0, 0x40000007},
        {ControlKind::EntryBox, "EDIT", 0, 0x40800000},
        {ControlKind::FirstOption, "BUTTON", 0x100, 0x40020009},
        {ControlKind::Option, "BUTTON", 0x100, 0x40000009},
        {ControlKind::ListBox, "LISTBOX", 0, 0x40A00041},
    };
    for (const Style& s : styles) {
        const ControlStyle& got = StyleOf(s.kind);
        EXPECT_STREQ(got.className, s.className);
        EXPECT_EQ(got.exStyle, s.exStyle);
        EXPECT_EQ(got.style, s.style);
    }
}

bool EndsWith(const char* text, const char* end)
{
    std::size_t n = std::strlen(text), m = std::strlen(end);
    return n >= m && std::strcmp(text + n - m, end) == 0;
}

bool IsKind(Panel panel, int id, ControlKind kind)
{
    const ControlRow* c = FindControl(panel, id);
    return c != nullptr && c->kind == kind;
}

// Each command row names only controls of its own panel, of the right kind, with the bytes its
// kind needs.
TEST(PanelTables, CommandRowsAreWellFormed)
{
    for (Panel panel : AllPanels()) {
        for (const CommandRow& row : CommandsOf(panel)) {
            SCOPED_TRACE("row " + std::to_string(row.id));
            EXPECT_EQ(PanelOf(row), panel);
            EXPECT_TRUE(IsKind(panel, row.id, ControlKind::PushButton));
            switch (row.kind) {
            case CommandKind::Query:
            case CommandKind::QueryLineFeed:
            case CommandKind::Fixed:
                ASSERT_NE(row.bytes, nullptr);
                EXPECT_TRUE(EndsWith(row.bytes, "\n"));
                EXPECT_EQ(std::strchr(row.bytes, '\n'), row.bytes + std::strlen(row.bytes) - 1);
                break;
            case CommandKind::Value:
            case CommandKind::QuotedValue:
                ASSERT_NE(row.bytes, nullptr);
                EXPECT_TRUE(EndsWith(row.bytes, row.kind == CommandKind::Value ? " " : " \""));
                EXPECT_NE(row.charSet, nullptr);
                EXPECT_TRUE(IsKind(panel, row.entryId, ControlKind::EntryBox));
                break;
            case CommandKind::HostName:
            case CommandKind::Password:
            case CommandKind::NewPassword:
                ASSERT_NE(row.bytes, nullptr);
                EXPECT_TRUE(EndsWith(row.bytes, " \""));
                EXPECT_TRUE(IsKind(panel, row.entryId, ControlKind::EntryBox));
                if (row.kind == CommandKind::NewPassword) {
                    EXPECT_TRUE(IsKind(panel, row.secondEntryId, ControlKind::EntryBox));
                    EXPECT_NE(row.secondEntryId, row.entryId);
                }
                break;
            case CommandKind::Selection: {
                ASSERT_NE(row.bytes, nullptr);
                EXPECT_TRUE(EndsWith(row.bytes, " "));
                ASSERT_NE(row.reason, nullptr);
                EXPECT_EQ(std::string(row.reason).rfind("need to select ", 0), 0u) << row.reason;
                std::vector<int> asked;
                for (const OptionChoice& option : row.options) {
                    if (option.id == 0)
                        break;
                    asked.push_back(option.id);
                    EXPECT_NE(option.argument, nullptr);
                }
                // The options asked are one whole group, in creation order.
                std::vector<std::vector<int>> groups = OptionGroupsOf(panel);
                EXPECT_NE(std::find(groups.begin(), groups.end(), asked), groups.end());
                break;
            }
            case CommandKind::BaudRate:
                ASSERT_NE(row.bytes, nullptr);
                EXPECT_TRUE(EndsWith(row.bytes, " "));
                EXPECT_TRUE(IsKind(panel, row.entryId, ControlKind::ListBox));
                EXPECT_NE(row.reason, nullptr);
                break;
            case CommandKind::FreeLine:
                EXPECT_TRUE(IsKind(panel, row.entryId, ControlKind::EntryBox));
                break;
            case CommandKind::Read:
            case CommandKind::ClearDisplay:
                break;
            }
        }
    }
}

} // namespace
