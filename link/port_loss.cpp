// The error codes that mean a serial port has left the system.
#include "link/port_loss.h"

#include <algorithm>
#include <array>

namespace
{
constexpr std::array<std::uint32_t, 7> GoneCodes = {
    port_error::AccessDenied, port_error::NotReady,   port_error::BadCommand,
    port_error::GenFailure,   port_error::BrokenPipe, port_error::DeviceNotConnected,
    port_error::DeviceRemoved};
} // namespace

bool PortIsGone(std::uint32_t error, bool portAnswers)
{
    return !portAnswers || std::find(GoneCodes.begin(), GoneCodes.end(), error) != GoneCodes.end();
}
