// Handle and record types that AppState holds. The Windows build uses the real ones; the native
// build (unit tests, fuzzers) gets small stand-ins of the same size so that the same record
// compiles.
#pragma once

#ifdef _WIN32
#include <windows.h>
#include <winsock2.h>
#else
#include <cstdint>

using HWND = struct HWND__*;
using HFONT = struct HFONT__*;
using HANDLE = void*;
using SOCKET = std::uintptr_t;
using DWORD = std::uint32_t;
constexpr SOCKET INVALID_SOCKET = ~SOCKET(0);

// The serial device control block is 28 bytes on Windows; the native build only needs its size.
struct DCB {
    std::uint32_t DCBlength;
    std::uint32_t BaudRate;
    std::uint32_t flags;
    std::uint16_t wReserved, XonLim, XoffLim;
    std::uint8_t ByteSize, Parity, StopBits;
    char XonChar, XoffChar, ErrorChar, EofChar, EvtChar;
    std::uint16_t wReserved1;
};
static_assert(sizeof(DCB) == 28, "DCB stand-in must match the Windows record");
#endif
