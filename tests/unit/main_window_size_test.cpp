// The main window's client area against every control of every panel and the steps box, and the
// outer size that grows where the frame, caption or menu bar take more than counted.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "app/main_window_size.h"
#include "panels/panel_table.h"
#include "res/resource.h"
#include "tests/unit/written_ids.h"

// A failed comparison shows the extent as the layout writes it.
void PrintTo(const Extent& extent, std::ostream* os)
{
    *os << extent.width << " x " << extent.height;
}

namespace
{

// A control keeps the window at its classic size when it lies inside the layout's client area
// with the margin the steps box keeps. The name is made only for a control that does not.
template <typename Name> void ExpectInsideTheLayout(Name what, int x, int y, int width, int height)
{
    const Extent room{LayoutClient.width - ClientMargin, LayoutClient.height - ClientMargin};
    const bool inside = x >= 0 && y >= 0 && x + width <= room.width && y + height <= room.height;
    EXPECT_TRUE(inside) << what() << " at (" << x << ", " << y << "), " << width << " x " << height
                        << ", reaches to (" << x + width << ", " << y + height
                        << "), beyond the layout's " << room.width << " x " << room.height
                        << " (LayoutClient less the margin): the window would grow past "
                        << ClassicWindow.width << " x " << ClassicWindow.height;
}

} // namespace

TEST(MainWindowSize, HoldsEveryControlAndKeepsTheLayoutsClientArea)
{
    for (const PanelEntry& entry : PanelRegistry) {
        for (int i = 0; i < entry.table.controlCount; ++i) {
            const ControlRow& row = entry.table.controls[i];
            ExpectInsideTheLayout(
                [&] {
                    return std::string(entry.name) + " panel control " + ControlIdName(row.id) +
                           " \"" + row.caption + "\"";
                },
                row.x, row.y, row.width, row.height);
        }
    }
    ExpectInsideTheLayout([] { return "the steps box"; }, StepsBoxX, StepsBoxY, StepsBoxWidth,
                          StepsBoxHeight);
    EXPECT_EQ(MainClientSize(), LayoutClient);
}

TEST(MainWindowSize, ClientGrowsOnlyWhereAControlReachesBeyondTheLayout)
{
    EXPECT_EQ(ClientSizeToHold({859, 606}), LayoutClient) << "margin just fits";
    EXPECT_EQ(ClientSizeToHold({860, 606}), (Extent{865, 611}));
    EXPECT_EQ(ClientSizeToHold({850, 607}), (Extent{864, 612}));
    EXPECT_EQ(ClientSizeToHold({1000, 900}), (Extent{1005, 905}));
    EXPECT_EQ(ClientSizeToHold({0, 0}), LayoutClient);
}

TEST(MainWindowSize, OuterSizeGrowsByWhatTheClientLacksAndNeverShrinks)
{
    // A menu bar wrapped onto a second row took 19 more pixels than the frame computation
    // counted.
    EXPECT_EQ(GrownToHold(ClassicWindow, {864, 592}, LayoutClient), (Extent{870, 674}));
    EXPECT_EQ(GrownToHold(ClassicWindow, {860, 611}, LayoutClient), (Extent{874, 655}));
    EXPECT_EQ(GrownToHold(ClassicWindow, LayoutClient, LayoutClient), ClassicWindow);
    EXPECT_EQ(GrownToHold({880, 700}, {900, 650}, LayoutClient), (Extent{880, 700}));
}
