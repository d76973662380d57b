// The main window's procedure and the start-up pieces that the entry function needs.
#pragma once

#include "app/platform_types.h"

constexpr const char* MainWindowClass = "Varnock Remote Interface";

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
