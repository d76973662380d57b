// Making the main window at start-up: its class, its menu, the window and its children (also used
// by the bench's bare program, so that it makes the very same window).
#pragma once

#include "core/platform_types.h"

constexpr const char* MainWindowClass = "Varnock Remote Interface";
// Registers the main window class with this procedure; false when the system refuses it.
bool RegisterMainWindowClass(HINSTANCE instance, WNDPROC procedure);
// The fixed-size main window at (10, 10) with the main menu, sized so that its client area holds
// every panel and the steps box (ClassicWindow under the classic metrics); nullptr on failure.
HWND CreateMainWindow(HINSTANCE instance);
// Start-up's children of the main window: the panels in registry order and the bootloader steps
// box, then the registry's first panel (Command) shown, the others and the steps box hidden, and
// the steps box's font set.
void BuildViews(HINSTANCE instance);
// Deletes the panel and steps fonts; only after the main window and its controls are destroyed.
void DeleteFonts();
// The bootloader steps box over the panels' area, into app.StepsBox (part of BuildViews).
void CreateStepsBox(HINSTANCE instance);
