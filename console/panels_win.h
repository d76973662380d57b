// Creating the panels' controls as children of the main window, and showing or hiding a whole
// panel at once.
#pragma once

#include <cstdint>

#include "app/app_state.h"
#include "console/panel_table.h"

// The font of every panel's controls; each panel makes its own.
inline HFONT CreatePanelFont()
{
    return CreateFontA(16, 0, 0, 0, 600, FALSE, FALSE, FALSE, 0, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, 32, "Times New Roman");
}

// The child identifier is the 16-bit ControlId, so a group frame's -1 becomes 0xFFFF.
inline HMENU ChildId(int controlId)
{
    return reinterpret_cast<HMENU>(
        static_cast<std::uintptr_t>(static_cast<std::uint16_t>(controlId)));
}

// Creates the panel's font and every control of its table, in table order, hidden apart from
// the labels; keeps their handles in app.controls.
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
