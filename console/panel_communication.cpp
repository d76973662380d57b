// The Communication panel: the instrument's own LAN settings (configuration mode, address,
// subnet, gateway, host name, socket port) and its serial baud rate.
#include "console/panel_table.h"

#include <iterator>

#include "console/transaction.h"

namespace
{

constexpr Panel ThisPanel = Panel::Communication;

// Every control, in creation order.
constexpr ControlRow Controls[] = {
    {259, ControlKind::OutputBox, "", 370, 10, 460, 500},
    {268, ControlKind::PushButton, "Get Last Error", 380, 520, 120, 20},
    {273, ControlKind::PushButton, "Clear Display", 680, 520, 120, 20},
    {-1, ControlKind::GroupFrame, "Ethernet Commands", 10, 10, 350, 260},
    {0, ControlKind::Label, "LAN:CONFIG", 20, 30, 120, 20},
    {239, ControlKind::FirstOption, "DHCP", 120, 30, 65, 20},
    {240, ControlKind::Option, "AUTO-IP", 190, 30, 85, 20},
    {241, ControlKind::Option, "Manual", 280, 30, 75, 20},
    {243, ControlKind::PushButton, "Set", 240, 60, 40, 20},
    {242, ControlKind::PushButton, "Get", 290, 60, 40, 20},
    {0, ControlKind::Label, "IP Address:", 20, 120, 100, 20},
    {227, ControlKind::EntryBox, "", 110, 120, 120, 20},
    {229, ControlKind::PushButton, "Set", 240, 120, 40, 20},
    {228, ControlKind::PushButton, "Get", 290, 120, 40, 20},
    {222, ControlKind::PushButton, "Get Active IP", 20, 90, 100, 20},
    {0, ControlKind::Label, "Subnet:", 20, 150, 100, 20},
    {230, ControlKind::EntryBox, "", 110, 150, 120, 20},
    {232, ControlKind::PushButton, "Set", 240, 150, 40, 20},
    {231, ControlKind::PushButton, "Get", 290, 150, 40, 20},
    {0, ControlKind::Label, "Gateway:", 20, 180, 100, 20},
    {233, ControlKind::EntryBox, "", 110, 180, 120, 20},
    {235, ControlKind::PushButton, "Set", 240, 180, 40, 20},
    {234, ControlKind::PushButton, "Get", 290, 180, 40, 20},
    {0, ControlKind::Label, "Hostname:", 20, 210, 100, 20},
    {236, ControlKind::EntryBox, "", 110, 210, 120, 20},
    {238, ControlKind::PushButton, "Set", 240, 210, 40, 20},
    {237, ControlKind::PushButton, "Get", 290, 210, 40, 20},
    {0, ControlKind::Label, "TCP Socket:", 20, 240, 100, 20},
    {284, ControlKind::EntryBox, "", 110, 240, 120, 20},
    {282, ControlKind::PushButton, "Set", 240, 240, 40, 20},
    {283, ControlKind::PushButton, "Get", 290, 240, 40, 20},
    {-1, ControlKind::GroupFrame, "RS-232 Commands", 10, 360, 350, 130},
    {0, ControlKind::Label, "Baud Rate:", 20, 380, 80, 20},
    {244, ControlKind::ListBox, "", 120, 380, 80, 100},
    {245, ControlKind::PushButton, "Set", 240, 380, 40, 20},
    {246, ControlKind::PushButton, "Get", 290, 380, 40, 20},
};
static_assert(std::size(Controls) == 36);

constexpr const char* LanConfigReason =
    ", need to select DHCP, AUTO-IP or Manual. \r\n Command not sent";
// The baud list always holds a selection; this is only said if the list answers outside its range.
constexpr const char* BaudReason = ", need to select a baud rate. \r\n Command not sent";

// Every button that starts a command.
constexpr CommandRow Commands[] = {
    SelectionRow(243, ThisPanel, "SYST:COMM:LAN:CONF ",
                 {{{239, "DHCP"}, {240, "AUTO"}, {241, "MAN"}}}, LanConfigReason),
    LineRow(242, ThisPanel, CommandKind::Query, "SYST:COMM:LAN:CONF?\n"),
    LineRow(222, ThisPanel, CommandKind::Query, "SYST:COMM:LAN:IP:ACT?\n"),
    EntryRow(229, ThisPanel, CommandKind::QuotedValue, "SYST:COMM:LAN:IP \"", 227, AddressChars),
    LineRow(228, ThisPanel, CommandKind::Query, "SYST:COMM:LAN:IP?\n"),
    EntryRow(232, ThisPanel, CommandKind::QuotedValue, "SYST:COMM:LAN:SUBN \"", 230, AddressChars),
    LineRow(231, ThisPanel, CommandKind::Query, "SYST:COMM:LAN:SUBN?\n"),
    EntryRow(235, ThisPanel, CommandKind::QuotedValue, "SYST:COMM:LAN:GATE \"", 233, AddressChars),
    LineRow(234, ThisPanel, CommandKind::Query, "SYST:COMM:LAN:GATE?\n"),
    EntryRow(238, ThisPanel, CommandKind::HostName, "SYST:COMM:LAN:HOST \"", 236),
    LineRow(237, ThisPanel, CommandKind::Query, "SYST:COMM:LAN:HOST?\n"),
    EntryRow(282, ThisPanel, CommandKind::Value, "SYST:COMM:SOCK:PORT ", 284, DigitChars),
    LineRow(283, ThisPanel, CommandKind::Query, "SYST:COMM:SOCK:PORT?\n"),
    BaudRateRow(245, ThisPanel, "SYST:COMM:SER:BAUD ", 244, BaudReason),
    LineRow(246, ThisPanel, CommandKind::Query, "SYST:COMM:SER:BAUD?\n"),
    LineRow(268, ThisPanel, CommandKind::Query, "SYST:ERR?\n"),
    LineRow(273, ThisPanel, CommandKind::ClearDisplay),
};

} // namespace

extern const PanelTable CommunicationPanelTable = {
    ThisPanel, Controls, std::size(Controls), 259, 40014, Commands, std::size(Commands),
};
