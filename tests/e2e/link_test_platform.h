// What the link tests see of the window system: the "Status" boxes are recorded instead of
// shown.
#pragma once

#include <string>
#include <vector>

extern std::vector<std::string> statusBoxes;
