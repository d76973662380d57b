// Every command button of every panel, run from its command row as a click would run it: the exact
// bytes that reach the link and the exact entry that the panel's log gains, refusals included.
// Each case runs once over the serial link and once over the TCP link.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "panels/panel_table.h"
#include "panels/transaction.h"
#include "res/resource.h"
#include "tests/unit/button_cases.h"
#include "tests/unit/fakes.h"
#include "tests/unit/written_ids.h"

namespace
{

using namespace button_cases;

// Every entry box of every panel. Each holds its own digits unless a case types something else,
// so a button that reads the wrong box sends the wrong digits.
const int EntryBoxIds[] = {
    IDC_VOLTAGE_BOX,       IDC_FREQUENCY_BOX,     IDC_CURRENT_LIMIT_BOX, IDC_FREE_LINE_BOX,
    IDC_SRE_BOX,           IDC_ESE_BOX,           IDC_OPER_ENAB_BOX,     IDC_QUES_ENAB_BOX,
    IDC_TRIGGER_DELAY_BOX, IDC_TRIGGER_COUNT_BOX, IDC_VOLT_TRIG_BOX,     IDC_FREQ_TRIG_BOX,
    IDC_CURR_TRIG_BOX,     IDC_LIST_DWELL_BOX,    IDC_LIST_VOLT_BOX,     IDC_LIST_FREQ_BOX,
    IDC_LIST_CURR_BOX,     IDC_LIST_COUNT_BOX,    IDC_LAN_IP_BOX,        IDC_SUBNET_BOX,
    IDC_GATEWAY_BOX,       IDC_HOSTNAME_BOX,      IDC_TCP_SOCKET_BOX,    IDC_CURRENT_PASSWORD_BOX,
    IDC_NEW_PASSWORD_BOX};

std::string PriorLog(int panel)
{
    return "older entry of panel " + std::to_string(panel);
}

// Sets the scene as the operator left it, then clicks the button through its command row.
void Click(const Case& c, int linkIsTcp)
{
    fake::Reset();
    app.linkIsTcp = linkIsTcp;
    for (int id : EntryBoxIds)
        fake::entryBoxes[id] = "9" + std::to_string(id);
    for (const auto& [id, text] : c.entries)
        fake::entryBoxes[id] = text;
    fake::checkedOptions = c.checked;
    if (c.baudPosition >= 0)
        fake::listSelections[IDC_BAUD_RATE_LIST] = c.baudPosition;
    fake::answers.push_back(c.answer);
    for (int p = 0; p < PanelCount; ++p)
        LogOf(static_cast<Panel>(p)) = PriorLog(p);

    const CommandRow* row = CommandFor(c.id);
    ASSERT_NE(row, nullptr);
    RunCommand(*row);
}

void CheckOutcome(const Case& c)
{
    const Expected& e = c.expected;
    int panel = static_cast<int>(c.panel);
    EXPECT_EQ(fake::Sent(), e.sent);
    if (e.clears) {
        EXPECT_EQ(LogOf(c.panel), "");
        EXPECT_EQ(fake::outputBoxes[panel], "");
    } else {
        EXPECT_EQ(LogOf(c.panel), e.entry + PriorLog(panel));
        EXPECT_EQ(fake::outputBoxes[panel], LogOf(c.panel));
        EXPECT_EQ(fake::lastEntryLength[panel], e.entry.size());
    }
    for (int p = 0; p < PanelCount; ++p) {
        if (p != panel) {
            EXPECT_EQ(LogOf(static_cast<Panel>(p)), PriorLog(p)) << "panel " << p;
        }
    }
}

struct ButtonTest : ::testing::TestWithParam<Case> {
};

TEST_P(ButtonTest, OverSerialLink)
{
    const Case& c = GetParam();
    Click(c, 0);
    CheckOutcome(c);
    EXPECT_EQ(fake::serialWrites, c.expected.sends);
    EXPECT_EQ(fake::serialReads, c.expected.receives);
    EXPECT_EQ(fake::tcpSends + fake::tcpReceives, 0);
}

TEST_P(ButtonTest, OverTcpLink)
{
    const Case& c = GetParam();
    Click(c, 1);
    CheckOutcome(c);
    EXPECT_EQ(fake::tcpSends, c.expected.sends);
    EXPECT_EQ(fake::tcpReceives, c.expected.receives);
    EXPECT_EQ(fake::serialWrites + fake::serialReads, 0);
}

INSTANTIATE_TEST_SUITE_P(EveryButton, ButtonTest, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             return "id" + std::to_string(info.param.id) + "_case" +
                                    std::to_string(info.index);
                         });

// Every identifier that starts a command is exercised above.
TEST(ButtonCases, CoverEveryCommandRow)
{
    std::set<int> covered;
    for (const Case& c : Cases())
        covered.insert(c.id);
    for (int id = FirstDispatchId; id <= LastDispatchId; ++id) {
        if (CommandFor(id) != nullptr) {
            EXPECT_EQ(covered.count(id), 1u) << "no case for button " << ControlIdName(id) << " ("
                                             << id << "): add it to tests/unit/button_cases.cpp";
        }
    }
}

// A refusal leaves the buffers as the refusal found them: nothing past the 100 bytes, and the
// count never beyond them.
TEST(ButtonCases, LongTextsStayInsideTheCommandBuffer)
{
    for (int id : {IDC_SET_VOLTAGE, IDC_SET_LIST_DWELL, IDC_SET_LAN_IP, IDC_SET_HOSTNAME,
                   IDC_PASSWORD_CDIS, IDC_PASSWORD_CEN, IDC_PASSWORD_NEW, IDC_SEND_FREE_LINE}) {
        fake::Reset();
        for (int box : EntryBoxIds)
            fake::entryBoxes[box] = Letters(255, '7');
        RunCommand(*CommandFor(id));
        EXPECT_LE(app.commandLength, CommandBufferSize) << "button " << id;
        EXPECT_EQ(fake::Sent(), "") << "button " << id;
        EXPECT_EQ(LogOf(PanelOf(*CommandFor(id))).rfind("Could not send", 0), 0u)
            << "button " << id;
    }
}

} // namespace
