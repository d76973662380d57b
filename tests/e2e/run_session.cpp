// The scripted session of `make run` without a display: drives the real program on a virtual
// display like an operator would (opens the Ethernet link to the simulated instrument through the
// Configuration dialog, asks *IDN?, sets and reads a voltage, switches the output on, reads the
// power, runs one discovery), saves a screenshot of each step and prints the output boxes.
// Usage (under Wine, with TESSALY_PROGRAM and TESSALY_SCREENSHOT_DIR set):
//   run_session.exe ADDRESS PORT
#include <cstdio>
#include <cstring>
#include <string>

#include "panels/panel_table.h"
#include "res/resource.h"
#include "support/gui_driver.h"

namespace
{

constexpr int EthernetPosition = 2;

// One button of a panel, found by its caption; typed goes into the button's entry box first.
struct Press {
    Panel panel;
    const char* caption;
    const char* typed;
    const char* screenshot;
};

// The voltage is read once more with the output on: the instrument measures at its output.
constexpr Press Presses[] = {
    {Panel::Manufacturer, "*IDN?", nullptr, "03-identification"},
    {Panel::Command, "Set Voltage", "120", "04-set-voltage"},
    {Panel::Command, "Get Voltage", nullptr, "05-get-voltage"},
    {Panel::Command, "On", nullptr, nullptr},
    {Panel::Command, "Set Output", nullptr, "06-output-on"},
    {Panel::Command, "Get Voltage", nullptr, "07-get-voltage"},
    {Panel::Command, "Get Power", nullptr, "08-get-power"},
};

constexpr Panel LoggedPanels[] = {Panel::Manufacturer, Panel::Command};
constexpr const char* LoggedPanelNames[] = {"Manufacturer", "Command"};

int failures = 0;

void Say(const std::string& text)
{
    std::printf("%s\n", text.c_str());
    std::fflush(stdout);
}

void Fail(const std::string& text)
{
    ++failures;
    Say("  FAILED: " + text);
}

// The box texts break lines with "\r\n"; the terminal wants "\n" and an indent.
void SayBox(const std::string& text)
{
    std::string line = "    ";
    for (char c : text) {
        if (c == '\r')
            continue;
        line += c;
        if (c == '\n')
            line += "    ";
    }
    Say(line);
}

// Waits for the posted action; a "Status" box that comes up is shown, answered and counted.
bool Settle(Program& program, Settled settled, const char* what)
{
    if (settled == Settled::TimedOut) {
        Fail(std::string(what) + ": the program did not finish in time");
        return false;
    }
    if (settled == Settled::StatusBox) {
        for (const std::string& text : AnswerAllStatusBoxes(program))
            Fail(std::string(what) + ": \"Status\" box: " + text);
        return false;
    }
    return true;
}

int ControlIdOf(Panel panel, const char* caption)
{
    const PanelTable& table = TableOf(panel);
    for (int i = 0; i < table.controlCount; ++i) {
        if (std::strcmp(table.controls[i].caption, caption) == 0)
            return table.controls[i].id;
    }
    return 0;
}

HWND OpenConfiguration(Program& program)
{
    Settle(program, ChooseMenu(program, "File", "Configure"), "File > Configure");
    HWND dialog = FindProgramDialog(program, "Configuration");
    if (dialog == nullptr)
        Fail("no Configuration dialog");
    return dialog;
}

bool OpenEthernetLink(Program& program, const char* address, const char* port)
{
    Say("== File > Configure: Ethernet, IP Address " + std::string(address) + ", TCP Port " + port +
        ", Open");
    HWND dialog = OpenConfiguration(program);
    if (dialog == nullptr)
        return false;
    SendMessageA(DialogControl(dialog, IDC_LINK_KIND), LB_SETCURSEL, EthernetPosition, 0);
    SetTextOf(DialogControl(dialog, IDC_IP_ADDRESS), address);
    SetTextOf(DialogControl(dialog, IDC_TCP_PORT), port);
    bool opened = Settle(program, Click(program, DialogControl(dialog, IDOK)), "Open");
    std::string status = TextOf(DialogControl(dialog, IDC_STATUS_TEXT));
    Say("  status: " + status);
    SaveScreenshot(dialog, "02-configuration");
    if (!opened || status != "Connected to server") {
        Fail("the link did not open");
        return false;
    }
    // The dialog would cover the panels in the screenshots; the link stays open without it.
    Settle(program, PostAndWait(program, dialog, WM_CLOSE), "closing the dialog");
    return true;
}

void PressButtons(Program& program)
{
    Panel shown = Panel::Command;
    for (const Press& press : Presses) {
        if (press.panel != shown) {
            Settle(program, ChooseView(program, NameOf(press.panel)), "View");
            shown = press.panel;
        }
        int id = ControlIdOf(press.panel, press.caption);
        std::string what = press.caption;
        if (press.typed != nullptr) {
            const CommandRow* row = CommandFor(id);
            if (row == nullptr || row->entryId == 0) {
                Fail(what + ": no entry box");
                continue;
            }
            SetTextOf(Control(program, row->entryId), press.typed);
            what = std::string("type ") + press.typed + ", " + what;
        }
        Say("== " + what);
        Settle(program, Click(program, Control(program, id)), press.caption);
        if (press.screenshot != nullptr)
            SaveScreenshot(program.main, press.screenshot);
    }
}

void Discover(Program& program)
{
    Say("== File > Configure: Discover Ethernet Devices");
    HWND dialog = OpenConfiguration(program);
    if (dialog == nullptr)
        return;
    Settle(program, Click(program, DialogControl(dialog, IDC_DISCOVER)), "Discover");
    SayBox(TextOf(DialogControl(dialog, IDC_STATUS_TEXT)));
    SaveScreenshot(dialog, "09-discovery");
    Settle(program, PostAndWait(program, dialog, WM_CLOSE), "closing the dialog");
}

void PrintLogs(const Program& program)
{
    for (std::size_t i = 0; i < std::size(LoggedPanels); ++i) {
        Say(std::string("== Output box of the ") + LoggedPanelNames[i] + " panel (newest first)");
        SayBox(TextOf(Control(program, OutputBoxId(LoggedPanels[i]))));
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: run_session ADDRESS PORT\n");
        return 2;
    }
    Program program;
    Say("== Starting Tessaly.exe");
    if (!StartProgram(program)) {
        Say("  FAILED: the program did not start (TESSALY_PROGRAM)");
        StopProgram(program);
        return 1;
    }
    SaveScreenshot(program.main, "01-start");
    if (OpenEthernetLink(program, argv[1], argv[2])) {
        PressButtons(program);
        Discover(program);
    }
    PrintLogs(program);

    Say("== Closing the program");
    DWORD code = CloseProgram(program);
    if (code != 0)
        Fail("exit code " + std::to_string(code));
    StopProgram(program);
    Say(failures == 0 ? "== Session done" : "== Session done with failures");
    return failures == 0 ? 0 : 1;
}
