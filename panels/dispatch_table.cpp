// The command row of a clicked control, through a table indexed by its identifier. Kept apart from
// the dispatcher so that a program that only needs the tables does not pull in the transaction.
#include <array>

#include "panels/panel_table.h"

namespace
{

constexpr int DispatchCount = LastDispatchId - FirstDispatchId + 1;
using DispatchTable = std::array<const CommandRow*, DispatchCount>;

DispatchTable BuildDispatchTable()
{
    DispatchTable table{};
    // Every row's identifier is in range: the row makers refuse any other at compile time.
    for (const PanelEntry& entry : PanelRegistry) {
        for (int i = 0; i < entry.table.commandCount; ++i) {
            const CommandRow& row = entry.table.commands[i];
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
