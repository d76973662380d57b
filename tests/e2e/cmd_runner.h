// Runs tessaly-cmd.exe from the Windows-side tests (cmd_runner.cpp): started with its output
// where a test asks, waited for, and what it wrote read back.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct CmdOutcome {
    DWORD status = 999;
    std::string out, err;
};

// Where tessaly-cmd's standard output goes: a file, a pipe whose reader has already closed it,
// or nowhere (no standard handles at all, as for a detached process); or a file, with a console of
// its own beside it.
enum class Output { File, ClosedPipe, None, FileAndConsole };

// A tessaly-cmd that runs, started by StartCmd and waited for by FinishCmd.
struct CmdProcess {
    PROCESS_INFORMATION process{};
    HANDLE output = nullptr, error = nullptr;
    std::string base;
    bool started = false;
};

// The file's text, read as a spreadsheet opens a file that another program writes: for reading,
// sharing reading and writing, so that it opens while tessaly-cmd writes it only when
// tessaly-cmd shares it for reading. Deleted unless kept.
std::string FileText(const std::string& path, bool keep = false);

// Starts tessaly-cmd with args, its standard output as asked and its error into a file.
CmdProcess StartCmd(const std::vector<std::string>& args, Output output = Output::File);

// Waits for its end; its status and what it wrote.
CmdOutcome FinishCmd(CmdProcess& cmd);

// Runs tessaly-cmd with args, its standard output as asked and its error into a file, and waits
// for its end.
CmdOutcome RunCmd(const std::vector<std::string>& args, Output output = Output::File);

// The commands after the link option of the harness's simulated instrument.
std::vector<std::string> Tcp(std::vector<std::string> commands);

std::vector<std::string> LinesOf(const std::string& text);

// The records of CSV text whose fields hold no line break, each split at the commas outside
// quotes, its quotes undone.
std::vector<std::vector<std::string>> CsvRows(const std::string& text);

// Polls the --out file, opened as a spreadsheet would open it while the run goes on, until it
// holds rows records after its header (or the run ends).
std::size_t WaitForRows(const std::string& path, std::size_t rows, const CmdProcess& cmd);
