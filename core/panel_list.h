// The panels of the main window, by name, in the order start-up builds them; the first is the one
// shown at start-up. The Panel enumeration and PanelCount are made from this list, so the state
// record can hold one output log and one set of control handles per panel. Each panel's table,
// View menu item and place in the switch order are its row in panels/panel_registry.cpp; its
// table is named after it (CommandPanelTable, ...).
#pragma once

// clang-format off
#define TESSALY_PANELS(PANEL) \
    PANEL(Command)            \
    PANEL(Trigger)            \
    PANEL(Communication)      \
    PANEL(Manufacturer)       \
    PANEL(Status)             \
    /* a new panel is one more line above this one */
// clang-format on

#define TESSALY_PANEL_VALUE(name) name,
enum class Panel : int { TESSALY_PANELS(TESSALY_PANEL_VALUE) };
#undef TESSALY_PANEL_VALUE

#define TESSALY_PANEL_ONE(name) +1
constexpr int PanelCount = 0 TESSALY_PANELS(TESSALY_PANEL_ONE);
#undef TESSALY_PANEL_ONE
