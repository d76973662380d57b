// Where the bootloader tool lies: in the folder "Boot Loader" beside the program's own executable.
// The tool's file name differs between the two programs (BootToolName), so it is passed in.
#pragma once

#include <array>
#include <cstddef>

// The tool's file name in this program, "Varnock Boot Loader_Win7.exe" or "..._WinXP.exe"
// (app/boot_tool_name_win.cpp, compiled once per program).
extern const char BootToolName[];

// The "Status" box text when the shell cannot start the tool; the path it looked for follows.
constexpr char BootToolMissingText[] =
    "The bootloader tool could not be started. It was looked for here:\r\n";

// Size of the buffer that receives the program's module path.
constexpr std::size_t ModulePathSize = 600;
// Paths this long or longer start nothing; below it the appended name always fits.
constexpr std::size_t ModulePathLimit = 550;

// Turns the module path of `length` bytes in `path` into the bootloader tool's path: the last
// backslash and everything after it are overwritten with "\Boot Loader\" and the tool name, and a
// zero byte ends it. Returns false, leaving nothing to start, when the path is 550 bytes or longer,
// when it holds no backslash (which includes an empty path: there is no folder to look in), or
// when the result would not fit in the buffer.
bool MakeBootloaderPath(std::array<char, ModulePathSize>& path, std::size_t length,
                        const char* toolName);
