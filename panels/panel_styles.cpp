// Window class, extended style and style of every kind of control the panel builders create,
// written with the Windows names. The native build, which has no windows.h, gets the same bits
// under the same names.
#include <iterator>

#include "panels/panel_table.h"

#ifndef _WIN32
namespace
{
// The values of WinUser.h.
constexpr std::uint32_t WS_CHILD = 0x40000000;
constexpr std::uint32_t WS_VISIBLE = 0x10000000;
constexpr std::uint32_t WS_BORDER = 0x00800000;
constexpr std::uint32_t WS_VSCROLL = 0x00200000;
constexpr std::uint32_t WS_GROUP = 0x00020000;
constexpr std::uint32_t WS_TABSTOP = 0x00010000;
constexpr std::uint32_t WS_EX_WINDOWEDGE = 0x00000100;
constexpr std::uint32_t ES_MULTILINE = 0x0004;
constexpr std::uint32_t ES_READONLY = 0x0800;
constexpr std::uint32_t BS_DEFPUSHBUTTON = 0x0001;
constexpr std::uint32_t BS_GROUPBOX = 0x0007;
constexpr std::uint32_t BS_AUTORADIOBUTTON = 0x0009;
constexpr std::uint32_t LBS_NOTIFY = 0x0001;
constexpr std::uint32_t LBS_HASSTRINGS = 0x0040;
} // namespace
#endif

namespace
{

// Indexed by ControlKind.
constexpr ControlStyle Styles[] = {
    // OutputBox
    {"EDIT", 0, WS_CHILD | WS_BORDER | WS_VSCROLL | ES_READONLY | ES_MULTILINE},
    // PushButton
    {"BUTTON", 0, WS_CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON},
    // Label: created visible, hidden with its panel at start-up
    {"STATIC", 0, WS_CHILD | WS_VISIBLE},
    // GroupFrame
    {"BUTTON", 0, WS_CHILD | BS_GROUPBOX},
    // EntryBox: no automatic horizontal scrolling, so it takes what fits in its width
    {"EDIT", 0, WS_CHILD | WS_BORDER},
    // FirstOption: starts a group
    {"BUTTON", WS_EX_WINDOWEDGE, WS_CHILD | WS_GROUP | BS_AUTORADIOBUTTON},
    // Option
    {"BUTTON", WS_EX_WINDOWEDGE, WS_CHILD | BS_AUTORADIOBUTTON},
    // ListBox: unsorted, filled in the order of its entries
    {"LISTBOX", 0, WS_CHILD | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_HASSTRINGS},
};
static_assert(std::size(Styles) == static_cast<std::size_t>(ControlKind::ListBox) + 1,
              "one style per control kind");

} // namespace

const ControlStyle& StyleOf(ControlKind kind)
{
    auto index = static_cast<std::size_t>(kind);
    return Styles[index < std::size(Styles) ? index : 0];
}
