// What the serial link asks of a port: the line settings block that an RS-232 port gets and the
// time-outs of every port, both worked out here so that the rules Windows checks them by can be
// tested without Windows. serial_win.cpp copies them into the system's own records.
#pragma once

#include <cstdint>

// The fields of the Windows device control block, one plain value each, in the block's order.
// Built from zeros: no flow control of any kind, DTR and RTS off, no character replacement.
struct SerialLineSettings {
    std::uint32_t length;     // the block's size in bytes
    std::uint32_t baudRate;   // bits per second
    std::uint8_t binary;      // 1: Windows supports binary mode only
    std::uint8_t parityCheck; // check and report parity errors
    std::uint8_t ctsOutputFlow;
    std::uint8_t dsrOutputFlow;
    std::uint8_t dtrControl; // 0: DTR off
    std::uint8_t dsrSensitivity;
    std::uint8_t txContinueOnXoff;
    std::uint8_t xonXoffOutput; // XON/XOFF flow control of what is sent
    std::uint8_t xonXoffInput;  // XON/XOFF flow control of what is received
    std::uint8_t replaceParityErrors;
    std::uint8_t discardNulls;
    std::uint8_t rtsControl; // 0: RTS off
    std::uint8_t abortOnError;
    std::uint16_t xonLimit;
    std::uint16_t xoffLimit;
    std::uint8_t byteSize; // data bits
    std::uint8_t parity;   // 0: none
    std::uint8_t stopBits; // 0: one stop bit
    char xonChar;
    char xoffChar;
    char errorChar;
    char eofChar;
    char eventChar;
};

// Size of the Windows device control block.
constexpr std::uint32_t LineSettingsBlockSize = 28;
// The flow control characters DC1 and DC3. Flow control is off, so they are never acted on, but
// Windows refuses a block whose two characters are equal.
constexpr char XonCharacter = 0x11;
constexpr char XoffCharacter = 0x13;

// The rate of a Baud Rate choice; the default choice's rate when baudIndex is out of range.
std::uint32_t BaudRateOf(int baudIndex);

// The block for an RS-232 port at the rate of the Baud Rate choice baudIndex: 8 data bits, no
// parity, one stop bit.
SerialLineSettings LineSettingsFor(int baudIndex);

// The port's time-outs, in milliseconds. A read ends when no byte came for readInterval after
// one did, or after readMultiplier per byte asked for plus readConstant; a write of n bytes ends
// after writeMultiplier * n + writeConstant.
struct SerialTimeouts {
    std::uint32_t readInterval;
    std::uint32_t readMultiplier;
    std::uint32_t readConstant;
    std::uint32_t writeMultiplier;
    std::uint32_t writeConstant;
};

// The time-outs at the full speed of a line, and of a USB virtual port, which has no line rate.
constexpr SerialTimeouts FastLineTimeouts = {50, 50, 5000, 10, 10};

// The time-outs of a port: with line settings (RS-232) at the rate of the Baud Rate choice
// baudIndex, never shorter than the bytes take at that rate; without (USB), FastLineTimeouts.
SerialTimeouts TimeoutsFor(bool lineSettings, int baudIndex);
