// The serial link: a COM device opened for overlapped input and output, so that every write and
// read can be waited for with a bound. Line settings apply to RS-232 only; a USB virtual port keeps
// its own.
#include <algorithm>
#include <cstring>

#include "app/app_state.h"
#include "app/platform.h"
#include "link/link.h"
#include "link/serial_settings.h"

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
    StatusBox(message);
}

// Waits for an overlapped operation started on the port; true when it succeeded.
bool FinishOverlapped(BOOL started, OVERLAPPED& overlapped, DWORD limitMs)
{
    if (started)
        return GetOverlappedResult(app.commHandle, &overlapped, &app.transferCount, FALSE) != 0;
    if (GetLastError() != ERROR_IO_PENDING)
        return false;
    if (WaitForSingleObject(overlapped.hEvent, limitMs) == WAIT_TIMEOUT)
        CancelIo(app.commHandle);
    if (GetOverlappedResult(app.commHandle, &overlapped, &app.transferCount, TRUE))
        return true;
    // Ending by the port's time-outs is no failure of the call: what arrived is in the buffer
    // and the count says how much (SerialWrite checks that count). Windows reports it as
    // success; some drivers (and Wine) report it as a time-out error.
    DWORD error = GetLastError();
    return error == ERROR_TIMEOUT || error == ERROR_SEM_TIMEOUT;
}

// Runs one write or read of the port with its own event; true when it succeeded. Returns false
// without touching the ResponseBuffer when no event could be made (the box says so). The event
// is manual-reset: waiting on it does not reset it, so GetOverlappedResult, which waits on it
// again after WaitForSingleObject has, finds it signalled instead of waiting for good.
template <typename Operation> bool RunOverlapped(DWORD limitMs, bool& ran, Operation operation)
{
    ran = false;
    OVERLAPPED overlapped{};
    overlapped.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (overlapped.hEvent == nullptr) {
        StatusBox("Failed to create overlapped event");
        return false;
    }
    ran = true;
    app.transferCount = 0;
    bool ok = FinishOverlapped(operation(overlapped), overlapped, limitMs);
    CloseHandle(overlapped.hEvent);
    return ok;
}

} // namespace

bool SerialOpen(int portIndex, bool lineSettings, int baudIndex)
{
    if (portIndex < 0 || portIndex >= PortCount) {
        StatusBox("COMPORT failed to open");
        return false;
    }
    char name[32] = {};
    WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const wchar_t*>(PortDeviceNames[portIndex]), -1,
                        name, sizeof name, nullptr, nullptr);
    HANDLE port = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_FLAG_OVERLAPPED, nullptr);
    if (port == INVALID_HANDLE_VALUE) {
        StatusBox("COMPORT failed to open");
        return false;
    }
    app.commHandle = port;
    if (lineSettings && !ApplyLineSettings(baudIndex)) {
        AbandonPort("Failed to Set COM settings");
        return false;
    }
    if (!ApplyTimeouts(lineSettings, baudIndex)) {
        AbandonPort("Failed to Set Time Out settings");
        return false;
    }
    SetStatusText("Serial Connection Opened");
    return true;
}

void SerialClose()
{
    if (app.commHandle != nullptr && app.commHandle != INVALID_HANDLE_VALUE)
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
    bool ran = false;
    bool ok = RunOverlapped(limitMs, ran, [&](OVERLAPPED& overlapped) {
        return WriteFile(app.commHandle, app.CommandBuffer.data(), length, nullptr, &overlapped);
    });
    // A write that ended by its time-out with part of the command still unsent failed: the
    // instrument got a cut line.
    ok = ok && app.transferCount == length;
    // The text and its zero byte only; the rest of the buffer keeps what it held.
    if (ran && !ok)
        std::memcpy(app.ResponseBuffer.data(), "Write Comport Failure", 22);
}

void SerialRead()
{
    COMMTIMEOUTS timeouts = PortTimeouts();
    DWORD limitMs = timeouts.ReadTotalTimeoutConstant +
                    timeouts.ReadTotalTimeoutMultiplier * ResponseBufferSize + SafetyMarginMs;
    bool ran = false;
    bool ok = RunOverlapped(limitMs, ran, [&](OVERLAPPED& overlapped) {
        return ReadFile(app.commHandle, app.ResponseBuffer.data(), ResponseBufferSize, nullptr,
                        &overlapped);
    });
    if (ran && !ok)
        std::memcpy(app.ResponseBuffer.data(), "Read Comport Failure", 21);
}
