// Output boxes over a long session: each command inserts only its entry at the top of the box,
// and after every command the box holds the panel's whole log byte for byte, however long it has
// grown, with the newest entry in view.
#include <string>

#include "res/resource.h"
#include "tests/e2e/gui_fixture.h"

namespace
{

using OutputBoxTest = ProgramTest;

TEST_F(OutputBoxTest, LongLogIsNeverCutAndNewestEntryIsOnTop)
{
    // With no link open the free line is still echoed; 450 entries of about 110 bytes make a log
    // well past the 30,000 characters an edit box takes by default.
    std::string expected;
    HWND box = ControlOf(OutputBoxId(Panel::Command));
    for (int i = 0; i < 450; ++i) {
        std::string text = "LINE" + std::to_string(i) + ":" + std::string(80, 'x');
        ASSERT_TRUE(SetTextOf(ControlOf(IDC_FREE_LINE_BOX), text));
        ASSERT_EQ(Click(program, ControlOf(IDC_SEND_FREE_LINE)), Settled::Done);
        expected = "Sending command:  " + text + "\r\n\r\n \r\n" + expected;
        if (i % 150 == 149) {
            ASSERT_EQ(TextOf(box), expected) << "after " << i + 1 << " entries";
        }
    }
    EXPECT_GT(expected.size(), 45000u);
    EXPECT_EQ(TextOf(box), expected);
    EXPECT_EQ(SendMessageA(box, EM_GETFIRSTVISIBLELINE, 0, 0), 0);

    ASSERT_EQ(Click(program, ControlOf(IDC_COMMAND_CLEAR_DISPLAY)), Settled::Done);
    EXPECT_EQ(TextOf(box), "");
    ASSERT_TRUE(SetTextOf(ControlOf(IDC_FREE_LINE_BOX), "*CLS"));
    ASSERT_EQ(Click(program, ControlOf(IDC_SEND_FREE_LINE)), Settled::Done);
    EXPECT_EQ(TextOf(box), "Sending command:  *CLS\r\n\r\n \r\n");
}

TEST_F(OutputBoxTest, EntriesWithLoneLineFeedsStayByteIdentical)
{
    // "*IDN?" puts a lone line feed after its answer; the box must keep it as it is.
    OpenTcpLink();
    ASSERT_EQ(ChooseView(program, NameOf(Panel::Manufacturer)), Settled::Done);
    HWND box = ControlOf(OutputBoxId(Panel::Manufacturer));
    std::string previous;
    for (int i = 0; i < 5; ++i) {
        ASSERT_EQ(Click(program, ControlOf(IDC_GET_IDN)), Settled::Done);
        std::string now = TextOf(box);
        ASSERT_GT(now.size(), previous.size());
        std::string entry = now.substr(0, now.size() - previous.size());
        EXPECT_EQ(now.substr(entry.size()), previous);
        EXPECT_EQ(entry.rfind("Sending command:  *IDN?\r\n \r\n", 0), 0u) << entry;
        EXPECT_EQ(entry.substr(entry.size() - 6), "\n\r\n \r\n") << entry;
        previous = now;
    }
}

} // namespace
