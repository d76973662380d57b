// The shape of the five panel tables: control counts, identifiers, common controls, option
// groups, entry boxes, control styles, and command rows that name controls their panel has.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "console/panel_table.h"

namespace
{

const Panel AllPanels[] = {Panel::Command, Panel::Status, Panel::Trigger, Panel::Communication,
                           Panel::Manufacturer};

std::vector<ControlRow> ControlsOf(Panel panel)
{
    const PanelTable& table = TableOf(panel);
    return std::vector<ControlRow>(table.controls, table.controls + table.controlCount);
}

std::vector<CommandRow> CommandsOf(Panel panel)
{
    const PanelTable& table = TableOf(panel);
    return std::vector<CommandRow>(table.commands, table.commands + table.commandCount);
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

TEST(PanelTables, ControlCounts)
{
    const std::map<Panel, int> counts = {{Panel::Command, 43},
                                         {Panel::Status, 27},
                                         {Panel::Trigger, 81},
                                         {Panel::Communication, 36},
                                         {Panel::Manufacturer, 14}};
    for (Panel panel : AllPanels) {
        EXPECT_EQ(TableOf(panel).panel, panel);
        EXPECT_EQ(TableOf(panel).controlCount, counts.at(panel));
        EXPECT_LE(TableOf(panel).controlCount, MaxPanelControls);
    }
}

TEST(PanelTables, OutputBoxCommonButtonsAndViewMenu)
{
    struct Common {
        Panel panel;
        int viewMenuId;
        ControlRow outputBox, lastError, clearDisplay;
    };
    const Common commons[] = {
        {Panel::Command,
         40006,
         {130, ControlKind::OutputBox, "", 470, 10, 360, 500},
         {265, ControlKind::PushButton, "Get Last Error", 480, 520, 120, 20},
         {270, ControlKind::PushButton, "Clear Display", 680, 520, 120, 20}},
        {Panel::Status,
         40008,
         {281, ControlKind::OutputBox, "", 470, 10, 360, 500},
         {266, ControlKind::PushButton, "Get Last Error", 480, 520, 120, 20},
         {271, ControlKind::PushButton, "Clear Display", 680, 520, 120, 20}},
        {Panel::Trigger,
         40007,
         {258, ControlKind::OutputBox, "", 400, 10, 430, 230},
         {267, ControlKind::PushButton, "Get Last Error", 410, 250, 120, 20},
         {272, ControlKind::PushButton, "Clear Display", 680, 250, 120, 20}},
        {Panel::Communication,
         40014,
         {259, ControlKind::OutputBox, "", 370, 10, 460, 500},
         {268, ControlKind::PushButton, "Get Last Error", 380, 520, 120, 20},
         {273, ControlKind::PushButton, "Clear Display", 680, 520, 120, 20}},
        {Panel::Manufacturer,
         40015,
         {260, ControlKind::OutputBox, "", 370, 10, 460, 500},
         {269, ControlKind::PushButton, "Get Last Error", 380, 520, 120, 20},
         {274, ControlKind::PushButton, "Clear Display", 680, 520, 120, 20}},
    };
    for (const Common& common : commons) {
        SCOPED_TRACE(static_cast<int>(common.panel));
        const PanelTable& table = TableOf(common.panel);
        EXPECT_EQ(table.viewMenuId, common.viewMenuId);
        EXPECT_EQ(table.outputBoxId, common.outputBox.id);
        // Created first, in this order.
        const ControlRow* expected[] = {&common.outputBox, &common.lastError, &common.clearDisplay};
        for (int i = 0; i < 3; ++i) {
            const ControlRow& got = table.controls[i];
            const ControlRow& want = *expected[i];
            EXPECT_EQ(got.id, want.id);
            EXPECT_EQ(got.kind, want.kind);
            EXPECT_STREQ(got.caption, want.caption);
            EXPECT_EQ(got.x, want.x);
            EXPECT_EQ(got.y, want.y);
            EXPECT_EQ(got.width, want.width);
            EXPECT_EQ(got.height, want.height);
        }
    }
}

TEST(PanelTables, IdentifiersUniqueAcrossPanelsAndMatchingTheirKind)
{
    std::set<int> seen;
    for (Panel panel : AllPanels) {
        for (const ControlRow& c : ControlsOf(panel)) {
            SCOPED_TRACE(c.caption);
            ASSERT_NE(c.caption, nullptr);
            if (c.kind == ControlKind::Label) {
                EXPECT_EQ(c.id, 0);
                continue;
            }
            if (c.kind == ControlKind::GroupFrame) {
                EXPECT_EQ(c.id, -1);
                continue;
            }
            EXPECT_GT(c.id, 0);
            EXPECT_LT(c.id, 0x10000);
            EXPECT_TRUE(seen.insert(c.id).second) << "id " << c.id << " used twice";
        }
    }
}

// The identifiers whose click starts a command, panel by panel.
const std::map<Panel, std::set<int>>& HandledIds()
{
    static const std::map<Panel, std::set<int>> ids = {
        {Panel::Command, {116, 117, 118, 121, 124, 125, 126, 127, 128, 129, 131,
                          132, 133, 134, 136, 137, 145, 146, 321, 265, 270}},
        {Panel::Status,
         {138, 139, 140, 141, 142, 143, 156, 157, 158, 159, 160, 161, 162, 163, 266, 271}},
        {Panel::Trigger, {165, 166, 167, 168, 169, 170, 171, 172, 180, 181, 185, 186, 188,
                          189, 190, 191, 192, 193, 196, 197, 201, 202, 206, 207, 211, 212,
                          214, 215, 217, 218, 220, 221, 248, 249, 322, 267, 272}},
        {Panel::Communication,
         {222, 228, 229, 231, 232, 234, 235, 237, 238, 242, 243, 245, 246, 282, 283, 268, 273}},
        {Panel::Manufacturer, {250, 251, 252, 253, 254, 257, 269, 274}},
    };
    return ids;
}

TEST(PanelTables, ExactlyTheHandledIdentifiersHaveACommand)
{
    std::map<int, Panel> owner;
    for (const auto& [panel, ids] : HandledIds())
        for (int id : ids)
            owner[id] = panel;
    for (int id = -2; id <= 400; ++id) {
        const CommandRow* row = CommandFor(id);
        if (owner.count(id) == 0) {
            EXPECT_EQ(row, nullptr) << "id " << id;
            continue;
        }
        ASSERT_NE(row, nullptr) << "id " << id;
        EXPECT_EQ(row->id, id);
        EXPECT_EQ(row->panel, owner[id]) << "id " << id;
    }
    for (int id : {40001, 40006, 40007, 40008, 40012, 40014, 40015, 40017, 65535})
        EXPECT_EQ(CommandFor(id), nullptr);
}

TEST(PanelTables, EveryPushButtonActsAndEveryRowIsReachable)
{
    for (Panel panel : AllPanels) {
        SCOPED_TRACE(static_cast<int>(panel));
        EXPECT_EQ(IdsOfKind(panel, {ControlKind::PushButton}), HandledIds().at(panel));
        const PanelTable& table = TableOf(panel);
        for (int i = 0; i < table.commandCount; ++i)
            EXPECT_EQ(CommandFor(table.commands[i].id), &table.commands[i])
                << "row " << table.commands[i].id << " is shadowed";
    }
}

TEST(PanelTables, EntryBoxesAndListBox)
{
    const std::map<Panel, std::set<int>> boxes = {
        {Panel::Command, {113, 114, 115, 135}},
        {Panel::Status, {155, 275, 164, 279}},
        {Panel::Trigger, {184, 187, 213, 216, 219, 173, 174, 175, 176, 247}},
        {Panel::Communication, {227, 230, 233, 236, 284}},
        {Panel::Manufacturer, {256, 255}},
    };
    for (Panel panel : AllPanels) {
        EXPECT_EQ(IdsOfKind(panel, {ControlKind::EntryBox}), boxes.at(panel));
        EXPECT_EQ(IdsOfKind(panel, {ControlKind::OutputBox}),
                  std::set<int>{TableOf(panel).outputBoxId});
        std::set<int> lists = panel == Panel::Communication ? std::set<int>{244} : std::set<int>{};
        EXPECT_EQ(IdsOfKind(panel, {ControlKind::ListBox}), lists);
    }
    // The view switch empties these two.
    EXPECT_EQ(boxes.at(Panel::Manufacturer),
              (std::set<int>{CurrentPasswordBoxId, NewPasswordBoxId}));
}

TEST(PanelTables, OptionGroups)
{
    using Groups = std::vector<std::vector<int>>;
    const std::map<Panel, Groups> groups = {
        {Panel::Command, {{119, 120}, {122, 123}, {150, 151, 152, 153}}},
        {Panel::Status, {}},
        {Panel::Trigger,
         {{182, 183}, {194, 195}, {198, 199, 200}, {203, 204, 205}, {208, 209, 210}}},
        {Panel::Communication, {{239, 240, 241}}},
        {Panel::Manufacturer, {}},
    };
    for (Panel panel : AllPanels) {
        SCOPED_TRACE(static_cast<int>(panel));
        EXPECT_EQ(OptionGroupsOf(panel), groups.at(panel));
        // No option button before the first one that starts a group.
        for (const ControlRow& c : ControlsOf(panel)) {
            if (c.kind == ControlKind::FirstOption)
                break;
            EXPECT_NE(c.kind, ControlKind::Option) << c.id;
        }
    }
}

TEST(PanelTables, ControlsStayInTheClientAreaAndOffTheOutputBox)
{
    // The main window is 870 x 655 outside; its client area is somewhat smaller.
    for (Panel panel : AllPanels) {
        const PanelTable& table = TableOf(panel);
        const ControlRow& box = table.controls[0];
        for (int i = 0; i < table.controlCount; ++i) {
            const ControlRow& c = table.controls[i];
            SCOPED_TRACE(std::to_string(c.id) + " " + c.caption);
            EXPECT_GE(c.x, 0);
            EXPECT_GE(c.y, 0);
            EXPECT_GT(c.width, 0);
            EXPECT_GT(c.height, 0);
            EXPECT_LE(c.x + c.width, 850);
            EXPECT_LE(c.y + c.height, 580);
            bool apart = c.x + c.width <= box.x || box.x + box.width <= c.x ||
                         c.y + c.height <= box.y || box.y + box.height <= c.y;
            EXPECT_TRUE(i == 0 || apart) << "overlaps the output box";
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
        {ControlKind::ListBox, "LISTBOX", 0, 0x40A00043},
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
    for (Panel panel : AllPanels) {
        for (const CommandRow& row : CommandsOf(panel)) {
            SCOPED_TRACE("row " + std::to_string(row.id));
            EXPECT_EQ(row.panel, panel);
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
                EXPECT_TRUE(EndsWith(row.reason, ". \r\n Command not sent"));
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
