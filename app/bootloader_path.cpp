// The bootloader tool's path, computed in place from the program's own module path.
#include "app/bootloader_path.h"

#include <cstring>

namespace
{
// Written over the module path's last backslash: C:\dir\Boot Loader\tool.exe. Backslashes only,
// since the shell's parsing of the path it is given is not promised to take a forward slash.
constexpr char BootFolder[] = "\\Boot Loader\\";
} // namespace

bool MakeBootloaderPath(std::array<char, ModulePathSize>& path, std::size_t length,
                        const char* toolName)
{
    if (length >= ModulePathLimit)
        return false;
    // Search backwards from the last character; stop at the first byte, never before it.
    std::size_t slash = length;
    while (slash > 0 && path[slash - 1] != '\\')
        --slash;
    if (slash == 0)
        return false;
    std::size_t at = slash - 1;
    std::size_t folderLength = sizeof BootFolder - 1;
    std::size_t nameLength = std::strlen(toolName);
    if (at + folderLength + nameLength + 1 > ModulePathSize)
        return false;
    std::memcpy(path.data() + at, BootFolder, folderLength);
    std::memcpy(path.data() + at + folderLength, toolName, nameLength);
    path[at + folderLength + nameLength] = '\0';
    return true;
}
