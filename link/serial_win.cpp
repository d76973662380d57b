// The serial link: a COM device opened for overlapped input and output, so that every write and
// read can be waited for with a bound. Line settings apply to RS-232 only; a USB virtual port keeps
// its own.
#include <algorithm>
#include <cstddef>
#include <cstring>

#include "core/app_state.h"
#include "core/platform.h"
#include "link/link.h"
#include "link/port_loss.h"
#include "link/serial_settings.h"

static_assert(port_error::FileNotFound == ERROR_FILE_NOT_FOUND &&
                  port_error::AccessDenied == ERROR_ACCESS_DENIED &&
                  port_error::NotReady == ERROR_NOT_READY &&
                  port_error::BadCommand == ERROR_BAD_COMMAND &&
                  port_error::GenFailure == ERROR_GEN_FAILURE &&
                  port_error::DeviceNotExist == ERROR_DEV_NOT_EXIST &&
                  port_error::BrokenPipe == ERROR_BROKEN_PIPE &&
                  port_error::OperationAborted == ERROR_OPERATION_ABORTED &&
                  port_error::DeviceNotConnected == ERROR_DEVICE_NOT_CONNECTED &&
                  port_error::DeviceRemoved == ERROR_DEVICE_REMOVED,
              "the error codes the port rule uses must be the system's");

namespace
{

// Extra wait beyond the port's own time-outs before an operation is cancelled, so that a driver
// that never completes cannot hold the program for good.
constexpr DWORD SafetyMarginMs = 3000;

// The block is not read from the port first: it is built whole (serial_settings.cpp), so an
// RS-232 line is the same whatever an earlier user of the port left on it.
bool ApplyLineSettings(int baudIndex)
{
    SerialLineSettings settings = LineSettingsFor(baudIndex);
    DCB& block = app.LineSettings;
    block = DCB{};
    block.DCBlength = settings.length;
    block.BaudRate = settings.baudRate;
    block.fBinary = settings.binary;
    block.fParity = settings.parityCheck;
    block.fOutxCtsFlow = settings.ctsOutputFlow;
    block.fOutxDsrFlow = settings.dsrOutputFlow;
    block.fDtrControl = settings.dtrControl;
    block.fDsrSensitivity = settings.dsrSensitivity;
    block.fTXContinueOnXoff = settings.txContinueOnXoff;
    block.fOutX = settings.xonXoffOutput;
    block.fInX = settings.xonXoffInput;
    block.fErrorChar = settings.replaceParityErrors;
    block.fNull = settings.discardNulls;
    block.fRtsControl = settings.rtsControl;
    block.fAbortOnError = settings.abortOnError;
    block.XonLim = settings.xonLimit;
    block.XoffLim = settings.xoffLimit;
    block.ByteSize = settings.byteSize;
    block.Parity = settings.parity;
    block.StopBits = settings.stopBits;
    block.XonChar = settings.xonChar;
    block.XoffChar = settings.xoffChar;
    block.ErrorChar = settings.errorChar;
    block.EofChar = settings.eofChar;
    block.EvtChar = settings.eventChar;
    return SetCommState(app.commHandle, &block) != 0;
}

bool ApplyTimeouts(bool lineSettings, int baudIndex)
{
    SerialTimeouts chosen = TimeoutsFor(lineSettings, baudIndex);
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = chosen.readInterval;
    timeouts.ReadTotalTimeoutMultiplier = chosen.readMultiplier;
    timeouts.ReadTotalTimeoutConstant = chosen.readConstant;
    timeouts.WriteTotalTimeoutMultiplier = chosen.writeMultiplier;
    timeouts.WriteTotalTimeoutConstant = chosen.writeConstant;
    return SetCommTimeouts(app.commHandle, &timeouts) != 0;
}

// A USB port keeps the settings it has, all but one: abort-on-error, which an earlier program may
// have left set, makes every read and write fail after any communications error until
// ClearCommError. That field alone is cleared, in the block the port itself gave, so nothing else
// changes. A port that cannot be read or written here is used as it is: a failed operation on it
// is followed by ClearCommError anyway.
void ClearAbortOnError()
{
    DCB& state = app.LineSettings;
    state = DCB{};
    state.DCBlength = sizeof state;
    if (!GetCommState(app.commHandle, &state) || !state.fAbortOnError)
        return;
    state.fAbortOnError = FALSE;
    SetCommState(app.commHandle, &state);
}

bool PortHeld()
{
    return app.commHandle != nullptr && app.commHandle != INVALID_HANDLE_VALUE;
}

// The port's own time-outs, as the open set them; zeros when they cannot be read (then the
// port is not open, and every operation on it fails at once).
COMMTIMEOUTS PortTimeouts()
{
    COMMTIMEOUTS timeouts{};
    if (!GetCommTimeouts(app.commHandle, &timeouts))
        timeouts = COMMTIMEOUTS{};
    return timeouts;
}

// A failed open gives the port back at once: no handle is left held or lost.
void AbandonPort(const char* message)
{
    CloseHandle(app.commHandle);
    app.commHandle = nullptr;
    app.linkFailure = message;
}

// Waits for an overlapped operation started on the port; NO_ERROR when it succeeded, else the
// error code it ended with.
DWORD FinishOverlapped(BOOL started, OVERLAPPED& overlapped, DWORD limitMs)
{
    if (started)
        return GetOverlappedResult(app.commHandle, &overlapped, &app.transferCount, FALSE)
                   ? NO_ERROR
                   : GetLastError();
    DWORD error = GetLastError();
    if (error != ERROR_IO_PENDING)
        return error;
    // Cancelled here, the operation ends with ERROR_OPERATION_ABORTED: a failure, but the port
    // is not gone.
    if (WaitForSingleObject(overlapped.hEvent, limitMs) == WAIT_TIMEOUT)
        CancelIo(app.commHandle);
    if (GetOverlappedResult(app.commHandle, &overlapped, &app.transferCount, TRUE))
        return NO_ERROR;
    // Ending by the port's time-outs is no failure of the call: what arrived is in the buffer
    // and the count says how much (SerialWrite checks that count). Windows reports it as
    // success; some drivers (and Wine) report it as a time-out error.
    error = GetLastError();
    return error == ERROR_TIMEOUT || error == ERROR_SEM_TIMEOUT ? NO_ERROR : error;
}

// How one write or read went: whether it ran at all (an event could be made), and its error code.
struct PortOutcome {
    bool ran;
    DWORD error;
};

// Runs one write or read of the port with its own event. Does not run it, and says so, when no
// event could be made (the box says so). The event is manual-reset: waiting on it does not reset
// it, so GetOverlappedResult, which waits on it again after WaitForSingleObject has, finds it
// signalled instead of waiting for good.
template <typename Operation> PortOutcome RunOverlapped(DWORD limitMs, Operation operation)
{
    OVERLAPPED overlapped{};
    overlapped.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (overlapped.hEvent == nullptr) {
        app.linkFailure = "Failed to create overlapped event";
        return {false, NO_ERROR};
    }
    app.transferCount = 0;
    DWORD error = FinishOverlapped(operation(overlapped), overlapped, limitMs);
    CloseHandle(overlapped.hEvent);
    return {true, error};
}

// After a failed write or read: its failure text over the start of the ResponseBuffer (the text
// and its zero byte; the rest keeps what it held), the port's error state cleared, since a port
// set to abort on errors refuses every later operation until then, and a port that has gone
// marked so: the link rules then close it, as after a failed TCP send, so that the adapter
// plugged back in can be opened again.
template <std::size_t Size> void FailPortOperation(const char (&text)[Size], DWORD error)
{
    std::memcpy(app.ResponseBuffer.data(), text, Size);
    if (!PortHeld())
        return;
    DWORD errors = 0;
    COMSTAT status{};
    bool portAnswers = ClearCommError(app.commHandle, &errors, &status) != 0;
    if (PortIsGone(error, portAnswers))
        app.linkGone = 1;
}

} // namespace

bool SerialOpen(int portIndex, bool lineSettings, int baudIndex)
{
    if (portIndex < 0 || portIndex >= PortCount) {
        app.linkFailure = "COMPORT failed to open";
        return false;
    }
    HANDLE port = CreateFileA(PortDeviceName(portIndex).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_FLAG_OVERLAPPED, nullptr);
    if (port == INVALID_HANDLE_VALUE) {
        app.linkFailure = "COMPORT failed to open";
        return false;
    }
    app.commHandle = port;
    if (lineSettings && !ApplyLineSettings(baudIndex)) {
        AbandonPort("Failed to Set COM settings");
        return false;
    }
    if (!lineSettings)
        ClearAbortOnError();
    if (!ApplyTimeouts(lineSettings, baudIndex)) {
        AbandonPort("Failed to Set Time Out settings");
        return false;
    }
    SetStatusText("Serial Connection Opened");
    return true;
}

void SerialClose()
{
    if (PortHeld())
        CloseHandle(app.commHandle);
    app.commHandle = nullptr;
}

void SerialWrite()
{
    // What is still queued from an earlier answer belongs to that command, not to this one.
    PurgeComm(app.commHandle, PURGE_RXCLEAR);
    DWORD length = static_cast<DWORD>(std::clamp(app.commandLength, 0, CommandBufferSize));
    COMMTIMEOUTS timeouts = PortTimeouts();
    DWORD limitMs = timeouts.WriteTotalTimeoutConstant +
                    timeouts.WriteTotalTimeoutMultiplier * length + SafetyMarginMs;
    PortOutcome outcome = RunOverlapped(limitMs, [&](OVERLAPPED& overlapped) {
        return WriteFile(app.commHandle, app.CommandBuffer.data(), length, nullptr, &overlapped);
    });
    // A write that ended by its time-out with part of the command still unsent failed too: the
    // instrument got a cut line.
    if (outcome.ran && (outcome.error != NO_ERROR || app.transferCount != length))
        FailPortOperation(WriteFailureText, outcome.error);
}

void SerialRead()
{
    COMMTIMEOUTS timeouts = PortTimeouts();
    DWORD limitMs = timeouts.ReadTotalTimeoutConstant +
                    timeouts.ReadTotalTimeoutMultiplier * ResponseBufferSize + SafetyMarginMs;
    PortOutcome outcome = RunOverlapped(limitMs, [&](OVERLAPPED& overlapped) {
        return ReadFile(app.commHandle, app.ResponseBuffer.data(), ResponseBufferSize, nullptr,
                        &overlapped);
    });
    if (outcome.ran && outcome.error != NO_ERROR)
        FailPortOperation(ReadFailureText, outcome.error);
}
