// What the link tests see of the window system: the "Status" boxes and the links' notes are
// recorded instead of shown.
#pragma once

#include <string>
#include <vector>

extern std::vector<std::string> statusBoxes;
extern std::vector<std::string> linkNotes;
