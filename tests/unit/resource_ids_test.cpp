// The numbers behind the named identifiers. Everything else uses the names; the numbers are what
// the resource script compiles into the program and what a tool that drives its windows from
// outside sees, so they must not change when the names are moved or tidied.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "panels/panel_table.h"
#include "res/resource.h"
#include "tests/unit/written_ids.h"

namespace
{

struct Numbered {
    int id;
    int number;
    const char* name;
};
// The name as written, its value and the number it must have.
#define NUMBERED(name, number) (Numbered{name, number, #name})

// Resources, menu items (the View menu's in ResourceIds.ViewMenuHasEachPanelsItemInItsPlace), the
// Configuration dialog's controls, the bootloader steps box and the stand-in bootloader tool's
// text.
const Numbered ResourceIds[] = {
    NUMBERED(IDB_LOGO, 110),           NUMBERED(IDD_ABOUT, 117),
    NUMBERED(IDM_MAIN, 111),           NUMBERED(IDI_TESSALY, 113),
    NUMBERED(IDD_CONFIGURATION, 114),  NUMBERED(IDM_CONFIGURE, 40001),
    NUMBERED(IDM_BOOTLOADER, 40012),   NUMBERED(IDM_READ_ME, 40017),
    NUMBERED(IDC_COMPORT, 1001),       NUMBERED(IDC_BAUD_RATE, 1002),
    NUMBERED(IDC_IP_ADDRESS, 1005),    NUMBERED(IDC_TCP_PORT, 1006),
    NUMBERED(IDC_LINK_KIND, 1010),     NUMBERED(IDC_DISCOVER, 1011),
    NUMBERED(IDC_STATUS_TEXT, 1012),   NUMBERED(IDC_STEPS_BOX, 263),
    NUMBERED(IDC_BOOT_TOOL_TEXT, 100), NUMBERED(IDC_STATIC, -1),
};

// The panels' controls.
const Numbered PanelControlIds[] = {
    NUMBERED(IDC_PANEL_LABEL, 0),
    NUMBERED(IDC_COMMAND_OUTPUT_BOX, 130),
    NUMBERED(IDC_COMMAND_GET_LAST_ERROR, 265),
    NUMBERED(IDC_COMMAND_CLEAR_DISPLAY, 270),
    NUMBERED(IDC_VOLTAGE_BOX, 113),
    NUMBERED(IDC_SET_VOLTAGE, 116),
    NUMBERED(IDC_GET_VOLTAGE, 125),
    NUMBERED(IDC_FREQUENCY_BOX, 114),
    NUMBERED(IDC_SET_FREQUENCY, 117),
    NUMBERED(IDC_GET_FREQUENCY, 126),
    NUMBERED(IDC_CURRENT_LIMIT_BOX, 115),
    NUMBERED(IDC_SET_CURRENT_LIMIT, 118),
    NUMBERED(IDC_GET_CURRENT_LIMIT, 127),
    NUMBERED(IDC_RANGE_HIGH, 119),
    NUMBERED(IDC_RANGE_LOW, 120),
    NUMBERED(IDC_SET_RANGE, 121),
    NUMBERED(IDC_GET_RANGE, 128),
    NUMBERED(IDC_OUTPUT_ON, 122),
    NUMBERED(IDC_OUTPUT_OFF, 123),
    NUMBERED(IDC_SET_OUTPUT, 124),
    NUMBERED(IDC_GET_OUTPUT, 129),
    NUMBERED(IDC_GET_CURRENT, 131),
    NUMBERED(IDC_GET_POWER, 132),
    NUMBERED(IDC_GET_POWER_FACTOR, 133),
    NUMBERED(IDC_CLS, 136),
    NUMBERED(IDC_RST, 137),
    NUMBERED(IDC_SAV, 145),
    NUMBERED(IDC_RCL, 146),
    NUMBERED(IDC_SAV_RCL_STATE_0, 150),
    NUMBERED(IDC_SAV_RCL_STATE_1, 151),
    NUMBERED(IDC_SAV_RCL_STATE_2, 152),
    NUMBERED(IDC_SAV_RCL_STATE_3, 153),
    NUMBERED(IDC_FREE_LINE_BOX, 135),
    NUMBERED(IDC_SEND_FREE_LINE, 134),
    NUMBERED(IDC_READ_ANSWER, 321),
    NUMBERED(IDC_STATUS_OUTPUT_BOX, 281),
    NUMBERED(IDC_STATUS_GET_LAST_ERROR, 266),
    NUMBERED(IDC_STATUS_CLEAR_DISPLAY, 271),
    NUMBERED(IDC_GET_STB, 143),
    NUMBERED(IDC_GET_SRE, 142),
    NUMBERED(IDC_SET_SRE, 141),
    NUMBERED(IDC_SRE_BOX, 155),
    NUMBERED(IDC_GET_ESR, 140),
    NUMBERED(IDC_GET_ESE, 139),
    NUMBERED(IDC_SET_ESE, 138),
    NUMBERED(IDC_ESE_BOX, 275),
    NUMBERED(IDC_GET_OPER, 156),
    NUMBERED(IDC_GET_OPER_COND, 157),
    NUMBERED(IDC_SET_OPER_ENAB, 159),
    NUMBERED(IDC_OPER_ENAB_BOX, 164),
    NUMBERED(IDC_GET_OPER_ENAB, 158),
    NUMBERED(IDC_GET_QUES, 160),
    NUMBERED(IDC_GET_QUES_COND, 161),
    NUMBERED(IDC_SET_QUES_ENAB, 163),
    NUMBERED(IDC_QUES_ENAB_BOX, 279),
    NUMBERED(IDC_GET_QUES_ENAB, 162),
    NUMBERED(IDC_TRIGGER_OUTPUT_BOX, 258),
    NUMBERED(IDC_TRIGGER_GET_LAST_ERROR, 267),
    NUMBERED(IDC_TRIGGER_CLEAR_DISPLAY, 272),
    NUMBERED(IDC_TRIGGER_SOURCE_BUS, 182),
    NUMBERED(IDC_TRIGGER_SOURCE_IMMEDIATE, 183),
    NUMBERED(IDC_SET_TRIGGER_SOURCE, 181),
    NUMBERED(IDC_GET_TRIGGER_SOURCE, 180),
    NUMBERED(IDC_TRIGGER_DELAY_BOX, 184),
    NUMBERED(IDC_SET_TRIGGER_DELAY, 185),
    NUMBERED(IDC_GET_TRIGGER_DELAY, 186),
    NUMBERED(IDC_TRIGGER_COUNT_BOX, 187),
    NUMBERED(IDC_SET_TRIGGER_COUNT, 188),
    NUMBERED(IDC_GET_TRIGGER_COUNT, 189),
    NUMBERED(IDC_BUS_TRIGGER, 190),
    NUMBERED(IDC_IMMEDIATE_TRIGGER, 191),
    NUMBERED(IDC_TRIGGER_GET_OPER, 322),
    NUMBERED(IDC_ABORT, 192),
    NUMBERED(IDC_INITIATE_SEQUENCE, 193),
    NUMBERED(IDC_CONTINUOUS_ON, 194),
    NUMBERED(IDC_CONTINUOUS_OFF, 195),
    NUMBERED(IDC_SET_CONTINUOUS, 197),
    NUMBERED(IDC_GET_CONTINUOUS, 196),
    NUMBERED(IDC_VOLT_MODE_FIX, 198),
    NUMBERED(IDC_VOLT_MODE_STEP, 199),
    NUMBERED(IDC_VOLT_MODE_LIST, 200),
    NUMBERED(IDC_SET_VOLT_MODE, 202),
    NUMBERED(IDC_GET_VOLT_MODE, 201),
    NUMBERED(IDC_FREQ_MODE_FIX, 203),
    NUMBERED(IDC_FREQ_MODE_STEP, 204),
    NUMBERED(IDC_FREQ_MODE_LIST, 205),
    NUMBERED(IDC_SET_FREQ_MODE, 207),
    NUMBERED(IDC_GET_FREQ_MODE, 206),
    NUMBERED(IDC_CURR_MODE_FIX, 208),
    NUMBERED(IDC_CURR_MODE_STEP, 209),
    NUMBERED(IDC_CURR_MODE_LIST, 210),
    NUMBERED(IDC_SET_CURR_MODE, 212),
    NUMBERED(IDC_GET_CURR_MODE, 211),
    NUMBERED(IDC_VOLT_TRIG_BOX, 213),
    NUMBERED(IDC_SET_VOLT_TRIG, 215),
    NUMBERED(IDC_GET_VOLT_TRIG, 214),
    NUMBERED(IDC_FREQ_TRIG_BOX, 216),
    NUMBERED(IDC_SET_FREQ_TRIG, 218),
    NUMBERED(IDC_GET_FREQ_TRIG, 217),
    NUMBERED(IDC_CURR_TRIG_BOX, 219),
    NUMBERED(IDC_SET_CURR_TRIG, 221),
    NUMBERED(IDC_GET_CURR_TRIG, 220),
    NUMBERED(IDC_LIST_DWELL_BOX, 173),
    NUMBERED(IDC_SET_LIST_DWELL, 166),
    NUMBERED(IDC_GET_LIST_DWELL, 165),
    NUMBERED(IDC_LIST_VOLT_BOX, 174),
    NUMBERED(IDC_SET_LIST_VOLT, 168),
    NUMBERED(IDC_GET_LIST_VOLT, 167),
    NUMBERED(IDC_LIST_FREQ_BOX, 175),
    NUMBERED(IDC_SET_LIST_FREQ, 170),
    NUMBERED(IDC_GET_LIST_FREQ, 169),
    NUMBERED(IDC_LIST_CURR_BOX, 176),
    NUMBERED(IDC_SET_LIST_CURR, 172),
    NUMBERED(IDC_GET_LIST_CURR, 171),
    NUMBERED(IDC_LIST_COUNT_BOX, 247),
    NUMBERED(IDC_SET_LIST_COUNT, 249),
    NUMBERED(IDC_GET_LIST_COUNT, 248),
    NUMBERED(IDC_COMMUNICATION_OUTPUT_BOX, 259),
    NUMBERED(IDC_COMMUNICATION_GET_LAST_ERROR, 268),
    NUMBERED(IDC_COMMUNICATION_CLEAR_DISPLAY, 273),
    NUMBERED(IDC_LAN_CONFIG_DHCP, 239),
    NUMBERED(IDC_LAN_CONFIG_AUTO_IP, 240),
    NUMBERED(IDC_LAN_CONFIG_MANUAL, 241),
    NUMBERED(IDC_SET_LAN_CONFIG, 243),
    NUMBERED(IDC_GET_LAN_CONFIG, 242),
    NUMBERED(IDC_LAN_IP_BOX, 227),
    NUMBERED(IDC_SET_LAN_IP, 229),
    NUMBERED(IDC_GET_LAN_IP, 228),
    NUMBERED(IDC_GET_ACTIVE_IP, 222),
    NUMBERED(IDC_SUBNET_BOX, 230),
    NUMBERED(IDC_SET_SUBNET, 232),
    NUMBERED(IDC_GET_SUBNET, 231),
    NUMBERED(IDC_GATEWAY_BOX, 233),
    NUMBERED(IDC_SET_GATEWAY, 235),
    NUMBERED(IDC_GET_GATEWAY, 234),
    NUMBERED(IDC_HOSTNAME_BOX, 236),
    NUMBERED(IDC_SET_HOSTNAME, 238),
    NUMBERED(IDC_GET_HOSTNAME, 237),
    NUMBERED(IDC_TCP_SOCKET_BOX, 284),
    NUMBERED(IDC_SET_TCP_SOCKET, 282),
    NUMBERED(IDC_GET_TCP_SOCKET, 283),
    NUMBERED(IDC_BAUD_RATE_LIST, 244),
    NUMBERED(IDC_SET_BAUD_RATE, 245),
    NUMBERED(IDC_GET_BAUD_RATE, 246),
    NUMBERED(IDC_MANUFACTURER_OUTPUT_BOX, 260),
    NUMBERED(IDC_MANUFACTURER_GET_LAST_ERROR, 269),
    NUMBERED(IDC_MANUFACTURER_CLEAR_DISPLAY, 274),
    NUMBERED(IDC_GET_IDN, 250),
    NUMBERED(IDC_GET_VERSION, 251),
    NUMBERED(IDC_GET_PASSWORD_STATE, 254),
    NUMBERED(IDC_CURRENT_PASSWORD_BOX, 256),
    NUMBERED(IDC_PASSWORD_CDIS, 252),
    NUMBERED(IDC_PASSWORD_CEN, 253),
    NUMBERED(IDC_NEW_PASSWORD_BOX, 255),
    NUMBERED(IDC_PASSWORD_NEW, 257),
};

TEST(ResourceIds, KeepTheirNumbers)
{
    for (const Numbered& n : ResourceIds)
        EXPECT_EQ(n.id, n.number) << n.name;
    for (const Numbered& n : PanelControlIds)
        EXPECT_EQ(n.id, n.number) << n.name;
}

// The menu items of the main window: File's and About's as the resource script writes them, with
// the number its identifier stands for (from res/resource.h), and View's from the panel registry.
struct MenuItem {
    std::string popup, caption;
    int id;
};

std::vector<MenuItem> MenuItemsOfTheMainWindow()
{
    const std::map<std::string, int> defined = DefinedIds("res/resource.h");
    std::vector<MenuItem> items;
    std::string popup;
    const std::regex line(R"rx(^\s*(POPUP|MENUITEM)\s+"([^"]*)"(?:\s*,\s*(\w+))?)rx");
    std::istringstream script(SourceFile("res/tessaly.rc"));
    for (std::string text; std::getline(script, text);) {
        std::smatch m;
        if (!std::regex_search(text, m, line))
            continue;
        if (m[1] == "POPUP")
            popup = m[2];
        else
            items.push_back({popup, m[2], defined.count(m[3]) ? defined.at(m[3]) : -1});
    }
    for (const ViewItem& item : ViewMenuItems())
        items.push_back({"View", item.caption, item.menuId});
    return items;
}

// The lowest number from `from` up that no control or menu item of the main window has.
int FreeFrom(const std::map<int, std::string>& holder, int from)
{
    while (holder.count(from) != 0)
        ++from;
    return from;
}

// Every identifier the main window's procedure tells apart, in one place: each panel control,
// the bootloader steps box and each menu item has a number of its own; labels and frames share
// theirs. A menu item's number lies outside the range the panel dispatcher reaches, so that a
// menu choice is never taken for a button.
TEST(ResourceIds, EveryIdentifierOfTheMainWindowIsItsOwn)
{
    const std::vector<MenuItem> menu = MenuItemsOfTheMainWindow();
    ASSERT_GT(menu.size(), ViewMenuItems().size())
        << "res/tessaly.rc could not be read from " << TESSALY_SOURCE_DIR;
    std::map<int, std::string> holder = {{IDC_STEPS_BOX, "the bootloader steps box"}};
    std::vector<std::string> clashes;
    auto claim = [&](int id, const std::string& what) {
        auto [at, added] = holder.insert({id, what});
        if (!added)
            clashes.push_back(what + " has number " + std::to_string(id) + ", which " + at->second +
                              " already has");
    };
    for (const MenuItem& item : menu) {
        const std::string what = "menu item " + item.popup + " > " + item.caption;
        EXPECT_GT(item.id, 0) << what << ": its identifier is not defined in res/resource.h";
        EXPECT_TRUE(item.id < FirstDispatchId || item.id > LastDispatchId)
            << what << " (" << item.id << ") lies in the panel dispatcher's range";
        claim(item.id, what);
    }
    for (const PanelEntry& entry : PanelRegistry) {
        for (int i = 0; i < entry.table.controlCount; ++i) {
            const ControlRow& c = entry.table.controls[i];
            if (c.id != IDC_PANEL_LABEL && c.id != IDC_STATIC)
                claim(c.id, std::string(entry.name) + " panel control \"" + c.caption + "\"");
        }
    }
    for (const std::string& clash : clashes) {
        ADD_FAILURE() << clash << ". Free numbers: " << FreeFrom(holder, FirstDispatchId)
                      << " for a button (inside FirstDispatchId..LastDispatchId, "
                      << FirstDispatchId << ".." << LastDispatchId << "), "
                      << FreeFrom(holder, LastDispatchId + 1) << " for any other control";
    }
}

// The View menu that start-up builds from the registry, as the operator and the tools that drive
// the window from outside know it.
TEST(ResourceIds, ViewMenuHasEachPanelsItemInItsPlace)
{
    const std::array<ViewItem, PanelCount> items = ViewMenuItems();
    const std::pair<std::string, int> expected[] = {
        {"Command Tab", 40006},       {"Trigger Tab", 40007},      {"Status Tab", 40008},
        {"Communication Tab", 40014}, {"Manufacturer Tab", 40015},
    };
    for (std::size_t i = std::size(expected); i < items.size(); ++i)
        ADD_FAILURE() << "View item \"" << items[i].caption << "\" (" << items[i].menuId
                      << ") is not pinned by this test";
    ASSERT_EQ(items.size(), std::size(expected));
    for (std::size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].caption, expected[i].first) << "item " << i;
        EXPECT_EQ(items[i].menuId, expected[i].second) << items[i].caption;
        Panel shown{};
        ASSERT_TRUE(PanelOfViewItem(items[i].menuId, shown)) << items[i].caption;
        EXPECT_EQ(std::string(NameOf(shown)) + " Tab", items[i].caption);
    }
}

} // namespace
