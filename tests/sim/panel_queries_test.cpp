// Every fixed line a panel button sends, against the simulated instrument: the Windows-side tests
// press every button and wait for an answer to each query, so a query the simulator does not
// know would only show there as a time-out.
#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "panels/panel_table.h"
#include "sim/scpi.h"

namespace
{

// The file that holds the panel's table: panels/panel_command.cpp for "Command".
std::string PanelFile(std::string name)
{
    for (char& c : name)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return "panels/panel_" + name + ".cpp";
}

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
            if (query)
                EXPECT_TRUE(result.answered)
                    << where << "no answer from tessaly-sim; its row belongs in "
                    << "sim/scpi_commands.cpp";
            else
                EXPECT_FALSE(result.answered)
                    << where << "tessaly-sim answers it, so it is a query written as a fixed "
                    << "command: its row in " << PanelFile(entry.name)
                    << " takes CommandKind::Query";
            // A command error (-100 to -199) means the simulator does not know the line; an
            // execution error, such as a trigger while idle, is the instrument's answer to it.
            for (const std::string& error : in.errors)
                EXPECT_NE(error.rfind("-1", 0), 0u) << where << "tessaly-sim says " << error;
        }
    }
}

} // namespace
