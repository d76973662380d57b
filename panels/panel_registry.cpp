// The panel registry as a table that platform-free code can walk: each panel's name and table in
// start-up build order, made from the list of core/panel_list.h.
#include <algorithm>
#include <cstring>
#include <functional>

#include "panels/panel_table.h"

#define TESSALY_PANEL_ENTRY(name) PanelEntry{Panel::name, #name, name##PanelTable},
const std::array<PanelEntry, PanelCount> PanelRegistry = {{TESSALY_PANELS(TESSALY_PANEL_ENTRY)}};
#undef TESSALY_PANEL_ENTRY

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

const PanelEntry* PanelNamed(const char* name)
{
    for (const PanelEntry& entry : PanelRegistry) {
        if (std::strcmp(entry.name, name) == 0)
            return &entry;
    }
    return nullptr;
}

std::array<Panel, PanelCount> SwitchOrder()
{
    std::array<Panel, PanelCount> order{};
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = PanelRegistry[i].panel;
    std::stable_sort(order.begin(), order.end(), [](Panel a, Panel b) {
        return TableOf(a).switchPosition < TableOf(b).switchPosition;
    });
    return order;
}
