// The Trigger panel: trigger source, delay and count, bus and immediate triggers, initiate and
// abort, the FIX, STEP and LIST modes, the triggered values and the lists.
#include "console/panel_table.h"

#include <iterator>

#include "console/transaction.h"

namespace
{

constexpr Panel ThisPanel = Panel::Trigger;

// Every control, in creation order.
constexpr ControlRow Controls[] = {
    {258, ControlKind::OutputBox, "", 400, 10, 430, 230},
    {267, ControlKind::PushButton, "Get Last Error", 410, 250, 120, 20},
    {272, ControlKind::PushButton, "Clear Display", 680, 250, 120, 20},
    {-1, ControlKind::GroupFrame, "Trigger Commands", 10, 10, 380, 140},
    {0, ControlKind::Label, "Trigger Source:", 20, 30, 120, 20},
    {182, ControlKind::FirstOption, "BUS", 130, 30, 60, 20},
    {183, ControlKind::Option, "IMMediate", 190, 30, 100, 20},
    {181, ControlKind::PushButton, "Set", 290, 30, 40, 20},
    {180, ControlKind::PushButton, "Get", 340, 30, 40, 20},
    {0, ControlKind::Label, "Trigger Delay:", 20, 60, 120, 20},
    {184, ControlKind::EntryBox, "", 130, 60, 150, 20},
    {185, ControlKind::PushButton, "Set", 290, 60, 40, 20},
    {186, ControlKind::PushButton, "Get", 340, 60, 40, 20},
    {0, ControlKind::Label, "Trigger Count:", 20, 90, 120, 20},
    {187, ControlKind::EntryBox, "", 130, 90, 150, 20},
    {188, ControlKind::PushButton, "Set", 290, 90, 40, 20},
    {189, ControlKind::PushButton, "Get", 340, 90, 40, 20},
    {190, ControlKind::PushButton, "Bus Trigger (*TRG)", 20, 120, 145, 20},
    {191, ControlKind::PushButton, "Immediate Trigger (TRIG)", 180, 120, 190, 20},
    {-1, ControlKind::GroupFrame, "Initiate Commands", 10, 160, 380, 80},
    {322, ControlKind::PushButton, "OPER?", 250, 180, 60, 20},
    {192, ControlKind::PushButton, "ABORt", 320, 180, 60, 20},
    {193, ControlKind::PushButton, "INITiate:SEQuence", 20, 180, 145, 20},
    {0, ControlKind::Label, "INITiate:CONTinuous", 25, 210, 205, 20},
    {194, ControlKind::FirstOption, "ON", 175, 210, 45, 20},
    {195, ControlKind::Option, "OFF", 225, 210, 50, 20},
    {197, ControlKind::PushButton, "Set", 290, 210, 40, 20},
    {196, ControlKind::PushButton, "Get", 340, 210, 40, 20},
    {-1, ControlKind::GroupFrame, "Trigger Mode", 10, 280, 440, 110},
    {0, ControlKind::Label, "VOLT:MODE", 20, 300, 90, 20},
    {198, ControlKind::FirstOption, "FIX", 120, 300, 50, 20},
    {199, ControlKind::Option, "STEP", 190, 300, 60, 20},
    {200, ControlKind::Option, "LIST", 270, 300, 55, 20},
    {202, ControlKind::PushButton, "Set", 340, 300, 40, 20},
    {201, ControlKind::PushButton, "Get", 390, 300, 40, 20},
    {0, ControlKind::Label, "FREQ:MODE", 20, 330, 90, 20},
    {203, ControlKind::FirstOption, "FIX", 120, 330, 50, 20},
    {204, ControlKind::Option, "STEP", 190, 330, 60, 20},
    {205, ControlKind::Option, "LIST", 270, 330, 55, 20},
    {207, ControlKind::PushButton, "Set", 340, 330, 40, 20},
    {206, ControlKind::PushButton, "Get", 390, 330, 40, 20},
    {0, ControlKind::Label, "CURR:MODE", 20, 360, 90, 20},
    {208, ControlKind::FirstOption, "FIX", 120, 360, 50, 20},
    {209, ControlKind::Option, "STEP", 190, 360, 60, 20},
    {210, ControlKind::Option, "LIST", 270, 360, 55, 20},
    {212, ControlKind::PushButton, "Set", 340, 360, 40, 20},
    {211, ControlKind::PushButton, "Get", 390, 360, 40, 20},
    {-1, ControlKind::GroupFrame, "STEP Commands", 490, 280, 340, 110},
    {0, ControlKind::Label, "VOLT:TRIG", 500, 300, 90, 20},
    {213, ControlKind::EntryBox, "", 610, 300, 100, 20},
    {215, ControlKind::PushButton, "Set", 730, 300, 40, 20},
    {214, ControlKind::PushButton, "Get", 780, 300, 40, 20},
    {0, ControlKind::Label, "FREQ:TRIG", 500, 330, 90, 20},
    {216, ControlKind::EntryBox, "", 610, 330, 100, 20},
    {218, ControlKind::PushButton, "Set", 730, 330, 40, 20},
    {217, ControlKind::PushButton, "Get", 780, 330, 40, 20},
    {0, ControlKind::Label, "CURR:TRIG", 500, 360, 90, 20},
    {219, ControlKind::EntryBox, "", 610, 360, 100, 20},
    {221, ControlKind::PushButton, "Set", 730, 360, 40, 20},
    {220, ControlKind::PushButton, "Get", 780, 360, 40, 20},
    {-1, ControlKind::GroupFrame, "List Commands", 10, 400, 820, 170},
    {0, ControlKind::Label, "Dwell:", 20, 420, 60, 20},
    {173, ControlKind::EntryBox, "", 70, 420, 650, 20},
    {166, ControlKind::PushButton, "Set", 730, 420, 40, 20},
    {165, ControlKind::PushButton, "Get", 780, 420, 40, 20},
    {0, ControlKind::Label, "Volt:", 20, 450, 60, 20},
    {174, ControlKind::EntryBox, "", 70, 450, 650, 20},
    {168, ControlKind::PushButton, "Set", 730, 450, 40, 20},
    {167, ControlKind::PushButton, "Get", 780, 450, 40, 20},
    {0, ControlKind::Label, "Freq:", 20, 480, 60, 20},
    {175, ControlKind::EntryBox, "", 70, 480, 650, 20},
    {170, ControlKind::PushButton, "Set", 730, 480, 40, 20},
    {169, ControlKind::PushButton, "Get", 780, 480, 40, 20},
    {0, ControlKind::Label, "Curr:", 20, 510, 60, 20},
    {176, ControlKind::EntryBox, "", 70, 510, 650, 20},
    {172, ControlKind::PushButton, "Set", 730, 510, 40, 20},
    {171, ControlKind::PushButton, "Get", 780, 510, 40, 20},
    {0, ControlKind::Label, "List Count:", 20, 540, 90, 20},
    {247, ControlKind::EntryBox, "", 100, 540, 100, 20},
    {249, ControlKind::PushButton, "Set", 210, 540, 40, 20},
    {248, ControlKind::PushButton, "Get", 260, 540, 40, 20},
};
static_assert(std::size(Controls) == 81);

constexpr const char* SourceReason = ", need to select BUS or IMMediate. \r\n Command not sent";
constexpr const char* ContinuousReason = ", need to select ON or OFF. \r\n Command not sent";
constexpr const char* ModeReason = ", need to select FIX, STEP or LIST. \r\n Command not sent";

// Every button that starts a command.
constexpr CommandRow Commands[] = {
    SelectionRow(181, ThisPanel, "TRIG:SOUR ", {{{182, "BUS"}, {183, "IMM"}}}, SourceReason),
    LineRow(180, ThisPanel, CommandKind::Query, "TRIG:SOUR?\n"),
    EntryRow(185, ThisPanel, CommandKind::Value, "TRIG:DEL ", 184, NumberChars),
    LineRow(186, ThisPanel, CommandKind::Query, "TRIG:DEL?\n"),
    EntryRow(188, ThisPanel, CommandKind::Value, "TRIG:COUN ", 187, NumberChars),
    LineRow(189, ThisPanel, CommandKind::Query, "TRIG:COUN?\n"),
    LineRow(190, ThisPanel, CommandKind::Fixed, "*TRG\n"),
    LineRow(191, ThisPanel, CommandKind::Fixed, "TRIG\n"),
    LineRow(193, ThisPanel, CommandKind::Fixed, "INIT:SEQ1\n"),
    LineRow(322, ThisPanel, CommandKind::Query, "STAT:OPER?\n"),
    LineRow(192, ThisPanel, CommandKind::Fixed, "ABOR\n"),
    SelectionRow(197, ThisPanel, "INIT:CONT ", {{{194, "1"}, {195, "0"}}}, ContinuousReason),
    LineRow(196, ThisPanel, CommandKind::Query, "INIT:CONT?\n"),
    SelectionRow(202, ThisPanel, "VOLT:MODE ", {{{198, "FIX"}, {199, "STEP"}, {200, "LIST"}}},
                 ModeReason),
    LineRow(201, ThisPanel, CommandKind::Query, "VOLT:MODE?\n"),
    SelectionRow(207, ThisPanel, "FREQ:MODE ", {{{203, "FIX"}, {204, "STEP"}, {205, "LIST"}}},
                 ModeReason),
    LineRow(206, ThisPanel, CommandKind::Query, "FREQ:MODE?\n"),
    SelectionRow(212, ThisPanel, "CURR:MODE ", {{{208, "FIX"}, {209, "STEP"}, {210, "LIST"}}},
                 ModeReason),
    LineRow(211, ThisPanel, CommandKind::Query, "CURR:MODE?\n"),
    EntryRow(215, ThisPanel, CommandKind::Value, "VOLT:TRIG ", 213, NumberChars),
    LineRow(214, ThisPanel, CommandKind::Query, "VOLT:TRIG?\n"),
    EntryRow(218, ThisPanel, CommandKind::Value, "FREQ:TRIG ", 216, NumberChars),
    LineRow(217, ThisPanel, CommandKind::Query, "FREQ:TRIG?\n"),
    EntryRow(221, ThisPanel, CommandKind::Value, "CURR:TRIG ", 219, NumberChars),
    LineRow(220, ThisPanel, CommandKind::Query, "CURR:TRIG?\n"),
    EntryRow(166, ThisPanel, CommandKind::Value, "LIST:DWEL ", 173, ListChars),
    LineRow(165, ThisPanel, CommandKind::Query, "LIST:DWEL?\n"),
    EntryRow(168, ThisPanel, CommandKind::Value, "LIST:VOLT ", 174, ListChars),
    LineRow(167, ThisPanel, CommandKind::Query, "LIST:VOLT?\n"),
    EntryRow(170, ThisPanel, CommandKind::Value, "LIST:FREQ ", 175, ListChars),
    LineRow(169, ThisPanel, CommandKind::Query, "LIST:FREQ?\n"),
    EntryRow(172, ThisPanel, CommandKind::Value, "LIST:CURR ", 176, ListChars),
    LineRow(171, ThisPanel, CommandKind::Query, "LIST:CURR?\n"),
    EntryRow(249, ThisPanel, CommandKind::Value, "LIST:COUN ", 247, NumberChars),
    LineRow(248, ThisPanel, CommandKind::Query, "LIST:COUN?\n"),
    LineRow(267, ThisPanel, CommandKind::Query, "SYST:ERR?\n"),
    LineRow(272, ThisPanel, CommandKind::ClearDisplay),
};

} // namespace

extern const PanelTable TriggerPanelTable = {
    ThisPanel, Controls, std::size(Controls), 258, 40007, Commands, std::size(Commands),
};
