// The Command panel: output voltage, frequency and current limit, range and output state, the
// measurements, the IEEE 488.2 common commands and the operator's free command line.
#include "console/panel_table.h"

#include <iterator>

#include "console/transaction.h"

namespace
{

constexpr Panel ThisPanel = Panel::Command;

// Every control, in creation order.
constexpr ControlRow Controls[] = {
    {130, ControlKind::OutputBox, "", 470, 10, 360, 500},
    {265, ControlKind::PushButton, "Get Last Error", 480, 520, 120, 20},
    {270, ControlKind::PushButton, "Clear Display", 680, 520, 120, 20},
    {-1, ControlKind::GroupFrame, "Command Output", 10, 5, 450, 250},
    {0, ControlKind::Label, "Voltage:", 20, 30, 95, 20},
    {113, ControlKind::EntryBox, "", 120, 30, 70, 20},
    {116, ControlKind::PushButton, "Set Voltage", 200, 30, 125, 20},
    {125, ControlKind::PushButton, "Get Voltage", 330, 30, 125, 20},
    {0, ControlKind::Label, "Frequency:", 20, 60, 95, 20},
    {114, ControlKind::EntryBox, "", 120, 60, 70, 20},
    {117, ControlKind::PushButton, "Set Frequency", 200, 60, 125, 20},
    {126, ControlKind::PushButton, "Get Frequency", 330, 60, 125, 20},
    {0, ControlKind::Label, "Current Limit:", 20, 90, 95, 20},
    {115, ControlKind::EntryBox, "", 120, 90, 70, 20},
    {118, ControlKind::PushButton, "Set Current Limit", 200, 90, 125, 20},
    {127, ControlKind::PushButton, "Get Current Limit", 330, 90, 125, 20},
    {0, ControlKind::Label, "Set Range:", 20, 130, 120, 20},
    {119, ControlKind::FirstOption, "High(270V)", 100, 130, 100, 20},
    {120, ControlKind::Option, "Low (135V)", 100, 150, 100, 20},
    {121, ControlKind::PushButton, "Set Range", 210, 130, 115, 20},
    {128, ControlKind::PushButton, "Get Range", 330, 130, 115, 20},
    {0, ControlKind::Label, "Set Output:", 20, 180, 120, 20},
    {122, ControlKind::FirstOption, "On", 100, 180, 50, 20},
    {123, ControlKind::Option, "Off", 160, 180, 50, 20},
    {124, ControlKind::PushButton, "Set Output", 210, 180, 115, 20},
    {129, ControlKind::PushButton, "Get Output", 330, 180, 115, 20},
    {131, ControlKind::PushButton, "Get Current", 30, 220, 130, 20},
    {132, ControlKind::PushButton, "Get Power", 170, 220, 130, 20},
    {133, ControlKind::PushButton, "Get Power Factor", 310, 220, 130, 20},
    {-1, ControlKind::GroupFrame, "IEEE 488.2 Commands", 10, 350, 450, 90},
    {136, ControlKind::PushButton, "*CLS", 20, 370, 50, 20},
    {137, ControlKind::PushButton, "*RST", 90, 370, 50, 20},
    {145, ControlKind::PushButton, "*SAV", 330, 400, 50, 20},
    {146, ControlKind::PushButton, "*RCL", 400, 400, 50, 20},
    {0, ControlKind::Label, "SAV/RCL State:", 20, 400, 120, 20},
    {150, ControlKind::FirstOption, "0", 140, 400, 40, 20},
    {151, ControlKind::Option, "1", 180, 400, 40, 20},
    {152, ControlKind::Option, "2", 220, 400, 40, 20},
    {153, ControlKind::Option, "3", 260, 400, 40, 20},
    {0, ControlKind::Label, "Enter Command:", 10, 510, 110, 20},
    {135, ControlKind::EntryBox, "", 130, 510, 250, 20},
    {134, ControlKind::PushButton, "Send", 390, 510, 70, 20},
    {321, ControlKind::PushButton, "Read", 390, 540, 70, 20},
};
static_assert(std::size(Controls) == 43);

constexpr const char* RangeReason =
    ", need to select High(270V) or Low(135V). \r\n Command not sent";
constexpr const char* OutputReason = ", need to select On or Off. \r\n Command not sent";
constexpr const char* StateReason =
    ", need to select SAV/RCL State 0, 1, 2, or 3. \r\n Command not sent";
constexpr std::array<OptionChoice, 4> StateOptions = {
    {{150, "0"}, {151, "1"}, {152, "2"}, {153, "3"}}};

// Every button that starts a command.
constexpr CommandRow Commands[] = {
    EntryRow(116, ThisPanel, CommandKind::Value, "VOLT ", 113, NumberChars),
    EntryRow(117, ThisPanel, CommandKind::Value, "FREQ ", 114, NumberChars),
    EntryRow(118, ThisPanel, CommandKind::Value, "CURR ", 115, NumberChars),
    SelectionRow(121, ThisPanel, "VOLT:RANG ", {{{119, "HI"}, {120, "LO"}}}, RangeReason),
    SelectionRow(124, ThisPanel, "OUTP ", {{{122, "1"}, {123, "0"}}}, OutputReason),
    LineRow(125, ThisPanel, CommandKind::Query, "MEAS:VOLT?\n"),
    LineRow(126, ThisPanel, CommandKind::Query, "MEAS:FREQ?\n"),
    LineRow(127, ThisPanel, CommandKind::Query, "CURR?\n"),
    LineRow(128, ThisPanel, CommandKind::Query, "VOLT:RANG?\n"),
    LineRow(129, ThisPanel, CommandKind::Query, "OUTP?\n"),
    LineRow(131, ThisPanel, CommandKind::Query, "MEAS:CURR?\n"),
    LineRow(132, ThisPanel, CommandKind::Query, "MEAS:POW?\n"),
    LineRow(133, ThisPanel, CommandKind::Query, "MEAS:POW:PFA?\n"),
    LineRow(136, ThisPanel, CommandKind::Fixed, "*CLS\n"),
    LineRow(137, ThisPanel, CommandKind::Fixed, "*RST\n"),
    SelectionRow(145, ThisPanel, "*SAV ", StateOptions, StateReason),
    SelectionRow(146, ThisPanel, "*RCL ", StateOptions, StateReason),
    EntryRow(134, ThisPanel, CommandKind::FreeLine, nullptr, 135),
    LineRow(321, ThisPanel, CommandKind::Read),
    LineRow(265, ThisPanel, CommandKind::Query, "SYST:ERR?\n"),
    LineRow(270, ThisPanel, CommandKind::ClearDisplay),
};

} // namespace

extern const PanelTable CommandPanelTable = {
    ThisPanel, Controls, std::size(Controls), 130, 40006, Commands, std::size(Commands),
};
