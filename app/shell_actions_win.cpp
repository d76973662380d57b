// File > Bootloader and About > Read Me. The bootloader view replaces the panels with the steps
// box and repaints at once.
#include "app/shell_actions.h"

#include "app/app_state.h"
#include "console/panels_win.h"

void StartBootloader()
{
    for (int p = 0; p < PanelCount; ++p)
        HidePanel(static_cast<Panel>(p));
    ShowWindow(app.StepsBox, SW_SHOW);
    InvalidateRect(app.mainWindow, nullptr, FALSE);
    UpdateWindow(app.mainWindow);
}

void ShowAbout() {}
