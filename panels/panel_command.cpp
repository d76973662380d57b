// The Command panel: output voltage, frequency and current limit, range and output state, the
// measurements, the IEEE 488.2 common commands and the operator's free command line.
#include "panels/panel_table.h"

#include <iterator>

#include "panels/transaction.h"
#include "res/resource.h"

namespace
{

// Every control, in creation order.
constexpr ControlRow Controls[] = {
    {IDC_COMMAND_OUTPUT_BOX, ControlKind::OutputBox, "", 470, 10, 360, 500},
    {IDC_COMMAND_GET_LAST_ERROR, ControlKind::PushButton, "Get Last Error", 480, 520, 120, 20},
    {IDC_COMMAND_CLEAR_DISPLAY, ControlKind::PushButton, "Clear Display", 680, 520, 120, 20},
    {IDC_STATIC, ControlKind::GroupFrame, "Command Output", 10, 5, 450, 250},
    {IDC_PANEL_LABEL, ControlKind::Label, "Voltage:", 20, 30, 95, 20},
    {IDC_VOLTAGE_BOX, ControlKind::EntryBox, "", 120, 30, 70, 20},
    {IDC_SET_VOLTAGE, ControlKind::PushButton, "Set Voltage", 200, 30, 125, 20},
    {IDC_GET_VOLTAGE, ControlKind::PushButton, "Get Voltage", 330, 30, 125, 20},
    {IDC_PANEL_LABEL, ControlKind::Label, "Frequency:", 20, 60, 95, 20},
    {IDC_FREQUENCY_BOX, ControlKind::EntryBox, "", 120, 60, 70, 20},
    {IDC_SET_FREQUENCY, ControlKind::PushButton, "Set Frequency", 200, 60, 125, 20},
    {IDC_GET_FREQUENCY, ControlKind::PushButton, "Get Frequency", 330, 60, 125, 20},
    {IDC_PANEL_LABEL, ControlKind::Label, "Current Limit:", 20, 90, 95, 20},
    {IDC_CURRENT_LIMIT_BOX, ControlKind::EntryBox, "", 120, 90, 70, 20},
    {IDC_SET_CURRENT_LIMIT, ControlKind::PushButton, "Set Current Limit", 200, 90, 125, 20},
    {IDC_GET_CURRENT_LIMIT, ControlKind::PushButton, "Get Current Limit", 330, 90, 125, 20},
    {IDC_PANEL_LABEL, ControlKind::Label, "Set Range:", 20, 130, 120, 20},
    {IDC_RANGE_HIGH, ControlKind::FirstOption, "High(270V)", 100, 130, 100, 20},
    {IDC_RANGE_LOW, ControlKind::Option, "Low (135V)", 100, 150, 100, 20},
    {IDC_SET_RANGE, ControlKind::PushButton, "Set Range", 210, 130, 115, 20},
    {IDC_GET_RANGE, ControlKind::PushButton, "Get Range", 330, 130, 115, 20},
    {IDC_PANEL_LABEL, ControlKind::Label, "Set Output:", 20, 180, 120, 20},
    {IDC_OUTPUT_ON, ControlKind::FirstOption, "On", 100, 180, 50, 20},
    {IDC_OUTPUT_OFF, ControlKind::Option, "Off", 160, 180, 50, 20},
    {IDC_SET_OUTPUT, ControlKind::PushButton, "Set Output", 210, 180, 115, 20},
    {IDC_GET_OUTPUT, ControlKind::PushButton, "Get Output", 330, 180, 115, 20},
    {IDC_GET_CURRENT, ControlKind::PushButton, "Get Current", 30, 220, 130, 20},
    {IDC_GET_POWER, ControlKind::PushButton, "Get Power", 170, 220, 130, 20},
    {IDC_GET_POWER_FACTOR, ControlKind::PushButton, "Get Power Factor", 310, 220, 130, 20},
    {IDC_STATIC, ControlKind::GroupFrame, "IEEE 488.2 Commands", 10, 350, 450, 90},
    {IDC_CLS, ControlKind::PushButton, "*CLS", 20, 370, 50, 20},
    {IDC_RST, ControlKind::PushButton, "*RST", 90, 370, 50, 20},
    {IDC_SAV, ControlKind::PushButton, "*SAV", 330, 400, 50, 20},
    {IDC_RCL, ControlKind::PushButton, "*RCL", 400, 400, 50, 20},
    {IDC_PANEL_LABEL, ControlKind::Label, "SAV/RCL State:", 20, 400, 120, 20},
    {IDC_SAV_RCL_STATE_0, ControlKind::FirstOption, "0", 140, 400, 40, 20},
    {IDC_SAV_RCL_STATE_1, ControlKind::Option, "1", 180, 400, 40, 20},
    {IDC_SAV_RCL_STATE_2, ControlKind::Option, "2", 220, 400, 40, 20},
    {IDC_SAV_RCL_STATE_3, ControlKind::Option, "3", 260, 400, 40, 20},
    {IDC_PANEL_LABEL, ControlKind::Label, "Enter Command:", 10, 510, 110, 20},
    {IDC_FREE_LINE_BOX, ControlKind::EntryBox, "", 130, 510, 250, 20},
    {IDC_SEND_FREE_LINE, ControlKind::PushButton, "Send", 390, 510, 70, 20},
    {IDC_READ_ANSWER, ControlKind::PushButton, "Read", 390, 540, 70, 20},
};

constexpr const char* RangeReason = "need to select High(270V) or Low(135V)";
constexpr const char* OutputReason = "need to select On or Off";
constexpr const char* StateReason = "need to select SAV/RCL State 0, 1, 2, or 3";
constexpr std::array<OptionChoice, 4> StateOptions = {{{IDC_SAV_RCL_STATE_0, "0"},
                                                       {IDC_SAV_RCL_STATE_1, "1"},
                                                       {IDC_SAV_RCL_STATE_2, "2"},
                                                       {IDC_SAV_RCL_STATE_3, "3"}}};

// Every button that starts a command.
constexpr CommandRow Commands[] = {
    EntryRow(IDC_SET_VOLTAGE, CommandKind::Value, "VOLT ", IDC_VOLTAGE_BOX, NumberChars),
    EntryRow(IDC_SET_FREQUENCY, CommandKind::Value, "FREQ ", IDC_FREQUENCY_BOX, NumberChars),
    EntryRow(IDC_SET_CURRENT_LIMIT, CommandKind::Value, "CURR ", IDC_CURRENT_LIMIT_BOX,
             NumberChars),
    SelectionRow(IDC_SET_RANGE, "VOLT:RANG ", {{{IDC_RANGE_HIGH, "HI"}, {IDC_RANGE_LOW, "LO"}}},
                 RangeReason),
    SelectionRow(IDC_SET_OUTPUT, "OUTP ", {{{IDC_OUTPUT_ON, "1"}, {IDC_OUTPUT_OFF, "0"}}},
                 OutputReason),
    LineRow(IDC_GET_VOLTAGE, CommandKind::Query, "MEAS:VOLT?\n"),
    LineRow(IDC_GET_FREQUENCY, CommandKind::Query, "MEAS:FREQ?\n"),
    LineRow(IDC_GET_CURRENT_LIMIT, CommandKind::Query, "CURR?\n"),
    LineRow(IDC_GET_RANGE, CommandKind::Query, "VOLT:RANG?\n"),
    LineRow(IDC_GET_OUTPUT, CommandKind::Query, "OUTP?\n"),
    LineRow(IDC_GET_CURRENT, CommandKind::Query, "MEAS:CURR?\n"),
    LineRow(IDC_GET_POWER, CommandKind::Query, "MEAS:POW?\n"),
    LineRow(IDC_GET_POWER_FACTOR, CommandKind::Query, "MEAS:POW:PFA?\n"),
    LineRow(IDC_CLS, CommandKind::Fixed, "*CLS\n"),
    LineRow(IDC_RST, CommandKind::Fixed, "*RST\n"),
    SelectionRow(IDC_SAV, "*SAV ", StateOptions, StateReason),
    SelectionRow(IDC_RCL, "*RCL ", StateOptions, StateReason),
    EntryRow(IDC_SEND_FREE_LINE, CommandKind::FreeLine, nullptr, IDC_FREE_LINE_BOX),
    LineRow(IDC_READ_ANSWER, CommandKind::Read),
    LineRow(IDC_COMMAND_GET_LAST_ERROR, CommandKind::Query, "SYST:ERR?\n"),
    LineRow(IDC_COMMAND_CLEAR_DISPLAY, CommandKind::ClearDisplay),
};

} // namespace

extern const PanelTable CommandPanelTable = {
    Controls, std::size(Controls), Commands, std::size(Commands), {},
};
