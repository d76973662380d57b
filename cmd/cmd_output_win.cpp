// Where tessaly-cmd's bytes go: standard output or the --out file (or, during a round, the
// round's collection, written whole when the round ends) and standard error, in binary, with the
// program's own line ends, one write at a time across all threads; a write that fails is
// remembered so that a lost answer never ends in success.
#include "cmd/cmd_output_win.h"

#include "cmd/console_state.h"

bool Held(DWORD standardHandle)
{
    HANDLE handle = GetStdHandle(standardHandle);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

namespace
{

void WriteHeld(std::FILE* stream, const std::string& bytes)
{
    if (stream == stdout && console.outFile != INVALID_HANDLE_VALUE) {
        // On to the disk as well, so that a run cut off by a power loss keeps what it logged. A
        // console or a pipe has no buffers to flush, and flushing it fails.
        DWORD written = 0;
        bool whole = WriteFile(console.outFile, bytes.data(), static_cast<DWORD>(bytes.size()),
                               &written, nullptr) &&
                     written == bytes.size();
        bool flushed = !console.outFileOnDisk || FlushFileBuffers(console.outFile);
        if (!whole || !flushed)
            console.outputLost = true;
        return;
    }
    bool held = stream == stdout ? console.stdoutHeld : console.stderrHeld;
    bool written = held && std::fwrite(bytes.data(), 1, bytes.size(), stream) == bytes.size();
    written = held && std::fflush(stream) == 0 && written;
    if (!written && stream == stdout)
        console.outputLost = true;
}

} // namespace

void Write(std::FILE* stream, const std::string& bytes)
{
    if (stream == stdout && clicking.collected != nullptr) {
        *clicking.collected += bytes;
        return;
    }
    EnterCriticalSection(&console.outputLock);
    WriteHeld(stream, bytes);
    LeaveCriticalSection(&console.outputLock);
}

void WriteText(std::FILE* stream, const std::string& text)
{
    std::string out;
    for (char c : text)
        out += c == '\n' ? std::string("\r\n") : std::string(1, c);
    Write(stream, out);
}

void WriteLine(std::FILE* stream, const std::string& bytes)
{
    Write(stream, bytes + "\r\n");
}

// FILE is first opened as it stands, in the way a console or a pipe must be opened (an existing
// one, shared for reading and writing). What that gives is kept unless it is a disk file: a disk
// file is made anew, shared for reading only, so that a spreadsheet can read it while the run
// goes on but a second run cannot open it to write and empty it under the first.
bool OpenOutFile(const std::string& path)
{
    if (path.empty())
        return true;
    HANDLE existing = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (existing != INVALID_HANDLE_VALUE && GetFileType(existing) != FILE_TYPE_DISK) {
        console.outFile = existing;
        return true;
    }
    if (existing != INVALID_HANDLE_VALUE)
        CloseHandle(existing);
    console.outFile = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    console.outFileOnDisk = console.outFile != INVALID_HANDLE_VALUE;
    if (console.outFile != INVALID_HANDLE_VALUE)
        return true;
    WriteLine(stderr, "--out " + path + ": the file could not be made (error " +
                          std::to_string(GetLastError()) + ")");
    return false;
}

void CloseOutFile()
{
    if (console.outFile != INVALID_HANDLE_VALUE)
        CloseHandle(console.outFile);
    console.outFile = INVALID_HANDLE_VALUE;
}
