// File > Bootloader, About > Read Me and the Configuration dialog's Discover button in the real
// program: the steps box and the bootloader tool that it starts, the About box and its logo, and
// a discovery run while the TCP link to tessaly-sim is open. None of them may disturb the link.
#include <cstdlib>
#include <cstring>

#include "link/discovery.h"
#include "link/socket_win.h"
#include "res/resource.h"
#include "support/sim_control.h"
#include "tests/e2e/gui_fixture.h"

namespace
{

// The stand-in bootloader tool that the build puts into the "Boot Loader" folder.
constexpr const char* ToolClass = "TessalyBootLoaderStandIn";
constexpr const char* ToolTitle = "Boot Loader";
constexpr DWORD ToolStartMs = 15000;

constexpr const char* QuerySent = "MEAS:VOLT?\n";

// The About template in dialog units: 219 x 81, then its three controls in order.
constexpr int AboutWidth = 219;
constexpr int AboutHeight = 81;
struct AboutItem {
    const char* text; // nullptr: the logo
    int x, y, width, height;
};
constexpr AboutItem AboutItems[] = {
    {nullptr, 6, 6, 207, 57},
    {"SCPI Remote Control Interface", 6, 66, 100, 8},
    {"Software Version: 1.0", 144, 66, 71, 8},
};
constexpr int LogoWidth = 310;
constexpr int LogoHeight = 92;

std::string ProgramPath()
{
    const char* path = std::getenv("TESSALY_PROGRAM");
    return path == nullptr ? "" : path;
}

// The tool's file name differs between the two deliverables.
std::string ToolName()
{
    std::string program = ProgramPath();
    const std::string xp = "Tessaly-xp.exe";
    bool isXp = program.size() >= xp.size() &&
                _stricmp(program.c_str() + program.size() - xp.size(), xp.c_str()) == 0;
    return isXp ? "Varnock Boot Loader_WinXP.exe" : "Varnock Boot Loader_Win7.exe";
}

// Ends every stand-in tool that is still open, from this test or an earlier one.
void CloseAllTools()
{
    for (int i = 0; i < 10; ++i) {
        HWND tool = WaitForWindow(ToolClass, ToolTitle, 0);
        if (tool == nullptr)
            return;
        CloseWindowProcess(tool);
    }
}

// Dialog units of the About box to its pixels, from its client area's size in both.
int ToPixels(int units, int pixelsOfWhole, int unitsOfWhole)
{
    return MulDiv(units, pixelsOfWhole, unitsOfWhole);
}

class ShellTest : public ProgramTest
{
  protected:
    void SetUp() override
    {
        CloseAllTools();
        ProgramTest::SetUp();
    }
    void TearDown() override
    {
        ProgramTest::TearDown();
        CloseAllTools();
    }

    // A query over the link reaches the simulator and its answer is shown.
    void ExpectLinkWorks()
    {
        SimClear();
        std::string answer = SimControl("get MEAS:VOLT");
        ASSERT_EQ(Click(program, ControlOf(IDC_GET_VOLTAGE)), Settled::Done)
            << StatusBoxText(FindStatusBox(program));
        EXPECT_EQ(SimReceived(std::strlen(QuerySent)), QuerySent);
        std::string entry = "Sending command:  MEAS:VOLT?\r\n \r\n" + answer + "\r\n \r\n";
        std::string log = OutputOf(Panel::Command);
        EXPECT_EQ(log.substr(0, entry.size()), entry) << "the newest entry";
        EXPECT_EQ(SimConnections(), 1);
    }
};

// The program copied alone into an empty folder: no "Boot Loader" folder beside it.
class ProgramWithoutToolTest : public ShellTest
{
  protected:
    void SetUp() override
    {
        original = ProgramPath();
        ASSERT_FALSE(original.empty());
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + "tessaly-alone-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder.c_str(), nullptr);
        copy = folder + original.substr(original.find_last_of('\\'));
        ASSERT_TRUE(CopyFileA(original.c_str(), copy.c_str(), FALSE)) << copy;
        _putenv_s("TESSALY_PROGRAM", copy.c_str());
        ShellTest::SetUp();
    }
    void TearDown() override
    {
        ShellTest::TearDown();
        _putenv_s("TESSALY_PROGRAM", original.c_str());
        DeleteFileA(copy.c_str());
        RemoveDirectoryA(folder.c_str());
    }

    std::string original, folder, copy;
};

// The picture control shows the logo bitmap (IDB_LOGO) of the program's file (310 x 92, 256
// colours) pixel for pixel. The control's own bitmap handle is of no use here: it belongs to the
// program's process.
void ExpectLogoShown(HWND picture)
{
    HMODULE module = LoadLibraryExA(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    auto logo = static_cast<HBITMAP>(
        LoadImageA(module, MAKEINTRESOURCEA(IDB_LOGO), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    FreeLibrary(module);
    ASSERT_NE(logo, nullptr) << "no bitmap IDB_LOGO";
    DIBSECTION dib{};
    ASSERT_EQ(GetObjectA(logo, sizeof dib, &dib), static_cast<int>(sizeof dib));
    EXPECT_EQ(dib.dsBm.bmWidth, LogoWidth);
    EXPECT_EQ(dib.dsBm.bmHeight, LogoHeight);
    EXPECT_EQ(dib.dsBm.bmBitsPixel, 8);

    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, logo);
    int differing = 0;
    for (int y = 1; y < LogoHeight; y += 7) {
        for (int x = 1; x < LogoWidth; x += 11) {
            if (GetPixel(memory, x, y) != ScreenPixel(picture, x, y))
                ++differing;
        }
    }
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(logo);
    EXPECT_EQ(differing, 0) << "points of the logo not shown as in bitmap IDB_LOGO";
}

// Whether this network has a route for the limited broadcast that the discovery question goes to.
// Connecting a UDP socket looks the route up without sending anything.
bool BroadcastRoutable()
{
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
        return false;
    SOCKET udp = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    BOOL on = TRUE;
    setsockopt(udp, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&on), sizeof on);
    const sockaddr_in everyone = DiscoveryBroadcastAddress();
    bool routable =
        udp != INVALID_SOCKET &&
        connect(udp, reinterpret_cast<const sockaddr*>(&everyone), sizeof everyone) == 0;
    if (udp != INVALID_SOCKET)
        closesocket(udp);
    WSACleanup();
    return routable;
}

} // namespace

TEST_F(ShellTest, BootloaderShowsTheStepsStartsTheToolAndKeepsTheLinkOpen)
{
    OpenTcpLink(true);
    ASSERT_EQ(WaitForWindow(ToolClass, ToolTitle, 0), nullptr) << "a tool left from before";

    ASSERT_EQ(ChooseMenu(program, "File", "Bootloader"), Settled::Done);
    ExpectNoPanelShown();
    EXPECT_TRUE(Shown(IDC_STEPS_BOX));
    EXPECT_EQ(TextOf(ControlOf(IDC_STEPS_BOX)), StepsText);

    HWND tool = WaitForWindow(ToolClass, ToolTitle, ToolStartMs);
    ASSERT_NE(tool, nullptr) << "the bootloader tool did not start";
    DWORD toolProcess = 0;
    GetWindowThreadProcessId(tool, &toolProcess);
    EXPECT_NE(toolProcess, program.process.dwProcessId) << "the tool is a process of its own";
    // The stand-in shows its own path: the tool's name in the folder beside the program.
    std::string toolText = TextOf(GetDlgItem(tool, IDC_BOOT_TOOL_TEXT));
    std::string programFolder = ProgramPath().substr(0, ProgramPath().find_last_of('\\'));
    EXPECT_NE(toolText.find(programFolder), std::string::npos) << toolText;
    EXPECT_NE(toolText.find("Boot Loader\\" + ToolName()), std::string::npos) << toolText;
    SaveScreenshot(tool, "bootloader-tool");
    EXPECT_TRUE(CloseWindowProcess(tool)) << "the tool did not end on WM_CLOSE";

    EXPECT_TRUE(Shown(IDC_STEPS_BOX)) << "the steps stay while the tool comes and goes";
    SaveScreenshot(ControlOf(IDC_STEPS_BOX), "bootloader-steps");
    EXPECT_EQ(SimConnections(), 1) << "the link stays open";
    EXPECT_EQ(SimRecord("tcp"), "") << "nothing was sent to the instrument";

    ASSERT_EQ(ChooseView(program, NameOf(Panel::Command)), Settled::Done);
    ExpectOnlyPanelShown(Panel::Command);
    ExpectLinkWorks();
}

TEST_F(ProgramWithoutToolTest, BootloaderWithoutTheToolShowsTheStepsAndSaysWhichFileIsMissing)
{
    ASSERT_EQ(ChooseMenu(program, "File", "Bootloader"), Settled::StatusBox);
    EXPECT_TRUE(Shown(IDC_STEPS_BOX)) << "the steps stand behind the box";
    ExpectNoPanelShown();
    std::vector<std::string> boxes = AnswerAllStatusBoxes(program);
    ASSERT_EQ(boxes.size(), 1u) << "one box about the missing tool";
    std::string looked = folder + "\\Boot Loader\\" + ToolName();
    EXPECT_EQ(boxes[0],
              "The bootloader tool could not be started. It was looked for here:\r\n" + looked);
    EXPECT_EQ(WaitForWindow(ToolClass, ToolTitle, 0), nullptr);
    EXPECT_TRUE(Shown(IDC_STEPS_BOX));

    // The program goes on working: a view, and a query over the link.
    ASSERT_EQ(ChooseView(program, NameOf(Panel::Status)), Settled::Done);
    ExpectOnlyPanelShown(Panel::Status);
    OpenTcpLink(true);
    ASSERT_EQ(ChooseView(program, NameOf(Panel::Command)), Settled::Done);
    ExpectLinkWorks();
}

TEST_F(ShellTest, AboutShowsTitleVersionAndLogo)
{
    ASSERT_EQ(ChooseMenu(program, "About", "Read Me"), Settled::Done);
    HWND about = FindProgramDialog(program, "About");
    ASSERT_NE(about, nullptr) << "no About dialog";
    EXPECT_EQ(GetWindow(about, GW_OWNER), program.main);
    DWORD style = static_cast<DWORD>(GetWindowLongA(about, GWL_STYLE));
    const DWORD frame = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    EXPECT_EQ(style & frame, frame);
    EXPECT_EQ(GetMenu(about), nullptr);

    RECT client{};
    GetClientRect(about, &client);
    std::vector<HWND> children = ChildrenOf(about);
    ASSERT_EQ(children.size(), std::size(AboutItems));
    for (std::size_t i = 0; i < children.size(); ++i) {
        const AboutItem& item = AboutItems[i];
        SCOPED_TRACE("control " + std::to_string(i));
        EXPECT_STRCASEEQ(ClassOf(children[i]).c_str(), "Static");
        EXPECT_EQ(GetDlgCtrlID(children[i]), -1) << "no id";
        Place place = PlaceOf(children[i]);
        EXPECT_NEAR(place.x, ToPixels(item.x, client.right, AboutWidth), 1);
        EXPECT_NEAR(place.y, ToPixels(item.y, client.bottom, AboutHeight), 1);
        DWORD childStyle = static_cast<DWORD>(GetWindowLongA(children[i], GWL_STYLE));
        if (item.text != nullptr) {
            EXPECT_EQ(TextOf(children[i]), item.text);
            EXPECT_EQ(childStyle & SS_TYPEMASK, static_cast<DWORD>(SS_LEFT));
            EXPECT_NEAR(place.width, ToPixels(item.width, client.right, AboutWidth), 1);
            EXPECT_NEAR(place.height, ToPixels(item.height, client.bottom, AboutHeight), 1);
            continue;
        }
        // The picture: a bitmap, and the control takes the bitmap's own size.
        EXPECT_EQ(childStyle & SS_TYPEMASK, static_cast<DWORD>(SS_BITMAP));
        EXPECT_NE(SendMessageA(children[i], STM_GETIMAGE, IMAGE_BITMAP, 0), 0)
            << "no bitmap in the picture control";
        EXPECT_EQ(place.width, LogoWidth);
        EXPECT_EQ(place.height, LogoHeight);
    }
    SaveScreenshot(about, "about");
    ExpectLogoShown(children[0]);
}
TEST_F(ShellTest, ReadMeWhileAboutIsOpenBringsTheSameBoxBackAndAClosedOneComesAnew)
{
    ASSERT_EQ(ChooseMenu(program, "About", "Read Me"), Settled::Done);
    HWND about = FindProgramDialog(program, "About");
    ASSERT_NE(about, nullptr);
    ASSERT_EQ(ChooseMenu(program, "About", "Read Me"), Settled::Done);
    EXPECT_EQ(CountProgramDialogs(program, "About"), 1);
    EXPECT_EQ(FindProgramDialog(program, "About"), about);

    ASSERT_EQ(PostAndWait(program, about, WM_CLOSE), Settled::Done);
    EXPECT_FALSE(IsWindow(about));
    EXPECT_EQ(CountProgramDialogs(program, "About"), 0);

    // The closed box is forgotten: Read Me makes a new one.
    ASSERT_EQ(ChooseMenu(program, "About", "Read Me"), Settled::Done);
    HWND again = FindProgramDialog(program, "About");
    ASSERT_NE(again, nullptr) << "Read Me after closing the box showed nothing";
    EXPECT_EQ(CountProgramDialogs(program, "About"), 1);

    EXPECT_EQ(PressKey(program, again, VK_ESCAPE), Settled::Done);
    EXPECT_FALSE(IsWindow(again)) << "Escape closes the About box";
}

TEST_F(ShellTest, ClosingTheWindowWithAboutAndConfigurationOpenEndsCleanly)
{
    OpenTcpLink(false);
    ASSERT_EQ(ChooseMenu(program, "About", "Read Me"), Settled::Done);
    HWND about = FindProgramDialog(program, "About");
    HWND dialog = FindProgramDialog(program, "Configuration");
    ASSERT_NE(about, nullptr);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(CloseProgram(program), 0u);
    EXPECT_FALSE(IsWindow(about));
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_TRUE(WaitSimConnections(0));
}

// The test run's private network has loopback only (tests/e2e/run.sh), and then no route for the
// limited broadcast: the run stops at the question, says so, and the status box keeps
// "Disconnected". On a network with such a route and no instrument, the quiet second ends it.
TEST_F(ShellTest, DiscoverWithTheTcpLinkOpenShowsItsOutcomeAndKeepsTheLink)
{
    OpenTcpLink(false);
    HWND dialog = FindProgramDialog(program, "Configuration");
    ASSERT_NE(dialog, nullptr);
    HWND status = DialogControl(dialog, IDC_STATUS_TEXT);
    if (BroadcastRoutable()) {
        ASSERT_EQ(Click(program, DialogControl(dialog, IDC_DISCOVER)), Settled::Done);
        EXPECT_EQ(TextOf(status), " No Devices Discovered");
    } else {
        ASSERT_EQ(Click(program, DialogControl(dialog, IDC_DISCOVER)), Settled::StatusBox);
        EXPECT_EQ(AnswerAllStatusBoxes(program), std::vector<std::string>{"sendto Status = -1"});
        EXPECT_EQ(TextOf(status), "Disconnected");
    }
    SaveScreenshot(dialog, "discovery");
    EXPECT_EQ(SimConnections(), 1);
    EXPECT_EQ(SimRecord("tcp"), "") << "discovery sent nothing over the link";
    ExpectLinkWorks();
}
