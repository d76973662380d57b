// Window class, extended style and style of every kind of control the panel builders create.
// The numbers are the Windows style bits, spelled out so that the table builds without windows.h.
#include <iterator>

#include "console/panel_table.h"

namespace
{

constexpr std::uint32_t WsExWindowEdge = 0x100;

// Indexed by ControlKind; every style has WS_CHILD.
constexpr ControlStyle Styles[] = {
    {"EDIT", 0, 0x40A00804},                // OutputBox: border, vscroll, read-only, multi-line
    {"BUTTON", 0, 0x40010001},              // PushButton: tab stop, default push button
    {"STATIC", 0, 0x50000000},              // Label: visible
    {"BUTTON", 0, 0x40000007},              // GroupFrame: group box
    {"EDIT", 0, 0x40800000},                // EntryBox: border
    {"BUTTON", WsExWindowEdge, 0x40020009}, // FirstOption: group, auto radio button
    {"BUTTON", WsExWindowEdge, 0x40000009}, // Option: auto radio button
    {"LISTBOX", 0, 0x40A00043},             // ListBox: border, vscroll, notify, sort, strings
};
static_assert(std::size(Styles) == static_cast<std::size_t>(ControlKind::ListBox) + 1,
              "one style per control kind");

} // namespace

const ControlStyle& StyleOf(ControlKind kind)
{
    auto index = static_cast<std::size_t>(kind);
    return Styles[index < std::size(Styles) ? index : 0];
}
