// A test fixture that runs one fresh copy of the program per test and checks that it ends with
// exit code 0, plus the steps that many tests share: opening the TCP link to tessaly-sim through
// the Configuration dialog, and reading a panel's controls.
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "panels/panel_table.h"
#include "res/resource.h"
#include "support/gui_driver.h"

// The bootloader steps as the operator must see them.
constexpr const char* StepsText =
    "Steps for using the bootloader:\r\n   Close all RS-232, USB, and Ethernet connections\r\n"
    "   Turn off unit\r\n   Move boot loader switch to the UP position\r\n   Turn unit on\r\n"
    " \r\nIn the popup boot loader window:\r\n   Click Connect\r\n   Load Hex File\r\n"
    "   Erase-Program-Verify\r\n   Run application\r\n \r\n \r\nNote: the communication "
    "configuration parameters and password will be reset to default.";

// Every panel, in registry order: the order start-up builds them, which is their children's
// order in the window.
inline std::vector<Panel> PanelsOfRegistry()
{
    std::vector<Panel> panels;
    for (const PanelEntry& entry : PanelRegistry)
        panels.push_back(entry.panel);
    return panels;
}
inline const std::vector<Panel> AllPanels = PanelsOfRegistry();

// A child control of the main window and the panel table row that it was made from.
struct PanelChild {
    Panel panel;
    int row;
    HWND window;
};

// The panel's name in lower case, as screenshots and test names use it.
inline std::string LowerNameOf(Panel panel)
{
    std::string name = NameOf(panel);
    for (char& c : name)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

class ProgramTest : public ::testing::Test
{
  protected:
    void SetUp() override { ASSERT_TRUE(StartProgram(program)) << "Tessaly.exe did not start"; }

    void TearDown() override
    {
        if (!ProgramRunning(program)) {
            StopProgram(program);
            return;
        }
        std::vector<std::string> left = AnswerAllStatusBoxes(program);
        EXPECT_TRUE(left.empty()) << "a \"Status\" box was left open: " << left.front();
        EXPECT_EQ(CloseProgram(program), 0u) << "exit code";
        StopProgram(program);
    }

    HWND ControlOf(int id) const { return Control(program, id); }
    std::string OutputOf(Panel panel) const
    {
        return TextOf(ControlOf(OutputBoxId(panel)));
    }
    bool Shown(int id) const { return IsWindowVisible(ControlOf(id)) != FALSE; }

    // File > Configure; the dialog.
    HWND OpenConfiguration();
    // Opens the Ethernet link to tessaly-sim through the dialog and closes the dialog again when
    // closeDialog is set.
    void OpenTcpLink(bool closeDialog = true);
    // The main window's children taken as the panels' controls, in build order.
    std::vector<PanelChild> PanelChildren() const;
    // Every control of the panel visible, and no control of another panel nor the steps box.
    void ExpectOnlyPanelShown(Panel shown);
    void ExpectNoPanelShown();

    Program program;
};

// Number of the simulated instrument's open TCP connections.
int SimConnections();
// Waits until the simulator has received at least count bytes since the last clear (or the
// limit passes) and returns them.
std::string SimReceived(std::size_t count, DWORD limitMs = 3000);
// Waits until the simulator reports the number of open connections, at most limitMs.
bool WaitSimConnections(int count, DWORD limitMs = 5000);
