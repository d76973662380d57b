// The serial link: a COM device opened for overlapped input and output, so that every write and
// read can be waited for with a bound. Line settings apply to RS-232 only; a USB virtual port keeps
// its own.
#include <algorithm>
#include <cstring>

#include "app/app_state.h"
#include "app/platform.h"
#include "link/link.h"

namespace
{

// Extra wait beyond the port's own time-outs before an operation is cancelled, so that a driver
// that never completes cannot hold the program for good.
constexpr DWORD SafetyMarginMs = 3000;

bool ApplyLineSettings(int baud)
{
    if (baud < 0 || baud >= BaudChoiceCount)
        baud = DefaultBaudIndex;
    // The block is not read from the port first: every field not set here stays as the program
    // started it, zero (no flow control of any kind, DTR and RTS off), so an RS-232 line is the
    // same whatever an earlier user of the port left on it.
    app.LineSettings.DCBlength = sizeof(DCB);
    app.LineSettings.BaudRate = BaudRates[baud];
    app.LineSettings.ByteSize = 8;
    app.LineSettings.Parity = NOPARITY;
    app.LineSettings.StopBits = ONESTOPBIT;
    return SetCommState(app.commHandle, &app.LineSettings) != 0;
}

bool ApplyTimeouts()
{
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = SerialReadInterval;
    timeouts.ReadTotalTimeoutMultiplier = SerialReadMultiplier;
    timeouts.ReadTotalTimeoutConstant = SerialReadConstant;
    timeouts.WriteTotalTimeoutMultiplier = SerialWriteMultiplier;
    timeouts.WriteTotalTimeoutConstant = SerialWriteConstant;
    return SetCommTimeouts(app.commHandle, &timeouts) != 0;
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
    // Ending by the port's time-outs is no failure: what arrived is in the buffer. Windows
    // reports it as success; some drivers (and Wine) report it as a time-out error.
    DWORD error = GetLastError();
    return error == ERROR_TIMEOUT || error == ERROR_SEM_TIMEOUT;
}

// Runs one write or read of the port with its own event; true when it succeeded. Returns false
// without touching the ResponseBuffer when no event could be made (the box says so).
template <typename Operation>
bool RunOverlapped(BOOL manualReset, DWORD limitMs, bool& ran, Operation operation)
{
    ran = false;
    OVERLAPPED overlapped{};
    overlapped.hEvent = CreateEventA(nullptr, manualReset, FALSE, nullptr);
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
    if (!ApplyTimeouts()) {
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
    bool ran = false;
    bool ok =
        RunOverlapped(TRUE, SerialWriteConstant + SerialWriteMultiplier * length + SafetyMarginMs,
                      ran, [&](OVERLAPPED& overlapped) {
                          return WriteFile(app.commHandle, app.CommandBuffer.data(), length,
                                           nullptr, &overlapped);
                      });
    // The text and its zero byte only; the rest of the buffer keeps what it held.
    if (ran && !ok)
        std::memcpy(app.ResponseBuffer.data(), "Write Comport Failure", 22);
}

void SerialRead()
{
    bool ran = false;
    // An auto-reset event here, a manual-reset one for the write: each event serves one operation
    // and is closed after it, and the result is taken once the operation is complete, so either
    // kind serves.
    bool ok = RunOverlapped(
        FALSE, SerialReadConstant + SerialReadMultiplier * ResponseBufferSize + SafetyMarginMs, ran,
        [&](OVERLAPPED& overlapped) {
            return ReadFile(app.commHandle, app.ResponseBuffer.data(), ResponseBufferSize, nullptr,
                            &overlapped);
        });
    if (ran && !ok)
        std::memcpy(app.ResponseBuffer.data(), "Read Comport Failure", 21);
}
