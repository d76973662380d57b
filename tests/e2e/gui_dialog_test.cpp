// The Configuration dialog: its template, the choices it starts with, the link flag states that
// its buttons move between, its keyboard handling, and the guard against a second action while a
// "Status" box is up.
#include <cstdlib>
#include <cstring>

#include "link/link.h"
#include "res/resource.h"
#include "support/sim_control.h"
#include "tests/e2e/gui_fixture.h"

namespace
{

constexpr WORD ButtonClass = 0x80;
constexpr WORD EditClass = 0x81;
constexpr WORD StaticClass = 0x82;
constexpr WORD ListBoxClass = 0x83;
constexpr WORD ComboBoxClass = 0x85;

struct TemplateItem {
    int id;
    WORD windowClass;
    const char* text;
    short x, y, width, height;
    DWORD style; // bits that must be set; for buttons also the button type
};

constexpr DWORD EditStyle = WS_BORDER | ES_AUTOHSCROLL | ES_MULTILINE;
constexpr DWORD DropDownStyle = CBS_DROPDOWNLIST | WS_VSCROLL;

constexpr TemplateItem ConfigurationItems[] = {
    {IDOK, ButtonClass, "Open", 276, 12, 50, 14, BS_DEFPUSHBUTTON},
    {IDCANCEL, ButtonClass, "Close", 276, 36, 50, 14, BS_PUSHBUTTON},
    {IDC_STATIC, ButtonClass, "USB/RS-232 Configuration", 6, 6, 192, 48, BS_GROUPBOX},
    {IDC_IP_ADDRESS, EditClass, "", 60, 72, 78, 14, EditStyle},
    {IDC_TCP_PORT, EditClass, "", 60, 90, 78, 14, EditStyle},
    {IDC_BAUD_RATE, ComboBoxClass, "", 144, 24, 48, 100, DropDownStyle},
    {IDC_COMPORT, ComboBoxClass, "", 48, 24, 48, 100, DropDownStyle},
    {IDC_STATIC, StaticClass, "Comport:", 12, 24, 31, 8, 0},
    {IDC_STATIC, StaticClass, "Baud Rate:", 102, 24, 37, 8, 0},
    {IDC_STATIC, StaticClass, "Note: Baud rate is only used for RS-232 configuration", 12, 42, 172,
     8, 0},
    {IDC_STATIC, ButtonClass, "Ethernet Configuration", 6, 60, 138, 48, BS_GROUPBOX},
    {IDC_STATIC, StaticClass, "IP Address:", 12, 73, 38, 8, 0},
    {IDC_STATIC, StaticClass, "TCP Port:", 18, 90, 32, 8, 0},
    {IDC_LINK_KIND, ListBoxClass, "", 204, 12, 66, 40,
     LBS_NOTIFY | WS_BORDER | WS_VSCROLL | LBS_NOINTEGRALHEIGHT},
    {IDC_DISCOVER, ButtonClass, "Discover Ethernet Devices", 150, 66, 102, 14, BS_PUSHBUTTON},
    {IDC_STATUS_TEXT, EditClass, "", 336, 6, 186, 96,
     ES_MULTILINE | ES_READONLY | ES_AUTOHSCROLL | WS_VSCROLL | WS_BORDER},
};

constexpr const char* ClassNames[] = {"Button",  "Edit",      "Static",
                                      "ListBox", "ScrollBar", "ComboBox"};

// Reads the pieces of a DLGTEMPLATEEX resource in order.
struct TemplateReader {
    const BYTE* at;

    template <typename T> T Take()
    {
        T value;
        std::memcpy(&value, at, sizeof value);
        at += sizeof value;
        return value;
    }
    // A string or an ordinal: the ordinal, or 0 and the string.
    WORD TakeNameOrOrdinal(std::string& text)
    {
        text.clear();
        WORD first = Take<WORD>();
        if (first == 0xFFFF)
            return Take<WORD>();
        for (WORD c = first; c != 0; c = Take<WORD>())
            text += static_cast<char>(c);
        return 0;
    }
    void AlignToDword()
    {
        while (reinterpret_cast<std::uintptr_t>(at) % 4 != 0)
            ++at;
    }
};

const BYTE* LoadProgramResource(HMODULE module, int id, LPCSTR type)
{
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), type);
    return found == nullptr ? nullptr
                            : static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
}

int Selection(HWND dialog, int id, UINT message)
{
    return static_cast<int>(SendMessageA(DialogControl(dialog, id), message, 0, 0));
}

} // namespace

TEST(ConfigurationTemplate, HasEveryControlInOrderWithItsPlaceAndStyle)
{
    const char* path = std::getenv("TESSALY_PROGRAM");
    ASSERT_NE(path, nullptr);
    HMODULE module = LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    const BYTE* data = LoadProgramResource(module, IDD_CONFIGURATION, MAKEINTRESOURCEA(5));
    ASSERT_NE(data, nullptr) << "dialog template IDD_CONFIGURATION";
    TemplateReader reader{data};
    EXPECT_EQ(reader.Take<WORD>(), 1);      // extended template version
    EXPECT_EQ(reader.Take<WORD>(), 0xFFFF); // signature
    reader.Take<DWORD>();                   // help id
    EXPECT_EQ(reader.Take<DWORD>(), 0u) << "extended style";
    DWORD style = reader.Take<DWORD>();
    const DWORD frame = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    EXPECT_EQ(style & frame, frame);
    EXPECT_EQ(style & WS_VISIBLE, 0u) << "not visible until shown";
    WORD count = reader.Take<WORD>();
    EXPECT_EQ(reader.Take<short>(), 0);   // x
    EXPECT_EQ(reader.Take<short>(), 0);   // y
    EXPECT_EQ(reader.Take<short>(), 525); // width
    EXPECT_EQ(reader.Take<short>(), 111); // height
    std::string text;
    EXPECT_EQ(reader.TakeNameOrOrdinal(text), 0) << "no menu";
    EXPECT_EQ(reader.TakeNameOrOrdinal(text), 0) << "the standard dialog class";
    EXPECT_EQ(text, "");
    reader.TakeNameOrOrdinal(text);
    EXPECT_EQ(text, "Configuration");
    ASSERT_NE(style & DS_SETFONT, 0u);
    EXPECT_EQ(reader.Take<WORD>(), 8) << "point size";
    reader.Take<WORD>(); // weight
    reader.Take<BYTE>(); // italic
    reader.Take<BYTE>(); // character set
    reader.TakeNameOrOrdinal(text);
    EXPECT_EQ(text, "MS Shell Dlg");

    ASSERT_EQ(count, std::size(ConfigurationItems));
    for (const TemplateItem& expected : ConfigurationItems) {
        SCOPED_TRACE(std::string("control ") + std::to_string(expected.id) + " " + expected.text);
        reader.AlignToDword();
        reader.Take<DWORD>(); // help id
        EXPECT_EQ(reader.Take<DWORD>(), 0u) << "extended style";
        DWORD itemStyle = reader.Take<DWORD>();
        EXPECT_EQ(reader.Take<short>(), expected.x);
        EXPECT_EQ(reader.Take<short>(), expected.y);
        EXPECT_EQ(reader.Take<short>(), expected.width);
        EXPECT_EQ(reader.Take<short>(), expected.height);
        EXPECT_EQ(static_cast<int>(reader.Take<DWORD>()), expected.id);
        EXPECT_EQ(reader.TakeNameOrOrdinal(text), expected.windowClass);
        reader.TakeNameOrOrdinal(text);
        EXPECT_EQ(text, expected.text);
        reader.at += reader.Take<WORD>(); // creation data
        EXPECT_EQ(itemStyle & (WS_CHILD | WS_VISIBLE), static_cast<DWORD>(WS_CHILD | WS_VISIBLE));
        DWORD checked = expected.windowClass == ButtonClass ? BS_TYPEMASK : expected.style;
        EXPECT_EQ(itemStyle & checked, expected.style);
        if (expected.windowClass == ListBoxClass) {
            EXPECT_EQ(itemStyle & LBS_SORT, 0u) << "unsorted";
        }
    }
    FreeLibrary(module);
}

TEST_F(ProgramTest, ConfigurationDialogStartsWithItsChoicesAndNoKindSelected)
{
    HWND dialog = OpenConfiguration();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), program.main);
    std::vector<HWND> children = ChildrenOf(dialog);
    ASSERT_EQ(children.size(), std::size(ConfigurationItems));
    for (std::size_t i = 0; i < children.size(); ++i) {
        const TemplateItem& expected = ConfigurationItems[i];
        EXPECT_EQ(GetDlgCtrlID(children[i]), expected.id) << "position " << i;
        EXPECT_STRCASEEQ(ClassOf(children[i]).c_str(), ClassNames[expected.windowClass - 0x80]);
        if (expected.windowClass != EditClass && expected.windowClass != ComboBoxClass) {
            EXPECT_EQ(TextOf(children[i]), expected.text);
        }
    }

    const char* kinds[] = {"RS-232", "USB", "Ethernet"};
    HWND kindList = DialogControl(dialog, IDC_LINK_KIND);
    ASSERT_EQ(SendMessageA(kindList, LB_GETCOUNT, 0, 0), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(ListText(kindList, LB_GETTEXT, i), kinds[i]);
    EXPECT_EQ(Selection(dialog, IDC_LINK_KIND, LB_GETCURSEL), LB_ERR) << "no kind selected";

    HWND baud = DialogControl(dialog, IDC_BAUD_RATE);
    ASSERT_EQ(SendMessageA(baud, CB_GETCOUNT, 0, 0), BaudChoiceCount);
    for (int i = 0; i < BaudChoiceCount; ++i)
        EXPECT_EQ(ListText(baud, CB_GETLBTEXT, i), BaudLabels[static_cast<std::size_t>(i)]);
    EXPECT_EQ(Selection(dialog, IDC_BAUD_RATE, CB_GETCURSEL), 6);

    HWND port = DialogControl(dialog, IDC_COMPORT);
    ASSERT_EQ(SendMessageA(port, CB_GETCOUNT, 0, 0), 26);
    for (int i = 0; i < 26; ++i)
        EXPECT_EQ(ListText(port, CB_GETLBTEXT, i), std::to_string(i));
    EXPECT_EQ(Selection(dialog, IDC_COMPORT, CB_GETCURSEL), 0);

    EXPECT_EQ(TextOf(DialogControl(dialog, IDC_IP_ADDRESS)), "");
    EXPECT_EQ(TextOf(DialogControl(dialog, IDC_TCP_PORT)), "");
    EXPECT_EQ(TextOf(DialogControl(dialog, IDC_STATUS_TEXT)), "Disconnected");
    SaveScreenshot(dialog, "configuration");
}

TEST_F(ProgramTest, ConfigureWhileTheDialogIsOpenBringsTheSameDialogBack)
{
    HWND dialog = OpenConfiguration();
    ASSERT_NE(dialog, nullptr);
    SetTextOf(DialogControl(dialog, IDC_IP_ADDRESS), "192.0.2.1");
    ASSERT_EQ(ChooseMenu(program, "File", "Configure"), Settled::Done);
    EXPECT_EQ(FindProgramDialog(program, "Configuration"), dialog);
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_EQ(TextOf(DialogControl(dialog, IDC_IP_ADDRESS)), "192.0.2.1") << "the same dialog";
    ASSERT_EQ(PostAndWait(program, dialog, WM_CLOSE), Settled::Done);
    EXPECT_FALSE(IsWindow(dialog));
    HWND again = OpenConfiguration();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(TextOf(DialogControl(again, IDC_IP_ADDRESS)), "") << "a new dialog starts empty";
}

TEST_F(ProgramTest, OpenWithNoKindSelectedDoesNothing)
{
    HWND dialog = OpenConfiguration();
    ASSERT_NE(dialog, nullptr);
    SetTextOf(DialogControl(dialog, IDC_STATUS_TEXT), "unchanged");
    EXPECT_EQ(Click(program, DialogControl(dialog, IDOK)), Settled::Done);
    EXPECT_EQ(TextOf(DialogControl(dialog, IDC_STATUS_TEXT)), "unchanged");
    EXPECT_EQ(SimConnections(), 0);
}

TEST_F(ProgramTest, SerialOpenOfComport0FailsAndLeavesTheLinkClosed)
{
    HWND dialog = OpenConfiguration();
    ASSERT_NE(dialog, nullptr);
    SendMessageA(DialogControl(dialog, IDC_LINK_KIND), LB_SETCURSEL, 0, 0);
    ASSERT_EQ(Click(program, DialogControl(dialog, IDOK)), Settled::StatusBox);
    HWND box = FindStatusBox(program);
    EXPECT_EQ(StatusBoxText(box), "COMPORT failed to open");
    SaveScreenshot(box, "status-box");
    ASSERT_EQ(AnswerStatusBox(program, box), Settled::Done);
    EXPECT_EQ(TextOf(DialogControl(dialog, IDC_STATUS_TEXT)), "Disconnected");

    // The link stays serial and closed: a query fails on the serial side.
    ASSERT_EQ(Click(program, ControlOf(IDC_GET_VOLTAGE)), Settled::Done);
    EXPECT_EQ(OutputOf(Panel::Command),
              "Sending command:  MEAS:VOLT?\r\n \r\n" + std::string(ReadFailureText) + "\r\n \r\n");
}

TEST_F(ProgramTest, SerialLinkOnComport12CarriesCommandsUntilClosed)
{
    HANDLE port = CreateFileA("\\\\.\\COM12", GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (port == INVALID_HANDLE_VALUE)
        GTEST_SKIP() << "no COM12 in this Wine prefix (tests/e2e/run.sh links the simulator there)";
    CloseHandle(port);
    HWND dialog = OpenConfiguration();
    ASSERT_NE(dialog, nullptr);
    SendMessageA(DialogControl(dialog, IDC_LINK_KIND), LB_SETCURSEL, 0, 0); // RS-232
    SendMessageA(DialogControl(dialog, IDC_COMPORT), CB_SETCURSEL, 12, 0);
    ASSERT_EQ(Click(program, DialogControl(dialog, IDOK)), Settled::Done)
        << StatusBoxText(FindStatusBox(program));
    EXPECT_EQ(TextOf(DialogControl(dialog, IDC_STATUS_TEXT)), "Serial Connection Opened");

    SimClear();
    std::string answer = SimControl("get MEAS:VOLT");
    ASSERT_EQ(Click(program, ControlOf(IDC_GET_VOLTAGE)), Settled::Done);
    EXPECT_EQ(SimRecord("serial"), "MEAS:VOLT?\n");
    EXPECT_EQ(OutputOf(Panel::Command),
              "Sending command:  MEAS:VOLT?\r\n \r\n" + answer + "\r\n \r\n");

    EXPECT_EQ(Click(program, DialogControl(dialog, IDCANCEL)), Settled::Done);
    EXPECT_EQ(TextOf(DialogControl(dialog, IDC_STATUS_TEXT)), "Disconnected");
    ASSERT_EQ(Click(program, ControlOf(IDC_CLS)), Settled::Done); // "*CLS" on the closed port
    EXPECT_EQ(SimRecord("serial"), "MEAS:VOLT?\n") << "nothing more reached the instrument";
}

TEST_F(ProgramTest, EthernetOpenIgnoresASecondOpenAndCloseEndsTheConnection)
{
    OpenTcpLink(false);
    HWND dialog = FindProgramDialog(program, "Configuration");
    ASSERT_NE(dialog, nullptr);
    HWND status = DialogControl(dialog, IDC_STATUS_TEXT);

    // Open while open: ignored, even for another kind.
    SendMessageA(DialogControl(dialog, IDC_LINK_KIND), LB_SETCURSEL, 0, 0);
    EXPECT_EQ(Click(program, DialogControl(dialog, IDOK)), Settled::Done);
    EXPECT_EQ(TextOf(status), "Connected to server");
    EXPECT_EQ(SimConnections(), 1);

    EXPECT_EQ(Click(program, DialogControl(dialog, IDCANCEL)), Settled::Done);
    EXPECT_EQ(TextOf(status), "Disconnected");
    EXPECT_TRUE(WaitSimConnections(0)) << "the simulator still sees the connection";

    // Close while closed only says so again.
    SetTextOf(status, "something else");
    EXPECT_EQ(Click(program, DialogControl(dialog, IDCANCEL)), Settled::Done);
    EXPECT_EQ(TextOf(status), "Disconnected");

    // The link was TCP last: commands still go to the closed TCP link.
    ASSERT_EQ(Click(program, ControlOf(IDC_GET_VOLTAGE)), Settled::Done);
    EXPECT_EQ(OutputOf(Panel::Command),
              "Sending command:  MEAS:VOLT?\r\n \r\n" + std::string(EthTimeoutText) + "\r\n \r\n");
}

TEST_F(ProgramTest, EthernetOpenToAPortWithoutServerReportsIt)
{
    HWND dialog = OpenConfiguration();
    ASSERT_NE(dialog, nullptr);
    SendMessageA(DialogControl(dialog, IDC_LINK_KIND), LB_SETCURSEL, 2, 0);
    SetTextOf(DialogControl(dialog, IDC_IP_ADDRESS), "127.0.0.1");
    SetTextOf(DialogControl(dialog, IDC_TCP_PORT), "1");
    ASSERT_EQ(Click(program, DialogControl(dialog, IDOK)), Settled::StatusBox);
    EXPECT_EQ(AnswerAllStatusBoxes(program),
              std::vector<std::string>{"Unable to connect to server"});
    EXPECT_EQ(TextOf(DialogControl(dialog, IDC_STATUS_TEXT)), "Disconnected");

    // A failed TCP open leaves the serial side chosen.
    ASSERT_EQ(Click(program, ControlOf(IDC_GET_VOLTAGE)), Settled::Done);
    EXPECT_EQ(OutputOf(Panel::Command),
              "Sending command:  MEAS:VOLT?\r\n \r\n" + std::string(ReadFailureText) + "\r\n \r\n");
}

TEST_F(ProgramTest, ClosingTheDialogKeepsTheLinkAndANewDialogSaysConnected)
{
    OpenTcpLink(true);
    EXPECT_EQ(SimConnections(), 1);
    HWND dialog = OpenConfiguration();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(TextOf(DialogControl(dialog, IDC_STATUS_TEXT)), "Connected");
    EXPECT_EQ(Selection(dialog, IDC_LINK_KIND, LB_GETCURSEL), LB_ERR);
    EXPECT_EQ(TextOf(DialogControl(dialog, IDC_IP_ADDRESS)), "");
    EXPECT_EQ(TextOf(DialogControl(dialog, IDC_TCP_PORT)), "");
}

TEST_F(ProgramTest, KeysMoveBetweenDialogControlsButNeverCloseTheLink)
{
    OpenTcpLink(false);
    HWND dialog = FindProgramDialog(program, "Configuration");
    ASSERT_NE(dialog, nullptr);
    HWND open = DialogControl(dialog, IDOK);
    HWND close = DialogControl(dialog, IDCANCEL);
    HWND address = DialogControl(dialog, IDC_IP_ADDRESS);

    EXPECT_EQ(FocusOf(program), open) << "the dialog starts with Open focused";
    EXPECT_EQ(PressKey(program, open, VK_TAB), Settled::Done);
    EXPECT_EQ(FocusOf(program), close) << "Tab moves to Close";

    // Escape and Enter on the focused Close button leave the link and the dialog alone.
    EXPECT_EQ(PressKey(program, close, VK_ESCAPE), Settled::Done);
    EXPECT_EQ(PressKey(program, close, VK_RETURN), Settled::Done);
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_EQ(TextOf(DialogControl(dialog, IDC_STATUS_TEXT)), "Connected to server");
    EXPECT_EQ(SimConnections(), 1);

    EXPECT_EQ(PressKey(program, close, VK_TAB), Settled::Done);
    EXPECT_EQ(FocusOf(program), address) << "Tab moves on to the IP Address box";
    EXPECT_EQ(PressKey(program, address, VK_ESCAPE), Settled::Done);
    EXPECT_TRUE(IsWindow(dialog)) << "Escape in a box closes nothing either";
    EXPECT_EQ(SimConnections(), 1);

    // A Close command that does not come from the button is ignored too.
    EXPECT_EQ(PostAndWait(program, dialog, WM_COMMAND, IDCANCEL, 0), Settled::Done);
    EXPECT_EQ(SimConnections(), 1);

    EXPECT_EQ(Click(program, close), Settled::Done);
    EXPECT_TRUE(WaitSimConnections(0)) << "the Close button itself closes the link";
}

TEST_F(ProgramTest, WhileAStatusBoxIsUpFurtherClicksAndMenuChoicesAreIgnored)
{
    HWND dialog = OpenConfiguration();
    ASSERT_NE(dialog, nullptr);
    SendMessageA(DialogControl(dialog, IDC_LINK_KIND), LB_SETCURSEL, 0, 0);
    ASSERT_EQ(Click(program, DialogControl(dialog, IDOK)), Settled::StatusBox);
    HWND box = FindStatusBox(program);
    ASSERT_NE(box, nullptr);

    EXPECT_EQ(Click(program, ControlOf(IDC_CLS)), Settled::StatusBox);
    EXPECT_EQ(OutputOf(Panel::Command), "") << "no command ran inside the box";
    EXPECT_EQ(ChooseView(program, NameOf(Panel::Trigger)), Settled::StatusBox);
    EXPECT_TRUE(Shown(IDC_COMMAND_OUTPUT_BOX)) << "the view did not change";
    EXPECT_EQ(Click(program, DialogControl(dialog, IDOK)), Settled::StatusBox);
    EXPECT_EQ(PostAndWait(program, dialog, WM_CLOSE), Settled::StatusBox);
    EXPECT_TRUE(IsWindow(dialog)) << "the dialog stays while its action runs";
    EXPECT_EQ(PostAndWait(program, program.main, WM_CLOSE), Settled::StatusBox);
    EXPECT_TRUE(IsWindow(program.main)) << "the window stays while a command runs";

    EXPECT_EQ(AnswerAllStatusBoxes(program), std::vector<std::string>{"COMPORT failed to open"})
        << "one box: the second Open did not run";
    EXPECT_EQ(Click(program, ControlOf(IDC_CLS)), Settled::Done);
    EXPECT_EQ(OutputOf(Panel::Command), "Sending command:  *CLS\r\n \r\n") << "clicks work again";
}

TEST_F(ProgramTest, WhileAQueryWaitsInAStatusBoxOtherCommandsAreIgnored)
{
    OpenTcpLink(true);
    ASSERT_EQ(SimControl("fault close"), "ok");
    ASSERT_EQ(Click(program, ControlOf(IDC_GET_VOLTAGE)), Settled::StatusBox);
    HWND box = FindStatusBox(program);
    EXPECT_EQ(StatusBoxText(box), "Ethernet Connection Closed");
    EXPECT_EQ(Click(program, ControlOf(IDC_RST)), Settled::StatusBox);
    EXPECT_EQ(ChooseMenu(program, "File", "Configure"), Settled::StatusBox);
    EXPECT_EQ(FindProgramDialog(program, "Configuration"), nullptr);
    EXPECT_EQ(OutputOf(Panel::Command), "");
    ASSERT_EQ(AnswerStatusBox(program, box), Settled::Done);
    SimControl("fault none");
    EXPECT_EQ(OutputOf(Panel::Command),
              "Sending command:  MEAS:VOLT?\r\n \r\nNo Response Read\r\n \r\n");
}

TEST_F(ProgramTest, ClosingTheWindowWithTheLinkOpenEndsTheConnection)
{
    OpenTcpLink(true);
    EXPECT_EQ(SimConnections(), 1);
    EXPECT_EQ(CloseProgram(program), 0u);
    EXPECT_TRUE(WaitSimConnections(0)) << "the simulator still sees the connection";
}
