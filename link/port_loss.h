// Whether a failed write or read on a serial port means the port itself is gone (a USB adapter
// pulled out), decided from the operation's Windows error code and from whether ClearCommError,
// which follows every failure, still worked on the port, so that the rule is tested without
// Windows. The codes carry their Windows values (serial_win.cpp checks them against the
// system's headers).
#pragma once

#include <cstdint>

namespace port_error
{
constexpr std::uint32_t FileNotFound = 2;          // ERROR_FILE_NOT_FOUND
constexpr std::uint32_t AccessDenied = 5;          // ERROR_ACCESS_DENIED
constexpr std::uint32_t NotReady = 21;             // ERROR_NOT_READY
constexpr std::uint32_t BadCommand = 22;           // ERROR_BAD_COMMAND
constexpr std::uint32_t GenFailure = 31;           // ERROR_GEN_FAILURE
constexpr std::uint32_t DeviceNotExist = 55;       // ERROR_DEV_NOT_EXIST
constexpr std::uint32_t BrokenPipe = 109;          // ERROR_BROKEN_PIPE
constexpr std::uint32_t OperationAborted = 995;    // ERROR_OPERATION_ABORTED
constexpr std::uint32_t DeviceNotConnected = 1167; // ERROR_DEVICE_NOT_CONNECTED
constexpr std::uint32_t DeviceRemoved = 1617;      // ERROR_DEVICE_REMOVED
} // namespace port_error

// A gone port's handle is of no more use and, while it is held, keeps the re-plugged adapter from
// being opened under the same name. Two witnesses say a port is gone:
// - ClearCommError failed (portAnswers false). It does not fail on a port that is present and
//   whose handle is valid, so every code then means gone: OperationAborted from a read that was
//   pending when the cable was pulled, FileNotFound, DeviceNotExist, or whatever a driver uses.
// - ClearCommError worked, but the operation ended with a code that drivers give once the device
//   has left. NotReady and BrokenPipe are what a line whose far end has hung up gives (a virtual
//   port whose other side went away; Wine's serial port on a pseudo-terminal that was closed).
//   Any other code leaves the port held: an operation the program cancelled itself, when its
//   time ran out, ends with OperationAborted, as one ended by the driver's abort-on-error does,
//   and the port is still there.
bool PortIsGone(std::uint32_t error, bool portAnswers);
