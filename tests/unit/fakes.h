// Stand-ins for the window system and the two links, so that the platform-free logic runs natively
// and the tests can see exactly what it asked for, sent and showed.
#pragma once

#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/app_state.h"

namespace fake
{

// What the operator has typed and chosen, by control id.
extern std::map<int, std::string> entryBoxes;
extern std::set<int> checkedOptions;
extern std::map<int, int> listSelections;

// Bytes sent over each link, concatenated in order, and how often each link operation ran.
extern std::string tcpSent;
extern std::string serialSent;
extern int tcpSends, tcpReceives, serialWrites, serialReads;

// Answers the instrument gives, one per receive; each fills the ResponseBuffer (at most 100 bytes).
// With none queued the receive leaves the failure text of its link.
extern std::deque<std::string> answers;

// "Status" boxes shown, the Configuration dialog's status text, and what each panel's output box
// shows, with the length of the last entry.
extern std::vector<std::string> statusBoxes;
extern std::string statusText;
extern std::string outputBoxes[PanelCount];
extern std::size_t lastEntryLength[PanelCount];

// The opening and closing operations of the links that ran, by name, and whether they fail.
extern std::vector<std::string> linkCalls;
extern bool linkCallsFail;
// Each send finds its link gone, as a failed TCP send or a pulled serial adapter does.
extern bool linkGoesOnSend;

// Puts AppState back to its start values and empties every fake.
void Reset();

// Everything sent over whichever link, as one string.
inline std::string Sent()
{
    return tcpSent + serialSent;
}

} // namespace fake
