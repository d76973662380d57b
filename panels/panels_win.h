// Creating the panels' controls as children of the main window, and showing or hiding a whole
// panel at once.
#pragma once

#include <cstdint>

#include "core/app_state.h"
#include "panels/panel_table.h"

// The one font of every panel's controls, made on first use and kept in app.panelFont.
inline HFONT PanelFont()
{
    if (app.panelFont == nullptr)
        app.panelFont = CreateFontA(16, 0, 0, 0, 600, FALSE, FALSE, FALSE, 0, OUT_DEFAULT_PRECIS,
                                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, 32, "Times New Roman");
    return app.panelFont;
}

// The child identifier is the 16-bit ControlId, so a group frame's -1 becomes 0xFFFF.
inline HMENU ChildId(int controlId)
{
    return reinterpret_cast<HMENU>(
        static_cast<std::uintptr_t>(static_cast<std::uint16_t>(controlId)));
}

// Creates every control of the panel's table with the panel font, in table order, hidden apart
// from the labels; keeps their handles in app.controls.
void BuildPanel(Panel panel);

// The one control of the table row, created as BuildPanel creates it with the font given.
HWND BuildControl(const ControlRow& row, HFONT font);

// Shows or hides every control that the panel's builder created.
void ShowPanel(Panel panel);
void HidePanel(Panel panel);
// Shows the panel and hides every other, in switch order.
void ShowOnlyPanel(Panel shown);
// Hides every panel.
void HideAllPanels();
