// The Status panel: the IEEE 488.2 status byte and event registers, and the operation and
// questionable registers of the SCPI status system.
#include "console/panel_table.h"

#include <iterator>

#include "console/transaction.h"

namespace
{

constexpr Panel ThisPanel = Panel::Status;

// Every control, in creation order.
constexpr ControlRow Controls[] = {
    {281, ControlKind::OutputBox, "", 470, 10, 360, 500},
    {266, ControlKind::PushButton, "Get Last Error", 480, 520, 120, 20},
    {271, ControlKind::PushButton, "Clear Display", 680, 520, 120, 20},
    {-1, ControlKind::GroupFrame, "IEEE 488.2 Status Commands", 10, 10, 450, 90},
    {143, ControlKind::PushButton, "*STB?", 20, 40, 60, 20},
    {142, ControlKind::PushButton, "*SRE?", 90, 40, 60, 20},
    {141, ControlKind::PushButton, "*SRE", 160, 40, 60, 20},
    {0, ControlKind::Label, "Set *SRE:", 270, 40, 70, 20},
    {155, ControlKind::EntryBox, "", 350, 40, 100, 20},
    {140, ControlKind::PushButton, "*ESR?", 20, 70, 60, 20},
    {139, ControlKind::PushButton, "*ESE?", 90, 70, 60, 20},
    {138, ControlKind::PushButton, "*ESE", 160, 70, 60, 20},
    {0, ControlKind::Label, "Set *ESE:", 270, 70, 70, 20},
    {275, ControlKind::EntryBox, "", 350, 70, 100, 20},
    {-1, ControlKind::GroupFrame, "Status Commands", 10, 140, 450, 210},
    {156, ControlKind::PushButton, "OPER?", 20, 170, 70, 20},
    {157, ControlKind::PushButton, "OPER:COND?", 150, 170, 110, 20},
    {159, ControlKind::PushButton, "OPER:ENAB", 20, 200, 110, 20},
    {0, ControlKind::Label, "Set Enable:", 270, 200, 90, 20},
    {164, ControlKind::EntryBox, "", 350, 200, 100, 20},
    {158, ControlKind::PushButton, "OPER:ENAB?", 20, 230, 110, 20},
    {160, ControlKind::PushButton, "QUES?", 20, 260, 70, 20},
    {161, ControlKind::PushButton, "QUES:COND?", 150, 260, 110, 20},
    {163, ControlKind::PushButton, "QUES:ENAB", 20, 290, 110, 20},
    {0, ControlKind::Label, "Set Enable:", 270, 290, 90, 20},
    {279, ControlKind::EntryBox, "", 350, 290, 100, 20},
    {162, ControlKind::PushButton, "QUES:ENAB?", 20, 320, 110, 20},
};
static_assert(std::size(Controls) == 27);

// Every button that starts a command.
constexpr CommandRow Commands[] = {
    LineRow(143, ThisPanel, CommandKind::Query, "*STB?\n"),
    LineRow(142, ThisPanel, CommandKind::Query, "*SRE?\n"),
    EntryRow(141, ThisPanel, CommandKind::Value, "*SRE ", 155, NumberChars),
    LineRow(140, ThisPanel, CommandKind::Query, "*ESR?\n"),
    LineRow(139, ThisPanel, CommandKind::Query, "*ESE?\n"),
    EntryRow(138, ThisPanel, CommandKind::Value, "*ESE ", 275, NumberChars),
    LineRow(156, ThisPanel, CommandKind::Query, "STAT:OPER?\n"),
    LineRow(157, ThisPanel, CommandKind::Query, "STAT:OPER:COND?\n"),
    EntryRow(159, ThisPanel, CommandKind::Value, "STAT:OPER:ENAB ", 164, NumberChars),
    LineRow(158, ThisPanel, CommandKind::Query, "STAT:OPER:ENAB?\n"),
    LineRow(160, ThisPanel, CommandKind::Query, "STAT:QUES?\n"),
    LineRow(161, ThisPanel, CommandKind::Query, "STAT:QUES:COND?\n"),
    EntryRow(163, ThisPanel, CommandKind::Value, "STAT:QUES:ENAB ", 279, NumberChars),
    LineRow(162, ThisPanel, CommandKind::Query, "STAT:QUES:ENAB?\n"),
    LineRow(266, ThisPanel, CommandKind::Query, "SYST:ERR?\n"),
    LineRow(271, ThisPanel, CommandKind::ClearDisplay),
};

} // namespace

extern const PanelTable StatusPanelTable = {
    ThisPanel, Controls, std::size(Controls), 281, 40008, Commands, std::size(Commands),
};
