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
#include "res/resource.h"

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
         IDM_COMMAND_TAB,
         {IDC_COMMAND_OUTPUT_BOX, ControlKind::OutputBox, "", 470, 10, 360, 500},
         {IDC_COMMAND_GET_LAST_ERROR, ControlKind::PushButton, "Get Last Error", 480, 520, 120, 20},
         {IDC_COMMAND_CLEAR_DISPLAY, ControlKind::PushButton, "Clear Display", 680, 520, 120, 20}},
        {Panel::Status,
         IDM_STATUS_TAB,
         {IDC_STATUS_OUTPUT_BOX, ControlKind::OutputBox, "", 470, 10, 360, 500},
         {IDC_STATUS_GET_LAST_ERROR, ControlKind::PushButton, "Get Last Error", 480, 520, 120, 20},
         {IDC_STATUS_CLEAR_DISPLAY, ControlKind::PushButton, "Clear Display", 680, 520, 120, 20}},
        {Panel::Trigger,
         IDM_TRIGGER_TAB,
         {IDC_TRIGGER_OUTPUT_BOX, ControlKind::OutputBox, "", 400, 10, 430, 230},
         {IDC_TRIGGER_GET_LAST_ERROR, ControlKind::PushButton, "Get Last Error", 410, 250, 120, 20},
         {IDC_TRIGGER_CLEAR_DISPLAY, ControlKind::PushButton, "Clear Display", 680, 250, 120, 20}},
        {Panel::Communication,
         IDM_COMMUNICATION_TAB,
         {IDC_COMMUNICATION_OUTPUT_BOX, ControlKind::OutputBox, "", 370, 10, 460, 500},
         {IDC_COMMUNICATION_GET_LAST_ERROR, ControlKind::PushButton, "Get Last Error", 380, 520,
          120, 20},
         {IDC_COMMUNICATION_CLEAR_DISPLAY, ControlKind::PushButton, "Clear Display", 680, 520, 120,
          20}},
        {Panel::Manufacturer,
         IDM_MANUFACTURER_TAB,
         {IDC_MANUFACTURER_OUTPUT_BOX, ControlKind::OutputBox, "", 370, 10, 460, 500},
         {IDC_MANUFACTURER_GET_LAST_ERROR, ControlKind::PushButton, "Get Last Error", 380, 520, 120,
          20},
         {IDC_MANUFACTURER_CLEAR_DISPLAY, ControlKind::PushButton, "Clear Display", 680, 520, 120,
          20}},
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
                EXPECT_EQ(c.id, IDC_PANEL_LABEL);
                continue;
            }
            if (c.kind == ControlKind::GroupFrame) {
                EXPECT_EQ(c.id, IDC_STATIC);
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
        {Panel::Command,
         {IDC_SET_VOLTAGE,
          IDC_SET_FREQUENCY,
          IDC_SET_CURRENT_LIMIT,
          IDC_SET_RANGE,
          IDC_SET_OUTPUT,
          IDC_GET_VOLTAGE,
          IDC_GET_FREQUENCY,
          IDC_GET_CURRENT_LIMIT,
          IDC_GET_RANGE,
          IDC_GET_OUTPUT,
          IDC_GET_CURRENT,
          IDC_GET_POWER,
          IDC_GET_POWER_FACTOR,
          IDC_SEND_FREE_LINE,
          IDC_CLS,
          IDC_RST,
          IDC_SAV,
          IDC_RCL,
          IDC_READ_ANSWER,
          IDC_COMMAND_GET_LAST_ERROR,
          IDC_COMMAND_CLEAR_DISPLAY}},
        {Panel::Status,
         {IDC_SET_ESE, IDC_GET_ESE, IDC_GET_ESR, IDC_SET_SRE, IDC_GET_SRE, IDC_GET_STB,
          IDC_GET_OPER, IDC_GET_OPER_COND, IDC_GET_OPER_ENAB, IDC_SET_OPER_ENAB, IDC_GET_QUES,
          IDC_GET_QUES_COND, IDC_GET_QUES_ENAB, IDC_SET_QUES_ENAB, IDC_STATUS_GET_LAST_ERROR,
          IDC_STATUS_CLEAR_DISPLAY}},
        {Panel::Trigger,
         {IDC_GET_LIST_DWELL,
          IDC_SET_LIST_DWELL,
          IDC_GET_LIST_VOLT,
          IDC_SET_LIST_VOLT,
          IDC_GET_LIST_FREQ,
          IDC_SET_LIST_FREQ,
          IDC_GET_LIST_CURR,
          IDC_SET_LIST_CURR,
          IDC_GET_TRIGGER_SOURCE,
          IDC_SET_TRIGGER_SOURCE,
          IDC_SET_TRIGGER_DELAY,
          IDC_GET_TRIGGER_DELAY,
          IDC_SET_TRIGGER_COUNT,
          IDC_GET_TRIGGER_COUNT,
          IDC_BUS_TRIGGER,
          IDC_IMMEDIATE_TRIGGER,
          IDC_ABORT,
          IDC_INITIATE_SEQUENCE,
          IDC_GET_CONTINUOUS,
          IDC_SET_CONTINUOUS,
          IDC_GET_VOLT_MODE,
          IDC_SET_VOLT_MODE,
          IDC_GET_FREQ_MODE,
          IDC_SET_FREQ_MODE,
          IDC_GET_CURR_MODE,
          IDC_SET_CURR_MODE,
          IDC_GET_VOLT_TRIG,
          IDC_SET_VOLT_TRIG,
          IDC_GET_FREQ_TRIG,
          IDC_SET_FREQ_TRIG,
          IDC_GET_CURR_TRIG,
          IDC_SET_CURR_TRIG,
          IDC_GET_LIST_COUNT,
          IDC_SET_LIST_COUNT,
          IDC_TRIGGER_GET_OPER,
          IDC_TRIGGER_GET_LAST_ERROR,
          IDC_TRIGGER_CLEAR_DISPLAY}},
        {Panel::Communication,
         {IDC_GET_ACTIVE_IP, IDC_GET_LAN_IP, IDC_SET_LAN_IP, IDC_GET_SUBNET, IDC_SET_SUBNET,
          IDC_GET_GATEWAY, IDC_SET_GATEWAY, IDC_GET_HOSTNAME, IDC_SET_HOSTNAME, IDC_GET_LAN_CONFIG,
          IDC_SET_LAN_CONFIG, IDC_SET_BAUD_RATE, IDC_GET_BAUD_RATE, IDC_SET_TCP_SOCKET,
          IDC_GET_TCP_SOCKET, IDC_COMMUNICATION_GET_LAST_ERROR, IDC_COMMUNICATION_CLEAR_DISPLAY}},
        {Panel::Manufacturer,
         {IDC_GET_IDN, IDC_GET_VERSION, IDC_PASSWORD_CDIS, IDC_PASSWORD_CEN, IDC_GET_PASSWORD_STATE,
          IDC_PASSWORD_NEW, IDC_MANUFACTURER_GET_LAST_ERROR, IDC_MANUFACTURER_CLEAR_DISPLAY}},
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
    for (int id : {IDM_CONFIGURE, IDM_COMMAND_TAB, IDM_TRIGGER_TAB, IDM_STATUS_TAB, IDM_BOOTLOADER,
                   IDM_COMMUNICATION_TAB, IDM_MANUFACTURER_TAB, IDM_READ_ME,
                   int{static_cast<std::uint16_t>(IDC_STATIC)}})
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
        {Panel::Command,
         {IDC_VOLTAGE_BOX, IDC_FREQUENCY_BOX, IDC_CURRENT_LIMIT_BOX, IDC_FREE_LINE_BOX}},
        {Panel::Status, {IDC_SRE_BOX, IDC_ESE_BOX, IDC_OPER_ENAB_BOX, IDC_QUES_ENAB_BOX}},
        {Panel::Trigger,
         {IDC_TRIGGER_DELAY_BOX, IDC_TRIGGER_COUNT_BOX, IDC_VOLT_TRIG_BOX, IDC_FREQ_TRIG_BOX,
          IDC_CURR_TRIG_BOX, IDC_LIST_DWELL_BOX, IDC_LIST_VOLT_BOX, IDC_LIST_FREQ_BOX,
          IDC_LIST_CURR_BOX, IDC_LIST_COUNT_BOX}},
        {Panel::Communication,
         {IDC_LAN_IP_BOX, IDC_SUBNET_BOX, IDC_GATEWAY_BOX, IDC_HOSTNAME_BOX, IDC_TCP_SOCKET_BOX}},
        {Panel::Manufacturer, {IDC_CURRENT_PASSWORD_BOX, IDC_NEW_PASSWORD_BOX}},
    };
    for (Panel panel : AllPanels) {
        EXPECT_EQ(IdsOfKind(panel, {ControlKind::EntryBox}), boxes.at(panel));
        EXPECT_EQ(IdsOfKind(panel, {ControlKind::OutputBox}),
                  std::set<int>{TableOf(panel).outputBoxId});
        std::set<int> lists =
            panel == Panel::Communication ? std::set<int>{IDC_BAUD_RATE_LIST} : std::set<int>{};
        EXPECT_EQ(IdsOfKind(panel, {ControlKind::ListBox}), lists);
    }
    // The view switch empties these two.
    EXPECT_EQ(boxes.at(Panel::Manufacturer),
              (std::set<int>{IDC_CURRENT_PASSWORD_BOX, IDC_NEW_PASSWORD_BOX}));
}

TEST(PanelTables, OptionGroups)
{
    using Groups = std::vector<std::vector<int>>;
    const std::map<Panel, Groups> groups = {
        {Panel::Command,
         {{IDC_RANGE_HIGH, IDC_RANGE_LOW},
          {IDC_OUTPUT_ON, IDC_OUTPUT_OFF},
          {IDC_SAV_RCL_STATE_0, IDC_SAV_RCL_STATE_1, IDC_SAV_RCL_STATE_2, IDC_SAV_RCL_STATE_3}}},
        {Panel::Status, {}},
        {Panel::Trigger,
         {{IDC_TRIGGER_SOURCE_BUS, IDC_TRIGGER_SOURCE_IMMEDIATE},
          {IDC_CONTINUOUS_ON, IDC_CONTINUOUS_OFF},
          {IDC_VOLT_MODE_FIX, IDC_VOLT_MODE_STEP, IDC_VOLT_MODE_LIST},
          {IDC_FREQ_MODE_FIX, IDC_FREQ_MODE_STEP, IDC_FREQ_MODE_LIST},
          {IDC_CURR_MODE_FIX, IDC_CURR_MODE_STEP, IDC_CURR_MODE_LIST}}},
        {Panel::Communication,
         {{IDC_LAN_CONFIG_DHCP, IDC_LAN_CONFIG_AUTO_IP, IDC_LAN_CONFIG_MANUAL}}},
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
