// The main window's client area against every control of every panel and the steps box, and the
// outer size that grows where the frame, caption or menu bar take more than counted.
#include <gtest/gtest.h>

#include "app/main_window_size.h"
#include "panels/panel_table.h"

namespace
{

void ExpectInside(Extent client, int x, int y, int width, int height, const char* what, int id)
{
    EXPECT_GE(x, 0) << what << " " << id;
    EXPECT_GE(y, 0) << what << " " << id;
    EXPECT_LE(x + width, client.width) << what << " " << id;
    EXPECT_LE(y + height, client.height) << what << " " << id;
}

} // namespace

TEST(MainWindowSize, HoldsEveryControlAndKeepsTheLayoutsClientArea)
{
    const Extent client = MainClientSize();
    for (const PanelEntry& entry : PanelRegistry) {
        const PanelTable& table = entry.table;
        for (int i = 0; i < table.controlCount; ++i) {
            const ControlRow& row = table.controls[i];
            ExpectInside(client, row.x, row.y, row.width, row.height, "control", row.id);
        }
    }
    ExpectInside(client, StepsBoxX, StepsBoxY, StepsBoxWidth, StepsBoxHeight, "steps box",
                 IDC_STEPS_BOX);
    // Every control fits the layout's own client area, so the classic window keeps its size.
    EXPECT_EQ(client, LayoutClient);
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
