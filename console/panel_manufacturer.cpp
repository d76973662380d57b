// The Manufacturer panel: identification, firmware version and the password commands. Nothing
// typed here is checked: the passwords go to the instrument as typed, between quotes.
#include "console/panel_table.h"

#include <iterator>

namespace
{

constexpr Panel ThisPanel = Panel::Manufacturer;

// Every control, in creation order.
constexpr ControlRow Controls[] = {
    {260, ControlKind::OutputBox, "", 370, 10, 460, 500},
    {269, ControlKind::PushButton, "Get Last Error", 380, 520, 120, 20},
    {274, ControlKind::PushButton, "Clear Display", 680, 520, 120, 20},
    {250, ControlKind::PushButton, "*IDN?", 10, 10, 55, 20},
    {251, ControlKind::PushButton, "SYST:VERS?", 75, 10, 100, 20},
    {-1, ControlKind::GroupFrame, "Password Commands", 10, 60, 350, 175},
    {254, ControlKind::PushButton, "SYST:PASS:STATe?", 20, 85, 140, 20},
    {0, ControlKind::Label, "Current Password:", 20, 115, 130, 20},
    {256, ControlKind::EntryBox, "", 170, 115, 180, 20},
    {252, ControlKind::PushButton, "SYST:PASS:CDIS", 20, 145, 130, 20},
    {253, ControlKind::PushButton, "SYST:PASS:CEN", 220, 145, 130, 20},
    {0, ControlKind::Label, "New Password:", 20, 175, 130, 20},
    {255, ControlKind::EntryBox, "", 170, 175, 180, 20},
    {257, ControlKind::PushButton, "SYST:PASS:NEW", 20, 205, 130, 20},
};
static_assert(std::size(Controls) == 14);

// Every button that starts a command.
constexpr CommandRow Commands[] = {
    LineRow(250, ThisPanel, CommandKind::QueryLineFeed, "*IDN?\n"),
    LineRow(251, ThisPanel, CommandKind::QueryLineFeed, "SYST:VERS?\n"),
    LineRow(254, ThisPanel, CommandKind::Query, "SYST:PASS:STAT?\n"),
    EntryRow(252, ThisPanel, CommandKind::Password, "SYST:PASS:CDIS \"", CurrentPasswordBoxId),
    EntryRow(253, ThisPanel, CommandKind::Password, "SYST:PASS:CEN \"", CurrentPasswordBoxId),
    EntryRow(257, ThisPanel, CommandKind::NewPassword, "SYST:PASS:NEW \"", CurrentPasswordBoxId,
             nullptr, NewPasswordBoxId),
    LineRow(269, ThisPanel, CommandKind::Query, "SYST:ERR?\n"),
    LineRow(274, ThisPanel, CommandKind::ClearDisplay),
};

} // namespace

extern const PanelTable ManufacturerPanelTable = {
    ThisPanel, Controls, std::size(Controls), 260, 40015, Commands, std::size(Commands),
};
