// Lets a Windows-side test see, and answer, the system calls that the link code it links makes:
// the address through which this program calls a function of a system DLL is replaced in its own
// import table. For what Wine cannot show, such as a port that reports abort-on-error.
#pragma once

// Puts replacement in the place of dll's function for every call this program makes to it, and
// returns the address it replaced (to call through, and to put back), or nullptr when the program
// does not import that function.
void* HookImport(const char* dll, const char* function, void* replacement);
