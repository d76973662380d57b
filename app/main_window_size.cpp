// The main window's client area from the panel tables and the steps box, and the outer size that
// makes room for it.
#include "app/main_window_size.h"

#include <algorithm>

#include "panels/panel_table.h"

Extent ControlsExtent()
{
    Extent extent{StepsBoxX + StepsBoxWidth, StepsBoxY + StepsBoxHeight};
    for (const PanelEntry& entry : PanelRegistry) {
        const PanelTable& table = entry.table;
        for (int i = 0; i < table.controlCount; ++i) {
            const ControlRow& row = table.controls[i];
            extent.width = std::max(extent.width, row.x + row.width);
            extent.height = std::max(extent.height, row.y + row.height);
        }
    }
    return extent;
}

Extent ClientSizeToHold(Extent controls)
{
    return {std::max(LayoutClient.width, controls.width + ClientMargin),
            std::max(LayoutClient.height, controls.height + ClientMargin)};
}

Extent MainClientSize()
{
    return ClientSizeToHold(ControlsExtent());
}

Extent GrownToHold(Extent outer, Extent client, Extent needed)
{
    return {outer.width + std::max(0, needed.width - client.width),
            outer.height + std::max(0, needed.height - client.height)};
}
