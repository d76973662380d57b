// The main window as the operator first sees it, every control against its panel table, the
// menu and the switching between views.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/main_window_size.h"
#include "res/resource.h"
#include "tests/e2e/gui_fixture.h"

namespace
{

struct MenuRow {
    const char* popup;
    const char* item;
    int id;
};

constexpr MenuRow MenuRows[] = {
    {"File", "Configure", IDM_CONFIGURE},
    {"File", "Bootloader", IDM_BOOTLOADER},
    {"About", "Read Me", IDM_READ_ME},
};

// The program's file loaded for its resources only.
HMODULE ProgramResources()
{
    const char* path = std::getenv("TESSALY_PROGRAM");
    return path == nullptr ? nullptr : LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
}

std::string ResourceText(HMODULE module, LPCSTR name, LPCSTR type)
{
    HRSRC found = FindResourceA(module, name, type);
    if (found == nullptr)
        return "";
    const char* data = static_cast<const char*>(LockResource(LoadResource(module, found)));
    return data == nullptr ? "" : std::string(data, SizeofResource(module, found));
}

// The style the control was created with, as far as it can be seen: an edit control draws its
// border itself and takes WS_BORDER off its style, and a multi-line one with a vertical scroll
// bar adds ES_AUTOVSCROLL. The border is looked for on the screen instead
// (ReadOnlyBoxesAndLabelsAreDrawnOnWhite).
DWORD LiveStyle(HWND control, DWORD created)
{
    DWORD style = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE));
    if (_stricmp(ClassOf(control).c_str(), "Edit") == 0) {
        style |= created & WS_BORDER;
        if ((created & (ES_MULTILINE | WS_VSCROLL)) == (ES_MULTILINE | WS_VSCROLL))
            style &= ~static_cast<DWORD>(ES_AUTOVSCROLL);
    }
    return style;
}

} // namespace

TEST_F(ProgramTest, StartsWithOnlyTheCommandPanelAndTheMenu)
{
    EXPECT_EQ(ClassOf(program.main), "Varnock Remote Interface");
    EXPECT_EQ(TextOf(program.main), "Varnock Remote Interface");
    LONG style = GetWindowLongA(program.main, GWL_STYLE);
    EXPECT_EQ(style & 0x00CA0000, 0x00CA0000) << "caption, system menu and minimise box";
    EXPECT_EQ(style & WS_MAXIMIZEBOX, 0) << "no maximise box";
    EXPECT_EQ(style & WS_THICKFRAME, 0) << "no sizing border";
    EXPECT_NE(style & WS_VISIBLE, 0);
    RECT rect{};
    GetWindowRect(program.main, &rect);
    EXPECT_EQ(rect.left, 10);
    EXPECT_EQ(rect.top, 10);
    EXPECT_EQ(rect.right - rect.left, ClassicWindow.width);
    EXPECT_EQ(rect.bottom - rect.top, ClassicWindow.height);
    EXPECT_NE(GetMenu(program.main), nullptr) << "the window has the menu bar";
    ExpectOnlyPanelShown(Panel::Command);
    SaveScreenshot(program.main, "start-up");
}

// Run at 96 DPI with the rest, and by tests/e2e/with_dpi.sh at larger text sizes (TESSALY_DPI),
// where caption and menu bar take more pixels: the window grows around the same client area.
TEST_F(ProgramTest, EveryControlLiesInsideTheClientArea)
{
    const char* dpiText = std::getenv("TESSALY_DPI");
    const int dpi = dpiText == nullptr ? 96 : std::atoi(dpiText);
    RECT outer{}, client{};
    GetWindowRect(program.main, &outer);
    GetClientRect(program.main, &client);
    const std::string measured = std::to_string(outer.right - outer.left) + " x " +
                                 std::to_string(outer.bottom - outer.top) + " outside, " +
                                 std::to_string(client.right) + " x " +
                                 std::to_string(client.bottom) + " client";
    RecordProperty("dpi" + std::to_string(dpi), measured);
    std::printf("at %d DPI: %s\n", dpi, measured.c_str());

    std::vector<HWND> children = ChildrenOf(program.main);
    std::size_t expectedCount = 1; // the steps box
    for (Panel panel : AllPanels)
        expectedCount += static_cast<std::size_t>(TableOf(panel).controlCount);
    ASSERT_EQ(children.size(), expectedCount);
    for (HWND child : children) {
        Place place = PlaceOf(child);
        SCOPED_TRACE("control " + std::to_string(GetDlgCtrlID(child)));
        EXPECT_GE(place.x, 0);
        EXPECT_GE(place.y, 0);
        EXPECT_LE(place.x + place.width, client.right);
        EXPECT_LE(place.y + place.height, client.bottom);
    }
    if (dpi > 96) {
        EXPECT_GT(outer.bottom - outer.top, ClassicWindow.height)
            << "the larger caption and menu bar are in use";
    }
}

TEST(ProgramStart, AMinimisedStartShowsTheSamePanels)
{
    Program program;
    ASSERT_TRUE(StartProgram(program, SW_SHOWMINNOACTIVE));
    EXPECT_TRUE(IsIconic(program.main));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(program.main, IDC_COMMAND_OUTPUT_BOX)))
        << "Command output box";
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(program.main, IDC_TRIGGER_OUTPUT_BOX)))
        << "Trigger output box";
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(program.main, IDC_STEPS_BOX)));
    EXPECT_EQ(CloseProgram(program), 0u);
    StopProgram(program);
}

TEST_F(ProgramTest, ReadOnlyBoxesAndLabelsAreDrawnOnWhite)
{
    SaveScreenshot(program.main, "white-check"); // also waits for the paint to reach the screen
    const COLORREF white = RGB(255, 255, 255);
    EXPECT_EQ(ScreenPixel(program.main, 480, 300), white) << "inside the Command output box";
    EXPECT_EQ(ScreenPixel(program.main, 112, 48), white) << "right end of the Voltage: label";
    EXPECT_EQ(ScreenPixel(program.main, 460, 600), white) << "window background";
    // Entry and output boxes have a border: the middle of their left edge is not white.
    for (int i = 0; i < TableOf(Panel::Command).controlCount; ++i) {
        const ControlRow& row = TableOf(Panel::Command).controls[i];
        if (row.kind == ControlKind::EntryBox || row.kind == ControlKind::OutputBox) {
            EXPECT_NE(ScreenPixel(program.main, row.x, row.y + row.height / 2), white)
                << "left edge of box " << row.id;
        }
    }
}

TEST_F(ProgramTest, EveryControlIsCreatedAsItsPanelTableSays)
{
    std::vector<HWND> children = ChildrenOf(program.main);
    std::size_t expectedCount = 1; // the steps box comes last
    for (Panel panel : AllPanels)
        expectedCount += static_cast<std::size_t>(TableOf(panel).controlCount);
    ASSERT_EQ(children.size(), expectedCount);

    for (const PanelChild& child : PanelChildren()) {
        const ControlRow& row = TableOf(child.panel).controls[child.row];
        const ControlStyle& style = StyleOf(row.kind);
        SCOPED_TRACE(std::string(LowerNameOf(child.panel)) + " panel row " +
                     std::to_string(child.row + 1) + " id " + std::to_string(row.id));
        EXPECT_STRCASEEQ(ClassOf(child.window).c_str(), style.className);
        EXPECT_EQ(LiveStyle(child.window, style.style) & ~WS_VISIBLE, style.style & ~WS_VISIBLE);
        // The window manager keeps WS_EX_WINDOWEDGE only on framed windows, never on a child.
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(child.window, GWL_EXSTYLE)),
                  style.exStyle & ~WS_EX_WINDOWEDGE);
        // The 16-bit ControlId: a group frame's -1 is 0xFFFF, as WM_COMMAND would carry it.
        EXPECT_EQ(GetDlgCtrlID(child.window), row.id & 0xFFFF);
        bool hasCaption = row.kind != ControlKind::EntryBox && row.kind != ControlKind::OutputBox &&
                          row.kind != ControlKind::ListBox;
        EXPECT_EQ(TextOf(child.window), hasCaption ? row.caption : "");
        Place place = PlaceOf(child.window);
        EXPECT_EQ(place.x, row.x);
        EXPECT_EQ(place.y, row.y);
        EXPECT_EQ(place.width, row.width);
        if (row.kind == ControlKind::ListBox) {
            // Without LBS_NOINTEGRALHEIGHT a list box shortens itself to whole items.
            LRESULT item = SendMessageA(child.window, LB_GETITEMHEIGHT, 0, 0);
            EXPECT_LE(place.height, row.height);
            EXPECT_GT(place.height, row.height - item);
        } else {
            EXPECT_EQ(place.height, row.height);
        }
        if (row.kind == ControlKind::FirstOption || row.kind == ControlKind::Option) {
            EXPECT_EQ(SendMessageA(child.window, BM_GETCHECK, 0, 0), BST_UNCHECKED);
        }
    }

    HWND steps = children.back();
    EXPECT_EQ(GetDlgCtrlID(steps), IDC_STEPS_BOX);
    EXPECT_STRCASEEQ(ClassOf(steps).c_str(), "Edit");
    EXPECT_EQ(LiveStyle(steps, 0x40800804u), 0x40800804u);
    EXPECT_EQ(TextOf(steps), StepsText);
    Place place = PlaceOf(steps);
    EXPECT_EQ(place.x, 5);
    EXPECT_EQ(place.y, 5);
    EXPECT_EQ(place.width, 845);
    EXPECT_EQ(place.height, 600);
}

TEST_F(ProgramTest, BaudListOfTheCommunicationPanelShowsTheRatesWith9600Chosen)
{
    HWND list = ControlOf(IDC_BAUD_RATE_LIST);
    ASSERT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), BaudChoiceCount);
    for (int i = 0; i < BaudChoiceCount; ++i) {
        EXPECT_EQ(ListText(list, LB_GETTEXT, i), BaudLabels[static_cast<std::size_t>(i)])
            << "position " << i;
    }
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 6);
}

// The menu as the program's file holds it: File and About. Start-up puts View between them, made
// from the panel registry (its items are pinned by the native tests, and the smoke test chooses one
// on the screen).
TEST(ProgramResources, MenuHasFileAndAboutAndTheirItemsInOrder)
{
    HMODULE module = ProgramResources();
    ASSERT_NE(module, nullptr);
    HMENU menu = LoadMenuA(module, MAKEINTRESOURCEA(IDM_MAIN));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 2);
    std::size_t next = 0;
    for (int p = 0; p < 2; ++p) {
        HMENU popup = GetSubMenu(menu, p);
        ASSERT_NE(popup, nullptr);
        std::string popupName = MenuCaption(menu, p);
        int count = GetMenuItemCount(popup);
        for (int i = 0; i < count; ++i, ++next) {
            ASSERT_LT(next, std::size(MenuRows)) << "extra menu item " << MenuCaption(popup, i);
            EXPECT_EQ(popupName, MenuRows[next].popup);
            EXPECT_EQ(MenuCaption(popup, i), MenuRows[next].item);
            EXPECT_EQ(static_cast<int>(GetMenuItemID(popup, i)), MenuRows[next].id);
        }
    }
    EXPECT_EQ(next, std::size(MenuRows));
    DestroyMenu(menu);
    FreeLibrary(module);
}

TEST(ProgramResources, IconAndManifestAreThere)
{
    HMODULE module = ProgramResources();
    ASSERT_NE(module, nullptr);
    EXPECT_NE(FindResourceA(module, MAKEINTRESOURCEA(IDI_TESSALY), MAKEINTRESOURCEA(14)), nullptr)
        << "group icon IDI_TESSALY";
    std::string manifest = ResourceText(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos) << manifest;
    EXPECT_NE(manifest.find("uiAccess=\"false\""), std::string::npos);
    EXPECT_NE(manifest.find(">true</dpiAware>"), std::string::npos);
    EXPECT_EQ(manifest.find("Common-Controls"), std::string::npos)
        << "the classic control look: no common-controls dependency";
    FreeLibrary(module);
}

TEST_F(ProgramTest, EachViewItemShowsItsPanelAlone)
{
    // Every view from every other view, including itself again.
    for (Panel from : AllPanels) {
        ASSERT_EQ(ChooseView(program, NameOf(from)), Settled::Done);
        for (Panel to : AllPanels) {
            SCOPED_TRACE(std::string("from ") + LowerNameOf(from) + " to " + LowerNameOf(to));
            ASSERT_EQ(ChooseView(program, NameOf(to)), Settled::Done);
            ExpectOnlyPanelShown(to);
            ASSERT_EQ(ChooseView(program, NameOf(from)), Settled::Done);
        }
    }
    for (Panel panel : AllPanels) {
        ASSERT_EQ(ChooseView(program, NameOf(panel)), Settled::Done);
        SaveScreenshot(program.main, std::string("view-") + LowerNameOf(panel));
    }
}

TEST_F(ProgramTest, BootloaderShowsTheStepsUntilTheNextCommand)
{
    ASSERT_EQ(ChooseMenu(program, "File", "Bootloader"), Settled::Done);
    if (HWND tool = WaitForWindow("TessalyBootLoaderStandIn", "Boot Loader", 15000))
        CloseWindowProcess(tool);
    ExpectNoPanelShown();
    EXPECT_TRUE(Shown(IDC_STEPS_BOX));
    SaveScreenshot(program.main, "view-bootloader");

    // Typing into a box notifies the window with a non-zero code: no command, the steps stay.
    SetTextOf(ControlOf(IDC_VOLTAGE_BOX), "12");
    EXPECT_TRUE(Shown(IDC_STEPS_BOX));

    // Read Me is a command too: it hides the steps and shows no panel.
    ASSERT_EQ(ChooseMenu(program, "About", "Read Me"), Settled::Done);
    EXPECT_FALSE(Shown(IDC_STEPS_BOX));
    ExpectNoPanelShown();

    ASSERT_EQ(ChooseMenu(program, "File", "Bootloader"), Settled::Done);
    if (HWND tool = WaitForWindow("TessalyBootLoaderStandIn", "Boot Loader", 15000))
        CloseWindowProcess(tool);
    ASSERT_EQ(ChooseView(program, NameOf(Panel::Trigger)), Settled::Done);
    ExpectOnlyPanelShown(Panel::Trigger);
}

TEST_F(ProgramTest, SwitchingAwayAndBackKeepsTextsChoicesAndLog)
{
    SetTextOf(ControlOf(IDC_VOLTAGE_BOX), "230");
    ASSERT_EQ(Click(program, ControlOf(IDC_RANGE_LOW)), Settled::Done); // "Low (135V)"
    ASSERT_EQ(Click(program, ControlOf(IDC_SET_OUTPUT)),
              Settled::Done); // "Set Output" with no choice
    std::string log = OutputOf(Panel::Command);
    ASSERT_FALSE(log.empty());

    ASSERT_EQ(ChooseView(program, NameOf(Panel::Trigger)), Settled::Done);
    ASSERT_EQ(ChooseView(program, NameOf(Panel::Command)), Settled::Done);
    EXPECT_EQ(TextOf(ControlOf(IDC_VOLTAGE_BOX)), "230");
    EXPECT_EQ(SendMessageA(ControlOf(IDC_RANGE_LOW), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(ControlOf(IDC_RANGE_HIGH), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(OutputOf(Panel::Command), log);
}

TEST_F(ProgramTest, ManufacturerTabEmptiesThePasswordBoxesButACommandDoesNot)
{
    ASSERT_EQ(ChooseView(program, NameOf(Panel::Manufacturer)), Settled::Done);
    SetTextOf(ControlOf(IDC_CURRENT_PASSWORD_BOX), "old,\"pw");
    SetTextOf(ControlOf(IDC_NEW_PASSWORD_BOX), "new");
    ASSERT_EQ(Click(program, ControlOf(IDC_PASSWORD_CDIS)), Settled::Done); // "SYST:PASS:CDIS"
    EXPECT_EQ(TextOf(ControlOf(IDC_CURRENT_PASSWORD_BOX)), "old,\"pw");
    EXPECT_EQ(TextOf(ControlOf(IDC_NEW_PASSWORD_BOX)), "new");

    ASSERT_EQ(ChooseView(program, NameOf(Panel::Manufacturer)),
              Settled::Done); // the same view again
    EXPECT_EQ(TextOf(ControlOf(IDC_CURRENT_PASSWORD_BOX)), "");
    EXPECT_EQ(TextOf(ControlOf(IDC_NEW_PASSWORD_BOX)), "");

    SetTextOf(ControlOf(IDC_CURRENT_PASSWORD_BOX), "a");
    SetTextOf(ControlOf(IDC_NEW_PASSWORD_BOX), "b");
    SetTextOf(ControlOf(IDC_VOLTAGE_BOX), "5");
    ASSERT_EQ(ChooseView(program, NameOf(Panel::Command)), Settled::Done);
    EXPECT_EQ(TextOf(ControlOf(IDC_CURRENT_PASSWORD_BOX)), "a")
        << "only the Manufacturer tab empties";
    ASSERT_EQ(ChooseView(program, NameOf(Panel::Manufacturer)), Settled::Done);
    EXPECT_EQ(TextOf(ControlOf(IDC_CURRENT_PASSWORD_BOX)), "");
    EXPECT_EQ(TextOf(ControlOf(IDC_NEW_PASSWORD_BOX)), "");
    EXPECT_EQ(TextOf(ControlOf(IDC_VOLTAGE_BOX)), "5") << "other entry boxes stay";
}

TEST_F(ProgramTest, ClosingTheWindowEndsTheProgramWithExitCodeZero)
{
    EXPECT_EQ(CloseProgram(program), 0u);
    EXPECT_FALSE(ProgramRunning(program));
}
