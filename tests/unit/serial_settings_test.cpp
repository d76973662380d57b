// The serial line settings block against the rules Windows checks it by, the port time-outs at
// every Baud Rate choice against the time the bytes take on the line, and the ports' names.
#include <gtest/gtest.h>

#include <cstring>

#include "core/app_state.h"
#include "link/link.h"
#include "link/serial_settings.h"

TEST(SerialLineSettings, EveryChoiceGivesABlockWindowsAccepts)
{
    for (int choice = -1; choice <= BaudChoiceCount; ++choice) {
        SCOPED_TRACE(choice);
        SerialLineSettings s = LineSettingsFor(choice);
        bool known = choice >= 0 && choice < BaudChoiceCount;
        EXPECT_EQ(s.baudRate, BaudRates[known ? choice : DefaultBaudIndex]);
        EXPECT_EQ(s.length, 28u);
        EXPECT_EQ(s.binary, 1);           // the only mode Windows supports
        EXPECT_NE(s.xonChar, s.xoffChar); // SetCommState refuses equal characters
        EXPECT_EQ(s.xonChar, 0x11);
        EXPECT_EQ(s.xoffChar, 0x13);
        EXPECT_EQ(s.byteSize, 8);
        EXPECT_EQ(s.parity, 0);
        EXPECT_EQ(s.stopBits, 0);
        // No flow control of any kind, DTR and RTS off, nothing replaced or dropped, no other
        // special character.
        const int zeros[] = {s.parityCheck,   s.ctsOutputFlow,  s.dsrOutputFlow,
                             s.dtrControl,    s.dsrSensitivity, s.txContinueOnXoff,
                             s.xonXoffOutput, s.xonXoffInput,   s.replaceParityErrors,
                             s.discardNulls,  s.rtsControl,     s.abortOnError,
                             s.xonLimit,      s.xoffLimit,      s.errorChar,
                             s.eofChar,       s.eventChar};
        for (int value : zeros)
            EXPECT_EQ(value, 0);
    }
}

TEST(SerialTimeouts, NeverShorterThanTheBytesTakeAndUnchangedWhereTheySuffice)
{
    // Written out per rate: write milliseconds a byte, read interval.
    struct Row {
        std::uint32_t rate, writeMultiplier, readInterval;
    };
    constexpr Row Rows[BaudChoiceCount] = {{300, 34, 567},  {600, 17, 284},  {1200, 10, 142},
                                           {1800, 10, 95},  {2400, 10, 71},  {4800, 10, 50},
                                           {9600, 10, 50},  {19200, 10, 50}, {38400, 10, 50},
                                           {57600, 10, 50}, {115200, 10, 50}};
    for (int choice = 0; choice < BaudChoiceCount; ++choice) {
        const Row& row = Rows[choice];
        SCOPED_TRACE(row.rate);
        ASSERT_EQ(BaudRates[choice], row.rate);
        SerialTimeouts t = TimeoutsFor(true, choice);
        EXPECT_EQ(t.writeMultiplier, row.writeMultiplier);
        EXPECT_EQ(t.readInterval, row.readInterval);
        EXPECT_EQ(t.writeConstant, FastLineTimeouts.writeConstant);
        EXPECT_EQ(t.readMultiplier, FastLineTimeouts.readMultiplier);
        EXPECT_EQ(t.readConstant, FastLineTimeouts.readConstant);
        // A byte is 10 bits on the line. Every byte of a write fits in its time; a 100-byte
        // answer fits in the read's total; the longest quiet time of a 16550 handing over its
        // FIFO (13 bytes below its trigger level of 14, then 4 quiet characters) fits in the
        // read interval.
        EXPECT_GE(t.writeMultiplier * row.rate, 10u * 1000);
        EXPECT_GE((t.readMultiplier * 100 + t.readConstant) * row.rate, 100u * 10 * 1000);
        EXPECT_GE(t.readInterval * row.rate, 17u * 10 * 1000);
    }
    // A USB virtual port has no line rate: always the full-speed values.
    for (int choice = -1; choice <= BaudChoiceCount; ++choice) {
        SerialTimeouts usb = TimeoutsFor(false, choice);
        EXPECT_EQ(std::memcmp(&usb, &FastLineTimeouts, sizeof usb), 0);
    }
    SerialTimeouts full = FastLineTimeouts;
    EXPECT_EQ(full.readInterval, 50u);
    EXPECT_EQ(full.readMultiplier, 50u);
    EXPECT_EQ(full.readConstant, 5000u);
    EXPECT_EQ(full.writeMultiplier, 10u);
    EXPECT_EQ(full.writeConstant, 10u);
}

// Ports above 9 are opened through the device namespace; the label is the bare number.
TEST(PortNames, DeviceNameAndLabelOfEachNumber)
{
    EXPECT_EQ(PortDeviceName(0), "COM0");
    EXPECT_EQ(PortDeviceName(9), "COM9");
    EXPECT_EQ(PortDeviceName(10), "\\\\.\\COM10");
    EXPECT_EQ(PortDeviceName(PortCount - 1), "\\\\.\\COM25");
    EXPECT_EQ(PortLabel(0), "0");
    EXPECT_EQ(PortLabel(9), "9");
    EXPECT_EQ(PortLabel(10), "10");
    EXPECT_EQ(PortLabel(PortCount - 1), "25");
}
