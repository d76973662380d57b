// How the main window paints (app/main_window_paint_win.cpp).
#pragma once

#include "core/platform_types.h"

// WM_PAINT: fills the whole client area with white and ends the paint; the window procedure
// returns what this returns (0, painted), with nothing left for the default procedure to do.
LRESULT PaintWhite(HWND window);
// WM_CTLCOLORSTATIC: labels, frames, option buttons and read-only boxes drawn on white.
LRESULT WhiteStaticBackground(HDC dc);
