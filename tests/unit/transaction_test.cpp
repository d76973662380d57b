// The command transaction: log shapes to the byte, the answer rule, character sets, value
// commands, the free line's escapes, the 100-byte bounds and the choice of link.
#include <gtest/gtest.h>

#include <cstring>

#include "link/link.h"
#include "panels/transaction.h"
#include "res/resource.h"
#include "tests/unit/fakes.h"

namespace
{

struct TransactionTest : ::testing::Test {
    void SetUp() override { fake::Reset(); }
    void Store(const char* line)
    {
        ClearCommandBuffers();
        StoreCommand(line);
    }
};

TEST_F(TransactionTest, SendEchoesWithoutLineFeedAndPutsEntryOnTop)
{
    app.linkIsTcp = 1;
    LogOf(Panel::Command) = "older";
    Store("*CLS\n");
    SendCommand(Panel::Command);
    EXPECT_EQ(LogOf(Panel::Command), "Sending command:  *CLS\r\n \r\nolder");
    EXPECT_EQ(fake::outputBoxes[0], LogOf(Panel::Command));
    EXPECT_EQ(fake::lastEntryLength[0], std::strlen("Sending command:  *CLS\r\n \r\n"));
    EXPECT_EQ(fake::tcpSent, "*CLS\n");
    EXPECT_EQ(fake::tcpReceives, 0);
}

TEST_F(TransactionTest, QueryShowsAnswerUpToLineFeedKeepingCarriageReturn)
{
    app.linkIsTcp = 1;
    LogOf(Panel::Command) = "older";
    fake::answers.push_back("120.00\r\nrest");
    Store("MEAS:VOLT?\n");
    QueryCommand(Panel::Command);
    EXPECT_EQ(LogOf(Panel::Command), "Sending command:  MEAS:VOLT?\r\n \r\n120.00\r\r\n \r\nolder");
}

TEST_F(TransactionTest, QueryLineFeedFlagOnlyAfterAnAnswer)
{
    app.linkIsTcp = 1;
    fake::answers.push_back("ID\n");
    Store("*IDN?\n");
    QueryCommand(Panel::Manufacturer, true);
    EXPECT_EQ(LogOf(Panel::Manufacturer), "Sending command:  *IDN?\r\n \r\nID\n\r\n \r\n");

    fake::Reset();
    fake::answers.push_back("\n"); // empty answer still gets the line feed
    Store("*IDN?\n");
    QueryCommand(Panel::Manufacturer, true);
    EXPECT_EQ(LogOf(Panel::Manufacturer), "Sending command:  *IDN?\r\n \r\n\n\r\n \r\n");

    fake::Reset();
    fake::answers.push_back(std::string(1, '\0'));
    Store("*IDN?\n");
    QueryCommand(Panel::Manufacturer, true);
    EXPECT_EQ(LogOf(Panel::Manufacturer),
              "Sending command:  *IDN?\r\n \r\nNo Response Read\r\n \r\n");
}

TEST_F(TransactionTest, AnswerTextRules)
{
    EXPECT_EQ(AnswerText(), "No Response Read");
    std::memcpy(app.ResponseBuffer.data(), "\nabc", 4);
    EXPECT_EQ(AnswerText(), "");
    app.ResponseBuffer.fill(0);
    std::strcpy(app.ResponseBuffer.data(), "no line feed");
    EXPECT_EQ(AnswerText(), "no line feed");
    app.ResponseBuffer.fill('x'); // 100 bytes without zero or line feed: bounded by the buffer
    EXPECT_EQ(AnswerText(), std::string(100, 'x'));
    app.ResponseBuffer.fill(0);
    std::strcpy(app.ResponseBuffer.data(), EthTimeoutText);
    EXPECT_EQ(AnswerText(), EthTimeoutText);
}

TEST_F(TransactionTest, FailureTextsOfEitherLinkStandAsTheAnswer)
{
    Store("SYST:ERR?\n"); // no link ever opened: linkIsTcp 0 uses the serial link
    QueryCommand(Panel::Status);
    EXPECT_EQ(fake::serialWrites, 1);
    EXPECT_EQ(LogOf(Panel::Status),
              "Sending command:  SYST:ERR?\r\n \r\n" + std::string(ReadFailureText) + "\r\n \r\n");
    EXPECT_EQ(fake::serialSent, "SYST:ERR?\n");

    app.linkIsTcp = 1;
    Store("SYST:ERR?\n");
    QueryCommand(Panel::Trigger);
    EXPECT_EQ(fake::tcpSends, 1);
    EXPECT_EQ(LogOf(Panel::Trigger),
              "Sending command:  SYST:ERR?\r\n \r\n" + std::string(EthTimeoutText) + "\r\n \r\n");
    EXPECT_EQ(LogOf(Panel::Status).find("Eth"), std::string::npos); // other panels untouched
}

TEST_F(TransactionTest, CharacterSets)
{
    EXPECT_TRUE(CheckNumericText("", NumberChars));
    EXPECT_TRUE(CheckNumericText("-1.2E+2", NumberChars));
    EXPECT_TRUE(CheckNumericText("0.5e1", NumberChars));
    EXPECT_FALSE(CheckNumericText("1,5", NumberChars));
    EXPECT_TRUE(CheckNumericText("1,5,-2.5e1", ListChars));
    EXPECT_FALSE(CheckNumericText("1 5", ListChars));
    EXPECT_TRUE(CheckNumericText("192.168.1.20", AddressChars));
    EXPECT_FALSE(CheckNumericText("192.168.1.2a", AddressChars));
    EXPECT_FALSE(CheckNumericText("-1", AddressChars));
    EXPECT_TRUE(CheckNumericText("5025", DigitChars));
    EXPECT_FALSE(CheckNumericText("+5025", DigitChars));
    EXPECT_FALSE(CheckNumericText("120V", NumberChars));
    EXPECT_FALSE(CheckNumericText("\xb5", NumberChars)); // bytes above 127 are no digits
    EXPECT_FALSE(CheckNumericText("x", DigitChars));
}

TEST_F(TransactionTest, ValueCommandSendsOrRefuses)
{
    app.linkIsTcp = 1;
    fake::entryBoxes[IDC_VOLTAGE_BOX] = "120";
    SendValueCommand(Panel::Command, "VOLT ", IDC_VOLTAGE_BOX, NumberChars);
    EXPECT_EQ(fake::tcpSent, "VOLT 120\n");
    EXPECT_EQ(LogOf(Panel::Command), "Sending command:  VOLT 120\r\n \r\n");

    fake::Reset();
    app.linkIsTcp = 1;
    SendValueCommand(Panel::Command, "VOLT ", IDC_VOLTAGE_BOX, NumberChars); // empty box passes
    EXPECT_EQ(fake::tcpSent, "VOLT \n");
    EXPECT_EQ(LogOf(Panel::Command), "Sending command:  VOLT \r\n \r\n");

    fake::Reset();
    LogOf(Panel::Command) = "older";
    fake::entryBoxes[IDC_VOLTAGE_BOX] = "12a";
    SendValueCommand(Panel::Command, "VOLT ", IDC_VOLTAGE_BOX, NumberChars);
    EXPECT_EQ(fake::Sent(), "");
    EXPECT_EQ(LogOf(Panel::Command), "Could not send command:  VOLT 12, set value contained a non "
                                     "digit character. \r\n Command not sent\r\n \r\nolder");
}

// tessaly-cmd's check before the link opens: the click's entry and refusal as always, no link
// operation, and the link is back for the next click.
TEST_F(TransactionTest, WithTheLinkLeftOutAClickLogsAndRefusesButNeverReachesTheLink)
{
    app.linkLeftOut = true;
    fake::entryBoxes[IDC_VOLTAGE_BOX] = "12V";
    SendValueCommand(Panel::Command, "VOLT ", IDC_VOLTAGE_BOX, NumberChars);
    Store("MEAS:VOLT?\n");
    QueryCommand(Panel::Command);
    app.linkLeftOut = false;
    EXPECT_EQ(fake::tcpSends + fake::tcpReceives + fake::serialWrites + fake::serialReads, 0);
    EXPECT_EQ(LogOf(Panel::Command),
              "Sending command:  MEAS:VOLT?\r\n \r\nNo Response Read\r\n \r\n"
              "Could not send command:  VOLT 12" +
                  RefusalText(NonDigitReason) + "\r\n \r\n");
    SendCommand(Panel::Command);
    EXPECT_EQ(fake::Sent(), "MEAS:VOLT?\n");
}

TEST_F(TransactionTest, QuotedValueRefusalEndsBeforeClosingQuote)
{
    fake::entryBoxes[IDC_LAN_IP_BOX] = "10.0.0.x";
    SendValueCommand(Panel::Communication, "SYST:COMM:LAN:IP \"", IDC_LAN_IP_BOX, AddressChars,
                     true);
    EXPECT_EQ(fake::Sent(), "");
    EXPECT_EQ(LogOf(Panel::Communication),
              "Could not send command:  SYST:COMM:LAN:IP \"10.0.0.x, set value contained a non "
              "digit character. \r\n Command not sent\r\n \r\n");

    fake::Reset();
    SendValueCommand(Panel::Communication, "SYST:COMM:LAN:IP \"", IDC_LAN_IP_BOX, AddressChars,
                     true);
    EXPECT_EQ(fake::Sent(), "SYST:COMM:LAN:IP \"\"\n");
}

TEST_F(TransactionTest, ValueThatDoesNotFitIsRefusedWithoutOverrun)
{
    // 15-byte prefix: 84 characters fit before the line feed, 85 do not.
    fake::entryBoxes[IDC_OPER_ENAB_BOX] = std::string(84, '1');
    SendValueCommand(Panel::Status, "STAT:OPER:ENAB ", IDC_OPER_ENAB_BOX, NumberChars);
    EXPECT_EQ(fake::Sent(), "STAT:OPER:ENAB " + std::string(84, '1') + "\n");

    fake::Reset();
    fake::entryBoxes[IDC_OPER_ENAB_BOX] = std::string(85, '1');
    SendValueCommand(Panel::Status, "STAT:OPER:ENAB ", IDC_OPER_ENAB_BOX, NumberChars);
    EXPECT_EQ(fake::Sent(), "");
    EXPECT_LE(app.commandLength, CommandBufferSize);
    EXPECT_NE(LogOf(Panel::Status).find(RefusalText(TooLongReason)), std::string::npos);
    EXPECT_EQ(LogOf(Panel::Status).rfind("Could not send command:  STAT:OPER:ENAB 1", 0), 0u);

    fake::Reset();
    fake::entryBoxes[IDC_LIST_VOLT_BOX] =
        std::string(255, '9'); // the longest text an entry box gives
    SendValueCommand(Panel::Trigger, "LIST:VOLT ", IDC_LIST_VOLT_BOX, ListChars);
    EXPECT_EQ(fake::Sent(), "");
    EXPECT_EQ(app.commandLength, CommandBufferSize);
}

TEST_F(TransactionTest, RejectionAfterKeywordDropsItsBlank)
{
    Store("VOLT:RANG ");
    RejectCommand(Panel::Command, "need to select High(270V) or Low(135V)");
    EXPECT_EQ(LogOf(Panel::Command), "Could not send command:  VOLT:RANG, need to select "
                                     "High(270V) or Low(135V). \r\n Command not sent\r\n \r\n");
}

TEST_F(TransactionTest, FreeLineEscapes)
{
    std::string bytes;
    EXPECT_FALSE(ExpandEscapes("OUTP?", bytes));
    EXPECT_EQ(bytes, "OUTP?");
    EXPECT_TRUE(ExpandEscapes("OUTP?\\r\\n", bytes));
    EXPECT_EQ(bytes, "OUTP?\r\n");
    EXPECT_FALSE(ExpandEscapes("A\\tB\\N\\R\\", bytes));
    EXPECT_EQ(bytes, "A\\tB\\N\\R\\");
    EXPECT_TRUE(ExpandEscapes("A\\nB", bytes));
    EXPECT_EQ(bytes, "A\nB");
    EXPECT_TRUE(ExpandEscapes("\\\\n", bytes)); // a backslash, then an escaped line feed
    EXPECT_EQ(bytes, "\\\n");
}

TEST_F(TransactionTest, FreeLineLogShapeAndBytes)
{
    app.linkIsTcp = 1;
    LogOf(Panel::Command) = "older";
    fake::entryBoxes[IDC_FREE_LINE_BOX] = "OUTP?";
    SendFreeLine(Panel::Command, IDC_FREE_LINE_BOX);
    EXPECT_EQ(fake::tcpSent, "OUTP?\n");
    EXPECT_EQ(LogOf(Panel::Command), "Sending command:  OUTP?\r\n\r\n \r\nolder");

    fake::Reset();
    app.linkIsTcp = 1;
    fake::entryBoxes[IDC_FREE_LINE_BOX] =
        "A\\nB"; // escape in the middle: the last byte is sent, not echoed
    SendFreeLine(Panel::Command, IDC_FREE_LINE_BOX);
    EXPECT_EQ(fake::tcpSent, "A\nB");
    EXPECT_EQ(LogOf(Panel::Command), "Sending command:  A\n\r\n\r\n \r\n");

    fake::Reset();
    SendFreeLine(Panel::Command, IDC_FREE_LINE_BOX); // empty box: one line feed
    EXPECT_EQ(fake::serialSent, "\n");
    EXPECT_EQ(LogOf(Panel::Command), "Sending command:  \r\n\r\n \r\n");
}

TEST_F(TransactionTest, FreeLineTooLongIsRefused)
{
    fake::entryBoxes[IDC_FREE_LINE_BOX] = std::string(99, 'A');
    SendFreeLine(Panel::Command, IDC_FREE_LINE_BOX);
    EXPECT_EQ(fake::Sent(), std::string(99, 'A') + "\n");

    fake::Reset();
    fake::entryBoxes[IDC_FREE_LINE_BOX] = std::string(100, 'A');
    SendFreeLine(Panel::Command, IDC_FREE_LINE_BOX);
    EXPECT_EQ(fake::Sent(), "");
    EXPECT_EQ(LogOf(Panel::Command), "Could not send command:  " + std::string(99, 'A') +
                                         RefusalText(TooLongReason) + "\r\n \r\n");
}

TEST_F(TransactionTest, ReadAndClearDisplay)
{
    app.linkIsTcp = 1;
    fake::answers.push_back("rest of a long answer\n");
    LogOf(Panel::Command) = "older";
    ReadAnswer(Panel::Command);
    EXPECT_EQ(LogOf(Panel::Command), "rest of a long answer\r\n \r\nolder");
    EXPECT_EQ(fake::tcpSends, 0);

    LogOf(Panel::Trigger) = "trigger entries";
    ClearDisplay(Panel::Command);
    EXPECT_EQ(LogOf(Panel::Command), "");
    EXPECT_EQ(fake::outputBoxes[0], "");
    EXPECT_EQ(LogOf(Panel::Trigger), "trigger entries");
}

TEST_F(TransactionTest, ClearTextBuffersTouchesOnlyTheTwoTextBuffers)
{
    app.EntryText.fill('e');
    app.PortText.fill('p');
    app.CommandBuffer[0] = 'c';
    ClearTextBuffers();
    for (char c : app.EntryText)
        ASSERT_EQ(c, 0);
    for (char c : app.PortText)
        ASSERT_EQ(c, 0);
    EXPECT_EQ(app.CommandBuffer[0], 'c');
}

TEST_F(TransactionTest, StartValues)
{
    EXPECT_EQ(app.tcpSocket, INVALID_SOCKET);
    EXPECT_EQ(app.commHandle, nullptr);
    EXPECT_EQ(app.connected, 0);
    EXPECT_EQ(app.linkIsTcp, 0);
    EXPECT_EQ(BaudLabels[6], std::string("9600"));
    EXPECT_EQ(BaudRates[10], 115200u);
    for (int i = 0; i < BaudChoiceCount; ++i)
        EXPECT_EQ(std::to_string(BaudRates[i]), BaudLabels[i]);
}

} // namespace
