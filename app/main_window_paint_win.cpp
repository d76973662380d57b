// How the main window paints: its client area white, and its labels, frames, option buttons and
// read-only boxes on white. The bench's bare program paints with these too.
#include "app/main_window_paint_win.h"

LRESULT PaintWhite(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    EndPaint(window, &paint);
    return 0; // painted: the default procedure has nothing left to do
}

LRESULT WhiteStaticBackground(HDC dc)
{
    SetBkColor(dc, RGB(255, 255, 255));
    return reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
}
