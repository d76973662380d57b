// Writes the chart page whole: the text goes to a temporary file beside the page, which then
// replaces the page with MoveFileExA. The temporary file is on the page's own volume, so the move
// is a rename and needs no MOVEFILE_COPY_ALLOWED; a page that names a directory makes the move
// fail, as MOVEFILE_REPLACE_EXISTING does on directories. Windows XP has every call used here.
#include "chart/chart_file.h"

#include <windows.h>

bool WriteChartPage(const std::string& path, const std::string& page)
{
    const std::string temporary = path + ".tmp";
    // CREATE_ALWAYS: a temporary file that a killed run left behind is overwritten.
    HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool written = true;
    std::size_t done = 0;
    while (written && done < page.size()) {
        DWORD wrote = 0;
        written = WriteFile(file, page.data() + done, static_cast<DWORD>(page.size() - done),
                            &wrote, nullptr) != 0 &&
                  wrote > 0;
        done += wrote;
    }
    // Closed before the move or the delete: neither works on a file that is still open.
    written = CloseHandle(file) != 0 && written;
    if (written && MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != 0)
        return true;
    // The caller tells the failure by its code, which the clean-up must not replace.
    const DWORD error = GetLastError();
    DeleteFileA(temporary.c_str());
    SetLastError(error);
    return false;
}
