// What the link tests see of the window system: the "Status" boxes are recorded instead of
// shown, and the dialog choices that opening a serial port reads are set by the test.
#pragma once

#include <string>
#include <vector>

extern std::vector<std::string> statusBoxes;
extern int dialogLinkKind;
extern int dialogBaudIndex;
