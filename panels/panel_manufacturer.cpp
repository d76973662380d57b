// The Manufacturer panel: identification, firmware version and the password commands. Nothing
// typed here is checked: the passwords go to the instrument as typed, between quotes.
#include "panels/panel_table.h"

#include <iterator>

#include "res/resource.h"

namespace
{

// Every control, in creation order.
constexpr ControlRow Controls[] = {
    {IDC_MANUFACTURER_OUTPUT_BOX, ControlKind::OutputBox, "", 370, 10, 460, 500},
    {IDC_MANUFACTURER_GET_LAST_ERROR, ControlKind::PushButton, "Get Last Error", 380, 520, 120, 20},
    {IDC_MANUFACTURER_CLEAR_DISPLAY, ControlKind::PushButton, "Clear Display", 680, 520, 120, 20},
    {IDC_GET_IDN, ControlKind::PushButton, "*IDN?", 10, 10, 55, 20},
    {IDC_GET_VERSION, ControlKind::PushButton, "SYST:VERS?", 75, 10, 100, 20},
    {IDC_STATIC, ControlKind::GroupFrame, "Password Commands", 10, 60, 350, 175},
    {IDC_GET_PASSWORD_STATE, ControlKind::PushButton, "SYST:PASS:STATe?", 20, 85, 140, 20},
    {IDC_PANEL_LABEL, ControlKind::Label, "Current Password:", 20, 115, 130, 20},
    {IDC_CURRENT_PASSWORD_BOX, ControlKind::EntryBox, "", 170, 115, 180, 20},
    {IDC_PASSWORD_CDIS, ControlKind::PushButton, "SYST:PASS:CDIS", 20, 145, 130, 20},
    {IDC_PASSWORD_CEN, ControlKind::PushButton, "SYST:PASS:CEN", 220, 145, 130, 20},
    {IDC_PANEL_LABEL, ControlKind::Label, "New Password:", 20, 175, 130, 20},
    {IDC_NEW_PASSWORD_BOX, ControlKind::EntryBox, "", 170, 175, 180, 20},
    {IDC_PASSWORD_NEW, ControlKind::PushButton, "SYST:PASS:NEW", 20, 205, 130, 20},
};

// Every button that starts a command.
constexpr CommandRow Commands[] = {
    LineRow(IDC_GET_IDN, CommandKind::QueryLineFeed, "*IDN?\n"),
    LineRow(IDC_GET_VERSION, CommandKind::QueryLineFeed, "SYST:VERS?\n"),
    LineRow(IDC_GET_PASSWORD_STATE, CommandKind::Query, "SYST:PASS:STAT?\n"),
    EntryRow(IDC_PASSWORD_CDIS, CommandKind::Password, "SYST:PASS:CDIS \"",
             IDC_CURRENT_PASSWORD_BOX),
    EntryRow(IDC_PASSWORD_CEN, CommandKind::Password, "SYST:PASS:CEN \"", IDC_CURRENT_PASSWORD_BOX),
    EntryRow(IDC_PASSWORD_NEW, CommandKind::NewPassword, "SYST:PASS:NEW \"",
             IDC_CURRENT_PASSWORD_BOX, nullptr, IDC_NEW_PASSWORD_BOX),
    LineRow(IDC_MANUFACTURER_GET_LAST_ERROR, CommandKind::Query, "SYST:ERR?\n"),
    LineRow(IDC_MANUFACTURER_CLEAR_DISPLAY, CommandKind::ClearDisplay),
};

} // namespace

extern const PanelTable ManufacturerPanelTable = {
    Controls,
    std::size(Controls),
    Commands,
    std::size(Commands),
    {IDC_CURRENT_PASSWORD_BOX, IDC_NEW_PASSWORD_BOX},
};
