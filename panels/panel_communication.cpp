// The Communication panel: the instrument's own LAN settings (configuration mode, address,
// subnet, gateway, host name, socket port) and its serial baud rate.
#include "panels/panel_table.h"

#include <iterator>

#include "panels/transaction.h"
#include "res/resource.h"

namespace
{

// Every control, in creation order.
constexpr ControlRow Controls[] = {
    {IDC_COMMUNICATION_OUTPUT_BOX, ControlKind::OutputBox, "", 370, 10, 460, 500},
    {IDC_COMMUNICATION_GET_LAST_ERROR, ControlKind::PushButton, "Get Last Error", 380, 520, 120,
     20},
    {IDC_COMMUNICATION_CLEAR_DISPLAY, ControlKind::PushButton, "Clear Display", 680, 520, 120, 20},
    {IDC_STATIC, ControlKind::GroupFrame, "Ethernet Commands", 10, 10, 350, 260},
    {IDC_PANEL_LABEL, ControlKind::Label, "LAN:CONFIG", 20, 30, 120, 20},
    {IDC_LAN_CONFIG_DHCP, ControlKind::FirstOption, "DHCP", 120, 30, 65, 20},
    {IDC_LAN_CONFIG_AUTO_IP, ControlKind::Option, "AUTO-IP", 190, 30, 85, 20},
    {IDC_LAN_CONFIG_MANUAL, ControlKind::Option, "Manual", 280, 30, 75, 20},
    {IDC_SET_LAN_CONFIG, ControlKind::PushButton, "Set", 240, 60, 40, 20},
    {IDC_GET_LAN_CONFIG, ControlKind::PushButton, "Get", 290, 60, 40, 20},
    {IDC_PANEL_LABEL, ControlKind::Label, "IP Address:", 20, 120, 100, 20},
    {IDC_LAN_IP_BOX, ControlKind::EntryBox, "", 110, 120, 120, 20},
    {IDC_SET_LAN_IP, ControlKind::PushButton, "Set", 240, 120, 40, 20},
    {IDC_GET_LAN_IP, ControlKind::PushButton, "Get", 290, 120, 40, 20},
    {IDC_GET_ACTIVE_IP, ControlKind::PushButton, "Get Active IP", 20, 90, 100, 20},
    {IDC_PANEL_LABEL, ControlKind::Label, "Subnet:", 20, 150, 100, 20},
    {IDC_SUBNET_BOX, ControlKind::EntryBox, "", 110, 150, 120, 20},
    {IDC_SET_SUBNET, ControlKind::PushButton, "Set", 240, 150, 40, 20},
    {IDC_GET_SUBNET, ControlKind::PushButton, "Get", 290, 150, 40, 20},
    {IDC_PANEL_LABEL, ControlKind::Label, "Gateway:", 20, 180, 100, 20},
    {IDC_GATEWAY_BOX, ControlKind::EntryBox, "", 110, 180, 120, 20},
    {IDC_SET_GATEWAY, ControlKind::PushButton, "Set", 240, 180, 40, 20},
    {IDC_GET_GATEWAY, ControlKind::PushButton, "Get", 290, 180, 40, 20},
    {IDC_PANEL_LABEL, ControlKind::Label, "Hostname:", 20, 210, 100, 20},
    {IDC_HOSTNAME_BOX, ControlKind::EntryBox, "", 110, 210, 120, 20},
    {IDC_SET_HOSTNAME, ControlKind::PushButton, "Set", 240, 210, 40, 20},
    {IDC_GET_HOSTNAME, ControlKind::PushButton, "Get", 290, 210, 40, 20},
    {IDC_PANEL_LABEL, ControlKind::Label, "TCP Socket:", 20, 240, 100, 20},
    {IDC_TCP_SOCKET_BOX, ControlKind::EntryBox, "", 110, 240, 120, 20},
    {IDC_SET_TCP_SOCKET, ControlKind::PushButton, "Set", 240, 240, 40, 20},
    {IDC_GET_TCP_SOCKET, ControlKind::PushButton, "Get", 290, 240, 40, 20},
    {IDC_STATIC, ControlKind::GroupFrame, "RS-232 Commands", 10, 360, 350, 130},
    {IDC_PANEL_LABEL, ControlKind::Label, "Baud Rate:", 20, 380, 80, 20},
    {IDC_BAUD_RATE_LIST, ControlKind::ListBox, "", 120, 380, 80, 100},
    {IDC_SET_BAUD_RATE, ControlKind::PushButton, "Set", 240, 380, 40, 20},
    {IDC_GET_BAUD_RATE, ControlKind::PushButton, "Get", 290, 380, 40, 20},
};

constexpr const char* LanConfigReason = "need to select DHCP, AUTO-IP or Manual";
// The baud list always holds a selection; this is only said if the list answers outside its range.
constexpr const char* BaudReason = "need to select a baud rate";

// Every button that starts a command.
constexpr CommandRow Commands[] = {
    SelectionRow(IDC_SET_LAN_CONFIG, "SYST:COMM:LAN:CONF ",
                 {{{IDC_LAN_CONFIG_DHCP, "DHCP"},
                   {IDC_LAN_CONFIG_AUTO_IP, "AUTO"},
                   {IDC_LAN_CONFIG_MANUAL, "MAN"}}},
                 LanConfigReason),
    LineRow(IDC_GET_LAN_CONFIG, CommandKind::Query, "SYST:COMM:LAN:CONF?\n"),
    LineRow(IDC_GET_ACTIVE_IP, CommandKind::Query, "SYST:COMM:LAN:IP:ACT?\n"),
    EntryRow(IDC_SET_LAN_IP, CommandKind::QuotedValue, "SYST:COMM:LAN:IP \"", IDC_LAN_IP_BOX,
             AddressChars),
    LineRow(IDC_GET_LAN_IP, CommandKind::Query, "SYST:COMM:LAN:IP?\n"),
    EntryRow(IDC_SET_SUBNET, CommandKind::QuotedValue, "SYST:COMM:LAN:SUBN \"", IDC_SUBNET_BOX,
             AddressChars),
    LineRow(IDC_GET_SUBNET, CommandKind::Query, "SYST:COMM:LAN:SUBN?\n"),
    EntryRow(IDC_SET_GATEWAY, CommandKind::QuotedValue, "SYST:COMM:LAN:GATE \"", IDC_GATEWAY_BOX,
             AddressChars),
    LineRow(IDC_GET_GATEWAY, CommandKind::Query, "SYST:COMM:LAN:GATE?\n"),
    EntryRow(IDC_SET_HOSTNAME, CommandKind::HostName, "SYST:COMM:LAN:HOST \"", IDC_HOSTNAME_BOX),
    LineRow(IDC_GET_HOSTNAME, CommandKind::Query, "SYST:COMM:LAN:HOST?\n"),
    EntryRow(IDC_SET_TCP_SOCKET, CommandKind::Value, "SYST:COMM:SOCK:PORT ", IDC_TCP_SOCKET_BOX,
             DigitChars),
    LineRow(IDC_GET_TCP_SOCKET, CommandKind::Query, "SYST:COMM:SOCK:PORT?\n"),
    BaudRateRow(IDC_SET_BAUD_RATE, "SYST:COMM:SER:BAUD ", IDC_BAUD_RATE_LIST, BaudReason),
    LineRow(IDC_GET_BAUD_RATE, CommandKind::Query, "SYST:COMM:SER:BAUD?\n"),
    LineRow(IDC_COMMUNICATION_GET_LAST_ERROR, CommandKind::Query, "SYST:ERR?\n"),
    LineRow(IDC_COMMUNICATION_CLEAR_DISPLAY, CommandKind::ClearDisplay),
};

} // namespace

extern const PanelTable CommunicationPanelTable = {
    Controls, std::size(Controls), Commands, std::size(Commands), {},
};
