// Every command button of every panel with the scene the operator left (entry texts, checked
// options, the baud list's position, the instrument's answer) and what one click must do: the
// exact bytes that reach the link and the exact entry that the panel's log gains, refusals
// included. The native unit tests click each case through its command row; the Windows-side
// tests of tessaly-cmd run the cases it can express through that program.
#pragma once

#include <map>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "core/app_state.h"

namespace button_cases
{

// The instrument's answer to every query, and what the log shows of it (up to the line feed).
constexpr const char* Answer = "+1.20000E+02\r\nnext";
constexpr const char* AnswerShown = "+1.20000E+02\r";

struct Expected {
    std::string sent;  // bytes on the link
    std::string entry; // what the log gains in front of its older text
    int sends;
    int receives;
    bool clears = false; // the log is emptied instead
};

struct Case {
    int id;
    Panel panel; // whose log the entry goes to
    std::map<int, std::string> entries;
    std::set<int> checked;
    Expected expected;
    int baudPosition = 6; // selected position of the baud list; -1 for none
    const char* answer = Answer;
};

void PrintTo(const Case& c, std::ostream* os);

const std::vector<Case>& Cases();

inline std::string Letters(int n, char c)
{
    return std::string(static_cast<std::size_t>(n), c);
}

} // namespace button_cases
