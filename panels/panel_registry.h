// The panel registry: every panel of the main window, once, in the order start-up builds them.
// A panel is one row here, its name and the table its own file defines; everything else that
// differs between panels is in that table. The Panel enumeration, PanelCount and PanelRegistry
// (panels/panel_table.h) are all made from these rows, so nothing else lists the panels.
// The first row is the panel shown at start-up.
#pragma once

// clang-format off
#define TESSALY_PANEL_ROWS(ROW)                   \
    ROW(Command,       CommandPanelTable)         \
    ROW(Trigger,       TriggerPanelTable)         \
    ROW(Communication, CommunicationPanelTable)   \
    ROW(Manufacturer,  ManufacturerPanelTable)    \
    ROW(Status,        StatusPanelTable)          \
    /* a new panel is one more row above this line */
// clang-format on

#define TESSALY_PANEL_VALUE(name, table) name,
enum class Panel : int { TESSALY_PANEL_ROWS(TESSALY_PANEL_VALUE) };
#undef TESSALY_PANEL_VALUE

#define TESSALY_PANEL_ONE(name, table) +1
constexpr int PanelCount = 0 TESSALY_PANEL_ROWS(TESSALY_PANEL_ONE);
#undef TESSALY_PANEL_ONE
