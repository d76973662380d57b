// The main window's procedure and the start-up pieces that the entry function needs: the window's
// class name and style, and the bootloader steps box (also used by the bench's bare program, so
// that it makes the very same window).
#pragma once

#include "app/platform_types.h"

constexpr const char* MainWindowClass = "Varnock Remote Interface";
constexpr DWORD MainWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX; // 0x00CA0000
constexpr DWORD StepsBoxStyle = WS_CHILD | WS_BORDER | ES_READONLY | ES_MULTILINE;

constexpr const char* StepsText =
    "Steps for using the bootloader:\r\n"
    "   Close all RS-232, USB, and Ethernet connections\r\n"
    "   Turn off unit\r\n"
    "   Move boot loader switch to the UP position\r\n"
    "   Turn unit on\r\n"
    " \r\n"
    "In the popup boot loader window:\r\n"
    "   Click Connect\r\n"
    "   Load Hex File\r\n"
    "   Erase-Program-Verify\r\n"
    "   Run application\r\n"
    " \r\n"
    " \r\n"
    "Note: the communication configuration parameters and password will be reset to default.";

// Registers the main window class with this procedure; false when the system refuses it.
bool RegisterMainWindowClass(HINSTANCE instance, WNDPROC procedure);
// Fills the whole client area with white, then lets the default procedure finish the paint.
LRESULT PaintWhite(HWND window);

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
