// The size of the main window's client area: what the five panels and the bootloader steps box
// need. The window's outer size follows from it and the system's frame, caption and menu bar, so
// that larger captions and menus (other text sizes, other themes) make the window grow instead of
// cutting off its lowest controls.
#pragma once

struct Extent {
    int width;
    int height;
};

inline bool operator==(Extent a, Extent b)
{
    return a.width == b.width && a.height == b.height;
}

// The bootloader steps box, over the panels' area.
constexpr int StepsBoxX = 5;
constexpr int StepsBoxY = 5;
constexpr int StepsBoxWidth = 845;
constexpr int StepsBoxHeight = 600;

// The client area the controls were laid out in, and the window around it under the classic
// metrics at 96 DPI (a 3-pixel frame, a 19-pixel caption and a 19-pixel menu bar): 870 x 655.
// Sizing the client to LayoutClient keeps the window that size there.
constexpr Extent LayoutClient{864, 611};
constexpr int ClassicFrame = 3;
constexpr int ClassicCaption = 19;
constexpr int ClassicMenuBar = 19;
constexpr Extent ClassicWindow{LayoutClient.width + 2 * ClassicFrame,
                               LayoutClient.height + 2 * ClassicFrame + ClassicCaption +
                                   ClassicMenuBar};
// The room kept beyond the furthest control, as the steps box keeps at the left and top.
constexpr int ClientMargin = StepsBoxX;

// The right and bottom edges furthest out of every control of every panel and the steps box.
Extent ControlsExtent();

// The client area that holds controls reaching to `controls`: the layout's own client area, or
// more where a control reaches beyond it.
Extent ClientSizeToHold(Extent controls);

// The client area the main window needs: ClientSizeToHold(ControlsExtent()).
Extent MainClientSize();

// The outer size that gives the client area it needs, from the outer size that gave `client`
// (the menu bar may wrap onto more rows than the frame computation counted): grown by what the
// client area lacks, never shrunk.
Extent GrownToHold(Extent outer, Extent client, Extent needed);
