// Every fixed line a panel button sends, against the simulated instrument: the Windows-side tests
// press every button and wait for an answer to each query, so a query the simulator does not
// know would only show there as a time-out.
#include <gtest/gtest.h>

#include <string>

#include "panels/panel_table.h"
#include "sim/scpi.h"

namespace
{

TEST(PanelLines, EveryFixedLineIsKnownToTheSimulatorAndEveryQueryAnswered)
{
    for (const PanelEntry& entry : PanelRegistry) {
        for (int i = 0; i < entry.table.commandCount; ++i) {
            const CommandRow& row = entry.table.commands[i];
            bool query = row.kind == CommandKind::Query || row.kind == CommandKind::QueryLineFeed;
            if (!query && row.kind != CommandKind::Fixed)
                continue;
            const std::string line(row.bytes, std::string(row.bytes).size() - 1);
            Instrument in;
            PowerOn(in);
            const ScpiResult result = ExecuteScpi(in, line);
            const std::string where = std::string(entry.name) + " panel, \"" + line + "\": ";
            EXPECT_EQ(result.answered, query)
                << where << (query ? "no answer" : "an answer to a setting")
                << " from tessaly-sim; its row belongs in sim/scpi_commands.cpp";
            // A command error (-100 to -199) means the simulator does not know the line; an
            // execution error, such as a trigger while idle, is the instrument's answer to it.
            for (const std::string& error : in.errors)
                EXPECT_NE(error.rfind("-1", 0), 0u) << where << "tessaly-sim says " << error;
        }
    }
}

} // namespace
