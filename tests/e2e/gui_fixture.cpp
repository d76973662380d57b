// Steps that many of the program's tests share.
#include "tests/e2e/gui_fixture.h"

#include <cstdlib>

#include "res/resource.h"
#include "support/sim_control.h"

HWND ProgramTest::OpenConfiguration()
{
    EXPECT_EQ(ChooseMenu(program, "File", "Configure"), Settled::Done);
    HWND dialog = FindProgramDialog(program, "Configuration");
    EXPECT_NE(dialog, nullptr) << "no Configuration dialog";
    return dialog;
}

void ProgramTest::OpenTcpLink(bool closeDialog)
{
    HWND dialog = OpenConfiguration();
    ASSERT_NE(dialog, nullptr);
    SendMessageA(DialogControl(dialog, IDC_LINK_KIND), LB_SETCURSEL, 2, 0);
    SetTextOf(DialogControl(dialog, IDC_IP_ADDRESS), "127.0.0.1");
    SetTextOf(DialogControl(dialog, IDC_TCP_PORT), std::to_string(SimTcpPort()));
    ASSERT_EQ(Click(program, DialogControl(dialog, IDOK)), Settled::Done)
        << StatusBoxText(FindStatusBox(program));
    ASSERT_EQ(TextOf(DialogControl(dialog, IDC_STATUS_TEXT)), "Connected to server");
    ASSERT_TRUE(WaitSimConnections(1)) << "the simulator has no connection";
    if (closeDialog) {
        ASSERT_EQ(PostAndWait(program, dialog, WM_CLOSE), Settled::Done);
        ASSERT_FALSE(IsWindow(dialog));
    }
    SimClear();
}

std::vector<PanelChild> ProgramTest::PanelChildren() const
{
    std::vector<HWND> children = ChildrenOf(program.main);
    std::vector<PanelChild> result;
    std::size_t next = 0;
    for (Panel panel : AllPanels) {
        const PanelTable& table = TableOf(panel);
        for (int i = 0; i < table.controlCount && next < children.size(); ++i)
            result.push_back({panel, i, children[next++]});
    }
    return result;
}

void ProgramTest::ExpectOnlyPanelShown(Panel shown)
{
    int visible[PanelCount] = {};
    for (const PanelChild& child : PanelChildren()) {
        if (IsWindowVisible(child.window))
            ++visible[static_cast<int>(child.panel)];
    }
    for (Panel panel : AllPanels) {
        int expected = panel == shown ? TableOf(panel).controlCount : 0;
        EXPECT_EQ(visible[static_cast<int>(panel)], expected)
            << "visible controls of the " << LowerNameOf(panel) << " panel";
    }
    EXPECT_FALSE(Shown(IDC_STEPS_BOX)) << "steps box shown";
}

void ProgramTest::ExpectNoPanelShown()
{
    for (const PanelChild& child : PanelChildren())
        EXPECT_FALSE(IsWindowVisible(child.window))
            << LowerNameOf(child.panel) << " control " << child.row << " shown";
}

int SimConnections()
{
    return std::atoi(SimControl("connections").c_str());
}

std::string SimReceived(std::size_t count, DWORD limitMs)
{
    DWORD deadline = GetTickCount() + limitMs;
    std::string bytes = SimRecord("tcp");
    while (bytes.size() < count && GetTickCount() < deadline) {
        Sleep(10);
        bytes = SimRecord("tcp");
    }
    return bytes;
}

bool WaitSimConnections(int count, DWORD limitMs)
{
    DWORD deadline = GetTickCount() + limitMs;
    while (SimConnections() != count) {
        if (GetTickCount() >= deadline)
            return false;
        Sleep(20);
    }
    return true;
}
