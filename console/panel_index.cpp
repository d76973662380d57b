// Finding a panel's table, and the command row of a clicked control. Kept apart from the
// dispatcher so that a program that only needs the tables does not pull in the transaction.
#include <array>

#include "console/panel_table.h"

const PanelTable& TableOf(Panel panel)
{
    switch (panel) {
    case Panel::Command:
        return CommandPanelTable;
    case Panel::Status:
        return StatusPanelTable;
    case Panel::Trigger:
        return TriggerPanelTable;
    case Panel::Communication:
        return CommunicationPanelTable;
    case Panel::Manufacturer:
        break;
    }
    return ManufacturerPanelTable;
}

namespace
{

constexpr int DispatchCount = LastDispatchId - FirstDispatchId + 1;
using DispatchTable = std::array<const CommandRow*, DispatchCount>;

DispatchTable BuildDispatchTable()
{
    DispatchTable table{};
    for (int p = 0; p < PanelCount; ++p) {
        const PanelTable& panel = TableOf(static_cast<Panel>(p));
        for (int i = 0; i < panel.commandCount; ++i) {
            const CommandRow& row = panel.commands[i];
            if (row.id >= FirstDispatchId && row.id <= LastDispatchId)
                table[static_cast<std::size_t>(row.id - FirstDispatchId)] = &row;
        }
    }
    return table;
}

} // namespace

const CommandRow* CommandFor(int controlId)
{
    static const DispatchTable table = BuildDispatchTable();
    if (controlId < FirstDispatchId || controlId > LastDispatchId)
        return nullptr;
    return table[static_cast<std::size_t>(controlId - FirstDispatchId)];
}
