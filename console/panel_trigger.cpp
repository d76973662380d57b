// The Trigger panel: trigger source, delay and count, bus and immediate triggers, initiate and
// abort, the FIX, STEP and LIST modes, the triggered values and the lists.
#include "console/panel_table.h"

#include <iterator>

#include "console/transaction.h"
#include "res/resource.h"

namespace
{

constexpr Panel ThisPanel = Panel::Trigger;

// Every control, in creation order.
constexpr ControlRow Controls[] = {
    {IDC_TRIGGER_OUTPUT_BOX, ControlKind::OutputBox, "", 400, 10, 430, 230},
    {IDC_TRIGGER_GET_LAST_ERROR, ControlKind::PushButton, "Get Last Error", 410, 250, 120, 20},
    {IDC_TRIGGER_CLEAR_DISPLAY, ControlKind::PushButton, "Clear Display", 680, 250, 120, 20},
    {IDC_STATIC, ControlKind::GroupFrame, "Trigger Commands", 10, 10, 380, 140},
    {IDC_PANEL_LABEL, ControlKind::Label, "Trigger Source:", 20, 30, 120, 20},
    {IDC_TRIGGER_SOURCE_BUS, ControlKind::FirstOption, "BUS", 130, 30, 60, 20},
    {IDC_TRIGGER_SOURCE_IMMEDIATE, ControlKind::Option, "IMMediate", 190, 30, 100, 20},
    {IDC_SET_TRIGGER_SOURCE, ControlKind::PushButton, "Set", 290, 30, 40, 20},
    {IDC_GET_TRIGGER_SOURCE, ControlKind::PushButton, "Get", 340, 30, 40, 20},
    {IDC_PANEL_LABEL, ControlKind::Label, "Trigger Delay:", 20, 60, 120, 20},
    {IDC_TRIGGER_DELAY_BOX, ControlKind::EntryBox, "", 130, 60, 150, 20},
    {IDC_SET_TRIGGER_DELAY, ControlKind::PushButton, "Set", 290, 60, 40, 20},
    {IDC_GET_TRIGGER_DELAY, ControlKind::PushButton, "Get", 340, 60, 40, 20},
    {IDC_PANEL_LABEL, ControlKind::Label, "Trigger Count:", 20, 90, 120, 20},
    {IDC_TRIGGER_COUNT_BOX, ControlKind::EntryBox, "", 130, 90, 150, 20},
    {IDC_SET_TRIGGER_COUNT, ControlKind::PushButton, "Set", 290, 90, 40, 20},
    {IDC_GET_TRIGGER_COUNT, ControlKind::PushButton, "Get", 340, 90, 40, 20},
    {IDC_BUS_TRIGGER, ControlKind::PushButton, "Bus Trigger (*TRG)", 20, 120, 145, 20},
    {IDC_IMMEDIATE_TRIGGER, ControlKind::PushButton, "Immediate Trigger (TRIG)", 180, 120, 190, 20},
    {IDC_STATIC, ControlKind::GroupFrame, "Initiate Commands", 10, 160, 380, 80},
    {IDC_TRIGGER_GET_OPER, ControlKind::PushButton, "OPER?", 250, 180, 60, 20},
    {IDC_ABORT, ControlKind::PushButton, "ABORt", 320, 180, 60, 20},
    {IDC_INITIATE_SEQUENCE, ControlKind::PushButton, "INITiate:SEQuence", 20, 180, 145, 20},
    {IDC_PANEL_LABEL, ControlKind::Label, "INITiate:CONTinuous", 25, 210, 205, 20},
    {IDC_CONTINUOUS_ON, ControlKind::FirstOption, "ON", 175, 210, 45, 20},
    {IDC_CONTINUOUS_OFF, ControlKind::Option, "OFF", 225, 210, 50, 20},
    {IDC_SET_CONTINUOUS, ControlKind::PushButton, "Set", 290, 210, 40, 20},
    {IDC_GET_CONTINUOUS, ControlKind::PushButton, "Get", 340, 210, 40, 20},
    {IDC_STATIC, ControlKind::GroupFrame, "Trigger Mode", 10, 280, 440, 110},
    {IDC_PANEL_LABEL, ControlKind::Label, "VOLT:MODE", 20, 300, 90, 20},
    {IDC_VOLT_MODE_FIX, ControlKind::FirstOption, "FIX", 120, 300, 50, 20},
    {IDC_VOLT_MODE_STEP, ControlKind::Option, "STEP", 190, 300, 60, 20},
    {IDC_VOLT_MODE_LIST, ControlKind::Option, "LIST", 270, 300, 55, 20},
    {IDC_SET_VOLT_MODE, ControlKind::PushButton, "Set", 340, 300, 40, 20},
    {IDC_GET_VOLT_MODE, ControlKind::PushButton, "Get", 390, 300, 40, 20},
    {IDC_PANEL_LABEL, ControlKind::Label, "FREQ:MODE", 20, 330, 90, 20},
    {IDC_FREQ_MODE_FIX, ControlKind::FirstOption, "FIX", 120, 330, 50, 20},
    {IDC_FREQ_MODE_STEP, ControlKind::Option, "STEP", 190, 330, 60, 20},
    {IDC_FREQ_MODE_LIST, ControlKind::Option, "LIST", 270, 330, 55, 20},
    {IDC_SET_FREQ_MODE, ControlKind::PushButton, "Set", 340, 330, 40, 20},
    {IDC_GET_FREQ_MODE, ControlKind::PushButton, "Get", 390, 330, 40, 20},
    {IDC_PANEL_LABEL, ControlKind::Label, "CURR:MODE", 20, 360, 90, 20},
    {IDC_CURR_MODE_FIX, ControlKind::FirstOption, "FIX", 120, 360, 50, 20},
    {IDC_CURR_MODE_STEP, ControlKind::Option, "STEP", 190, 360, 60, 20},
    {IDC_CURR_MODE_LIST, ControlKind::Option, "LIST", 270, 360, 55, 20},
    {IDC_SET_CURR_MODE, ControlKind::PushButton, "Set", 340, 360, 40, 20},
    {IDC_GET_CURR_MODE, ControlKind::PushButton, "Get", 390, 360, 40, 20},
    {IDC_STATIC, ControlKind::GroupFrame, "STEP Commands", 490, 280, 340, 110},
    {IDC_PANEL_LABEL, ControlKind::Label, "VOLT:TRIG", 500, 300, 90, 20},
    {IDC_VOLT_TRIG_BOX, ControlKind::EntryBox, "", 610, 300, 100, 20},
    {IDC_SET_VOLT_TRIG, ControlKind::PushButton, "Set", 730, 300, 40, 20},
    {IDC_GET_VOLT_TRIG, ControlKind::PushButton, "Get", 780, 300, 40, 20},
    {IDC_PANEL_LABEL, ControlKind::Label, "FREQ:TRIG", 500, 330, 90, 20},
    {IDC_FREQ_TRIG_BOX, ControlKind::EntryBox, "", 610, 330, 100, 20},
    {IDC_SET_FREQ_TRIG, ControlKind::PushButton, "Set", 730, 330, 40, 20},
    {IDC_GET_FREQ_TRIG, ControlKind::PushButton, "Get", 780, 330, 40, 20},
    {IDC_PANEL_LABEL, ControlKind::Label, "CURR:TRIG", 500, 360, 90, 20},
    {IDC_CURR_TRIG_BOX, ControlKind::EntryBox, "", 610, 360, 100, 20},
    {IDC_SET_CURR_TRIG, ControlKind::PushButton, "Set", 730, 360, 40, 20},
    {IDC_GET_CURR_TRIG, ControlKind::PushButton, "Get", 780, 360, 40, 20},
    {IDC_STATIC, ControlKind::GroupFrame, "List Commands", 10, 400, 820, 170},
    {IDC_PANEL_LABEL, ControlKind::Label, "Dwell:", 20, 420, 60, 20},
    {IDC_LIST_DWELL_BOX, ControlKind::EntryBox, "", 70, 420, 650, 20},
    {IDC_SET_LIST_DWELL, ControlKind::PushButton, "Set", 730, 420, 40, 20},
    {IDC_GET_LIST_DWELL, ControlKind::PushButton, "Get", 780, 420, 40, 20},
    {IDC_PANEL_LABEL, ControlKind::Label, "Volt:", 20, 450, 60, 20},
    {IDC_LIST_VOLT_BOX, ControlKind::EntryBox, "", 70, 450, 650, 20},
    {IDC_SET_LIST_VOLT, ControlKind::PushButton, "Set", 730, 450, 40, 20},
    {IDC_GET_LIST_VOLT, ControlKind::PushButton, "Get", 780, 450, 40, 20},
    {IDC_PANEL_LABEL, ControlKind::Label, "Freq:", 20, 480, 60, 20},
    {IDC_LIST_FREQ_BOX, ControlKind::EntryBox, "", 70, 480, 650, 20},
    {IDC_SET_LIST_FREQ, ControlKind::PushButton, "Set", 730, 480, 40, 20},
    {IDC_GET_LIST_FREQ, ControlKind::PushButton, "Get", 780, 480, 40, 20},
    {IDC_PANEL_LABEL, ControlKind::Label, "Curr:", 20, 510, 60, 20},
    {IDC_LIST_CURR_BOX, ControlKind::EntryBox, "", 70, 510, 650, 20},
    {IDC_SET_LIST_CURR, ControlKind::PushButton, "Set", 730, 510, 40, 20},
    {IDC_GET_LIST_CURR, ControlKind::PushButton, "Get", 780, 510, 40, 20},
    {IDC_PANEL_LABEL, ControlKind::Label, "List Count:", 20, 540, 90, 20},
    {IDC_LIST_COUNT_BOX, ControlKind::EntryBox, "", 100, 540, 100, 20},
    {IDC_SET_LIST_COUNT, ControlKind::PushButton, "Set", 210, 540, 40, 20},
    {IDC_GET_LIST_COUNT, ControlKind::PushButton, "Get", 260, 540, 40, 20},
};
static_assert(std::size(Controls) == 81);

constexpr const char* SourceReason = ", need to select BUS or IMMediate. \r\n Command not sent";
constexpr const char* ContinuousReason = ", need to select ON or OFF. \r\n Command not sent";
constexpr const char* ModeReason = ", need to select FIX, STEP or LIST. \r\n Command not sent";

// Every button that starts a command.
constexpr CommandRow Commands[] = {
    SelectionRow(IDC_SET_TRIGGER_SOURCE, ThisPanel, "TRIG:SOUR ",
                 {{{IDC_TRIGGER_SOURCE_BUS, "BUS"}, {IDC_TRIGGER_SOURCE_IMMEDIATE, "IMM"}}},
                 SourceReason),
    LineRow(IDC_GET_TRIGGER_SOURCE, ThisPanel, CommandKind::Query, "TRIG:SOUR?\n"),
    EntryRow(IDC_SET_TRIGGER_DELAY, ThisPanel, CommandKind::Value, "TRIG:DEL ",
             IDC_TRIGGER_DELAY_BOX, NumberChars),
    LineRow(IDC_GET_TRIGGER_DELAY, ThisPanel, CommandKind::Query, "TRIG:DEL?\n"),
    EntryRow(IDC_SET_TRIGGER_COUNT, ThisPanel, CommandKind::Value, "TRIG:COUN ",
             IDC_TRIGGER_COUNT_BOX, NumberChars),
    LineRow(IDC_GET_TRIGGER_COUNT, ThisPanel, CommandKind::Query, "TRIG:COUN?\n"),
    LineRow(IDC_BUS_TRIGGER, ThisPanel, CommandKind::Fixed, "*TRG\n"),
    LineRow(IDC_IMMEDIATE_TRIGGER, ThisPanel, CommandKind::Fixed, "TRIG\n"),
    LineRow(IDC_INITIATE_SEQUENCE, ThisPanel, CommandKind::Fixed, "INIT:SEQ1\n"),
    LineRow(IDC_TRIGGER_GET_OPER, ThisPanel, CommandKind::Query, "STAT:OPER?\n"),
    LineRow(IDC_ABORT, ThisPanel, CommandKind::Fixed, "ABOR\n"),
    SelectionRow(IDC_SET_CONTINUOUS, ThisPanel, "INIT:CONT ",
                 {{{IDC_CONTINUOUS_ON, "1"}, {IDC_CONTINUOUS_OFF, "0"}}}, ContinuousReason),
    LineRow(IDC_GET_CONTINUOUS, ThisPanel, CommandKind::Query, "INIT:CONT?\n"),
    SelectionRow(
        IDC_SET_VOLT_MODE, ThisPanel, "VOLT:MODE ",
        {{{IDC_VOLT_MODE_FIX, "FIX"}, {IDC_VOLT_MODE_STEP, "STEP"}, {IDC_VOLT_MODE_LIST, "LIST"}}},
        ModeReason),
    LineRow(IDC_GET_VOLT_MODE, ThisPanel, CommandKind::Query, "VOLT:MODE?\n"),
    SelectionRow(
        IDC_SET_FREQ_MODE, ThisPanel, "FREQ:MODE ",
        {{{IDC_FREQ_MODE_FIX, "FIX"}, {IDC_FREQ_MODE_STEP, "STEP"}, {IDC_FREQ_MODE_LIST, "LIST"}}},
        ModeReason),
    LineRow(IDC_GET_FREQ_MODE, ThisPanel, CommandKind::Query, "FREQ:MODE?\n"),
    SelectionRow(
        IDC_SET_CURR_MODE, ThisPanel, "CURR:MODE ",
        {{{IDC_CURR_MODE_FIX, "FIX"}, {IDC_CURR_MODE_STEP, "STEP"}, {IDC_CURR_MODE_LIST, "LIST"}}},
        ModeReason),
    LineRow(IDC_GET_CURR_MODE, ThisPanel, CommandKind::Query, "CURR:MODE?\n"),
    EntryRow(IDC_SET_VOLT_TRIG, ThisPanel, CommandKind::Value, "VOLT:TRIG ", IDC_VOLT_TRIG_BOX,
             NumberChars),
    LineRow(IDC_GET_VOLT_TRIG, ThisPanel, CommandKind::Query, "VOLT:TRIG?\n"),
    EntryRow(IDC_SET_FREQ_TRIG, ThisPanel, CommandKind::Value, "FREQ:TRIG ", IDC_FREQ_TRIG_BOX,
             NumberChars),
    LineRow(IDC_GET_FREQ_TRIG, ThisPanel, CommandKind::Query, "FREQ:TRIG?\n"),
    EntryRow(IDC_SET_CURR_TRIG, ThisPanel, CommandKind::Value, "CURR:TRIG ", IDC_CURR_TRIG_BOX,
             NumberChars),
    LineRow(IDC_GET_CURR_TRIG, ThisPanel, CommandKind::Query, "CURR:TRIG?\n"),
    EntryRow(IDC_SET_LIST_DWELL, ThisPanel, CommandKind::Value, "LIST:DWEL ", IDC_LIST_DWELL_BOX,
             ListChars),
    LineRow(IDC_GET_LIST_DWELL, ThisPanel, CommandKind::Query, "LIST:DWEL?\n"),
    EntryRow(IDC_SET_LIST_VOLT, ThisPanel, CommandKind::Value, "LIST:VOLT ", IDC_LIST_VOLT_BOX,
             ListChars),
    LineRow(IDC_GET_LIST_VOLT, ThisPanel, CommandKind::Query, "LIST:VOLT?\n"),
    EntryRow(IDC_SET_LIST_FREQ, ThisPanel, CommandKind::Value, "LIST:FREQ ", IDC_LIST_FREQ_BOX,
             ListChars),
    LineRow(IDC_GET_LIST_FREQ, ThisPanel, CommandKind::Query, "LIST:FREQ?\n"),
    EntryRow(IDC_SET_LIST_CURR, ThisPanel, CommandKind::Value, "LIST:CURR ", IDC_LIST_CURR_BOX,
             ListChars),
    LineRow(IDC_GET_LIST_CURR, ThisPanel, CommandKind::Query, "LIST:CURR?\n"),
    EntryRow(IDC_SET_LIST_COUNT, ThisPanel, CommandKind::Value, "LIST:COUN ", IDC_LIST_COUNT_BOX,
             NumberChars),
    LineRow(IDC_GET_LIST_COUNT, ThisPanel, CommandKind::Query, "LIST:COUN?\n"),
    LineRow(IDC_TRIGGER_GET_LAST_ERROR, ThisPanel, CommandKind::Query, "SYST:ERR?\n"),
    LineRow(IDC_TRIGGER_CLEAR_DISPLAY, ThisPanel, CommandKind::ClearDisplay),
};

} // namespace

extern const PanelTable TriggerPanelTable = {
    ThisPanel,       Controls, std::size(Controls), IDC_TRIGGER_OUTPUT_BOX,
    IDM_TRIGGER_TAB, Commands, std::size(Commands),
};
