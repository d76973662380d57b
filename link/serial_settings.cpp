// The serial line settings block and the port time-outs for each Baud Rate choice.
#include "link/serial_settings.h"

#include <algorithm>

#include "core/app_state.h"

namespace
{

// One character on the line: a start bit, 8 data bits and one stop bit.
constexpr std::uint32_t BitsPerCharacter = 10;

// The longest silence between two handovers of received bytes by a 16550 UART with its receive
// FIFO at the usual trigger level of 14: after a handover, 13 more bytes can arrive without
// reaching the trigger, and the rest is handed over only after 4 quiet character times.
constexpr std::uint32_t LongestReceiveGapCharacters = (14 - 1) + 4;

// Milliseconds that count characters take at rate, rounded up.
std::uint32_t CharacterTimeMs(std::uint32_t count, std::uint32_t rate)
{
    return (count * BitsPerCharacter * 1000 + rate - 1) / rate;
}

} // namespace

std::uint32_t BaudRateOf(int baudIndex)
{
    if (baudIndex < 0 || baudIndex >= BaudChoiceCount)
        baudIndex = DefaultBaudIndex;
    return BaudRates[baudIndex];
}

SerialLineSettings LineSettingsFor(int baudIndex)
{
    SerialLineSettings settings{};
    settings.length = LineSettingsBlockSize;
    settings.baudRate = BaudRateOf(baudIndex);
    settings.binary = 1;
    settings.byteSize = 8;
    settings.xonChar = XonCharacter;
    settings.xoffChar = XoffCharacter;
    return settings;
}

SerialTimeouts TimeoutsFor(bool lineSettings, int baudIndex)
{
    SerialTimeouts timeouts = FastLineTimeouts;
    if (!lineSettings)
        return timeouts;
    std::uint32_t rate = BaudRateOf(baudIndex);
    timeouts.readInterval =
        std::max(timeouts.readInterval, CharacterTimeMs(LongestReceiveGapCharacters, rate));
    timeouts.readMultiplier = std::max(timeouts.readMultiplier, CharacterTimeMs(1, rate));
    timeouts.writeMultiplier = std::max(timeouts.writeMultiplier, CharacterTimeMs(1, rate));
    return timeouts;
}
