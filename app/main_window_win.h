// The main window's procedure (app/main_window_win.cpp).
#pragma once

#include "core/platform_types.h"

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
