// The Status panel: the IEEE 488.2 status byte and event registers, and the operation and
// questionable registers of the SCPI status system.
#include "panels/panel_table.h"

#include <iterator>

#include "panels/transaction.h"
#include "res/resource.h"

namespace
{

// Every control, in creation order.
constexpr ControlRow Controls[] = {
    {IDC_STATUS_OUTPUT_BOX, ControlKind::OutputBox, "", 470, 10, 360, 500},
    {IDC_STATUS_GET_LAST_ERROR, ControlKind::PushButton, "Get Last Error", 480, 520, 120, 20},
    {IDC_STATUS_CLEAR_DISPLAY, ControlKind::PushButton, "Clear Display", 680, 520, 120, 20},
    {IDC_STATIC, ControlKind::GroupFrame, "IEEE 488.2 Status Commands", 10, 10, 450, 90},
    {IDC_GET_STB, ControlKind::PushButton, "*STB?", 20, 40, 60, 20},
    {IDC_GET_SRE, ControlKind::PushButton, "*SRE?", 90, 40, 60, 20},
    {IDC_SET_SRE, ControlKind::PushButton, "*SRE", 160, 40, 60, 20},
    {IDC_PANEL_LABEL, ControlKind::Label, "Set *SRE:", 270, 40, 70, 20},
    {IDC_SRE_BOX, ControlKind::EntryBox, "", 350, 40, 100, 20},
    {IDC_GET_ESR, ControlKind::PushButton, "*ESR?", 20, 70, 60, 20},
    {IDC_GET_ESE, ControlKind::PushButton, "*ESE?", 90, 70, 60, 20},
    {IDC_SET_ESE, ControlKind::PushButton, "*ESE", 160, 70, 60, 20},
    {IDC_PANEL_LABEL, ControlKind::Label, "Set *ESE:", 270, 70, 70, 20},
    {IDC_ESE_BOX, ControlKind::EntryBox, "", 350, 70, 100, 20},
    {IDC_STATIC, ControlKind::GroupFrame, "Status Commands", 10, 140, 450, 210},
    {IDC_GET_OPER, ControlKind::PushButton, "OPER?", 20, 170, 70, 20},
    {IDC_GET_OPER_COND, ControlKind::PushButton, "OPER:COND?", 150, 170, 110, 20},
    {IDC_SET_OPER_ENAB, ControlKind::PushButton, "OPER:ENAB", 20, 200, 110, 20},
    {IDC_PANEL_LABEL, ControlKind::Label, "Set Enable:", 270, 200, 90, 20},
    {IDC_OPER_ENAB_BOX, ControlKind::EntryBox, "", 350, 200, 100, 20},
    {IDC_GET_OPER_ENAB, ControlKind::PushButton, "OPER:ENAB?", 20, 230, 110, 20},
    {IDC_GET_QUES, ControlKind::PushButton, "QUES?", 20, 260, 70, 20},
    {IDC_GET_QUES_COND, ControlKind::PushButton, "QUES:COND?", 150, 260, 110, 20},
    {IDC_SET_QUES_ENAB, ControlKind::PushButton, "QUES:ENAB", 20, 290, 110, 20},
    {IDC_PANEL_LABEL, ControlKind::Label, "Set Enable:", 270, 290, 90, 20},
    {IDC_QUES_ENAB_BOX, ControlKind::EntryBox, "", 350, 290, 100, 20},
    {IDC_GET_QUES_ENAB, ControlKind::PushButton, "QUES:ENAB?", 20, 320, 110, 20},
};

// Every button that starts a command.
constexpr CommandRow Commands[] = {
    LineRow(IDC_GET_STB, CommandKind::Query, "*STB?\n"),
    LineRow(IDC_GET_SRE, CommandKind::Query, "*SRE?\n"),
    EntryRow(IDC_SET_SRE, CommandKind::Value, "*SRE ", IDC_SRE_BOX, NumberChars),
    LineRow(IDC_GET_ESR, CommandKind::Query, "*ESR?\n"),
    LineRow(IDC_GET_ESE, CommandKind::Query, "*ESE?\n"),
    EntryRow(IDC_SET_ESE, CommandKind::Value, "*ESE ", IDC_ESE_BOX, NumberChars),
    LineRow(IDC_GET_OPER, CommandKind::Query, "STAT:OPER?\n"),
    LineRow(IDC_GET_OPER_COND, CommandKind::Query, "STAT:OPER:COND?\n"),
    EntryRow(IDC_SET_OPER_ENAB, CommandKind::Value, "STAT:OPER:ENAB ", IDC_OPER_ENAB_BOX,
             NumberChars),
    LineRow(IDC_GET_OPER_ENAB, CommandKind::Query, "STAT:OPER:ENAB?\n"),
    LineRow(IDC_GET_QUES, CommandKind::Query, "STAT:QUES?\n"),
    LineRow(IDC_GET_QUES_COND, CommandKind::Query, "STAT:QUES:COND?\n"),
    EntryRow(IDC_SET_QUES_ENAB, CommandKind::Value, "STAT:QUES:ENAB ", IDC_QUES_ENAB_BOX,
             NumberChars),
    LineRow(IDC_GET_QUES_ENAB, CommandKind::Query, "STAT:QUES:ENAB?\n"),
    LineRow(IDC_STATUS_GET_LAST_ERROR, CommandKind::Query, "SYST:ERR?\n"),
    LineRow(IDC_STATUS_CLEAR_DISPLAY, CommandKind::ClearDisplay),
};

} // namespace

extern const PanelTable StatusPanelTable = {
    Controls, std::size(Controls), Commands, std::size(Commands), {},
};
