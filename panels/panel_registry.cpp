// The panel registry: each panel's row (its name, table and View menu item) in start-up build
// order, the order in which a view switch shows or hides the panels, and the order of the View
// menu. Every panel of core/panel_list.h must have its row and a place in both orders; one that
// lacks any of them stops the build with an error that names the panel.
#include <functional>
#include <utility>

#include "panels/panel_table.h"
#include "res/resource.h"

namespace
{

// One row per panel, in the order of core/panel_list.h. Its View item is captioned with its name
// and " Tab".
#define ROW(name, viewMenuId)                                                                      \
    PanelEntry                                                                                     \
    {                                                                                              \
        Panel::name, #name, name##PanelTable,                                                      \
        {                                                                                          \
#name " Tab", viewMenuId                                                               \
        }                                                                                          \
    }
constexpr PanelEntry Rows[] = {
    ROW(Command, IDM_COMMAND_TAB),
    ROW(Trigger, IDM_TRIGGER_TAB),
    ROW(Communication, IDM_COMMUNICATION_TAB),
    ROW(Manufacturer, IDM_MANUFACTURER_TAB),
    ROW(Status, IDM_STATUS_TAB),
};
#undef ROW

// The order in which a view switch shows or hides the panels.
constexpr std::array<Panel, PanelCount> SwitchOrderList = {
    Panel::Command, Panel::Status, Panel::Trigger, Panel::Communication, Panel::Manufacturer,
};

// The View menu's items, top to bottom.
constexpr std::array<Panel, PanelCount> ViewMenuOrder = {
    Panel::Command, Panel::Trigger, Panel::Status, Panel::Communication, Panel::Manufacturer,
};

constexpr bool HasItsRow(Panel panel)
{
    const auto at = static_cast<std::size_t>(panel);
    return at < std::size(Rows) && Rows[at].panel == panel;
}

constexpr bool Lists(const std::array<Panel, PanelCount>& order, Panel panel)
{
    for (Panel listed : order) {
        if (listed == panel)
            return true;
    }
    return false;
}

#define TESSALY_PANEL_CHECKS(name)                                                                 \
    static_assert(HasItsRow(Panel::name),                                                          \
                  #name " panel: no row in Rows at its place in core/panel_list.h");               \
    static_assert(Lists(SwitchOrderList, Panel::name), #name " panel: not in SwitchOrderList");    \
    static_assert(Lists(ViewMenuOrder, Panel::name), #name " panel: not in ViewMenuOrder");
TESSALY_PANELS(TESSALY_PANEL_CHECKS)
#undef TESSALY_PANEL_CHECKS
static_assert(std::size(Rows) == PanelCount, "Rows: one row for each panel of core/panel_list.h");

template <std::size_t... At>
constexpr std::array<PanelEntry, PanelCount> RegistryOf(std::index_sequence<At...>)
{
    return {{Rows[At]...}};
}

} // namespace

constexpr std::array<PanelEntry, PanelCount> PanelRegistry =
    RegistryOf(std::make_index_sequence<PanelCount>());

const PanelTable& TableOf(Panel panel)
{
    return PanelRegistry[static_cast<std::size_t>(panel)].table;
}

const char* NameOf(Panel panel)
{
    return PanelRegistry[static_cast<std::size_t>(panel)].name;
}

Panel PanelOf(const CommandRow& row)
{
    // Rows of different tables are compared through std::less, which orders any two pointers.
    const std::less<const CommandRow*> before;
    for (const PanelEntry& entry : PanelRegistry) {
        const CommandRow* first = entry.table.commands;
        if (!before(&row, first) && before(&row, first + entry.table.commandCount))
            return entry.panel;
    }
    // Every row the program runs comes from a panel's table.
    return PanelRegistry.front().panel;
}

std::array<Panel, PanelCount> SwitchOrder()
{
    return SwitchOrderList;
}

std::array<ViewItem, PanelCount> ViewMenuItems()
{
    std::array<ViewItem, PanelCount> items{};
    for (std::size_t i = 0; i < items.size(); ++i)
        items[i] = PanelRegistry[static_cast<std::size_t>(ViewMenuOrder[i])].view;
    return items;
}

bool PanelOfViewItem(int menuId, Panel& panel)
{
    for (const PanelEntry& entry : PanelRegistry) {
        if (entry.view.menuId == menuId) {
            panel = entry.panel;
            return true;
        }
    }
    return false;
}
