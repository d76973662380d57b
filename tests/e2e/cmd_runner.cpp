// Runs tessaly-cmd.exe from the Windows-side tests as a script would, with its standard output
// and error in files (or a closed pipe, or none), and reads back what it wrote: its lines, its CSV
// records, and its --out file while the run goes on.
#include "tests/e2e/cmd_runner.h"

#include <cstdlib>
#include <sstream>

#include "support/sim_control.h"

namespace
{

// One argument as the runtime's command-line parser reads it back.
std::string Quoted(const std::string& arg)
{
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    return quoted.append(backslashes * 2, '\\') + "\"";
}

HANDLE InheritableFile(const std::string& path)
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

} // namespace

// The file's text, read as a spreadsheet opens a file that another program writes: for reading,
// sharing reading and writing, so that it opens while tessaly-cmd writes it only when tessaly-cmd
// shares it for reading. Deleted unless kept.
std::string FileText(const std::string& path, bool keep)
{
    std::string text;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    char buffer[4096];
    DWORD got = 0;
    while (file != INVALID_HANDLE_VALUE && ReadFile(file, buffer, sizeof buffer, &got, nullptr) &&
           got > 0)
        text.append(buffer, got);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    if (!keep)
        DeleteFileA(path.c_str());
    return text;
}

// Starts tessaly-cmd with args, its standard output as asked and its error into a file.
CmdProcess StartCmd(const std::vector<std::string>& args, Output output)
{
    const char* program = std::getenv("TESSALY_CMD");
    std::string line = Quoted(program != nullptr ? program : "tessaly-cmd.exe");
    for (const std::string& arg : args)
        line += " " + Quoted(arg);
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    CmdProcess cmd;
    static int started = 0; // each run's files of its own, for runs that overlap
    cmd.base = std::string(folder) + "tessaly-cmd-" + std::to_string(GetCurrentProcessId()) + "-" +
               std::to_string(++started);
    STARTUPINFOA start{};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdInput = nullptr;
    bool toFile = output == Output::File || output == Output::FileAndConsole;
    start.hStdOutput = toFile ? InheritableFile(cmd.base + ".out") : nullptr;
    start.hStdError = output == Output::None ? nullptr : InheritableFile(cmd.base + ".err");
    if (output == Output::ClosedPipe) {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        HANDLE reader = nullptr;
        CreatePipe(&reader, &start.hStdOutput, &inherit, 0);
        CloseHandle(reader);
    }
    cmd.output = start.hStdOutput;
    cmd.error = start.hStdError;
    DWORD flags = output == Output::FileAndConsole ? CREATE_NEW_CONSOLE : 0;
    cmd.started = CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, flags, nullptr, nullptr,
                                 &start, &cmd.process) != 0;
    return cmd;
}

// Waits for its end; its status and what it wrote.
CmdOutcome FinishCmd(CmdProcess& cmd)
{
    CmdOutcome run;
    if (cmd.started) {
        WaitForSingleObject(cmd.process.hProcess, 120000);
        GetExitCodeProcess(cmd.process.hProcess, &run.status);
        CloseHandle(cmd.process.hThread);
        CloseHandle(cmd.process.hProcess);
    }
    for (HANDLE handle : {cmd.output, cmd.error}) {
        if (handle != nullptr)
            CloseHandle(handle);
    }
    run.out = FileText(cmd.base + ".out");
    run.err = FileText(cmd.base + ".err");
    return run;
}

// Runs tessaly-cmd with args, its standard output as asked and its error into a file, and waits
// for its end.
CmdOutcome RunCmd(const std::vector<std::string>& args, Output output)
{
    CmdProcess cmd = StartCmd(args, output);
    return FinishCmd(cmd);
}

std::vector<std::string> Tcp(std::vector<std::string> commands)
{
    commands.insert(commands.begin(), {"--tcp", "127.0.0.1:" + std::to_string(SimTcpPort())});
    return commands;
}

std::vector<std::string> LinesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line.substr(0, line.find_last_not_of('\r') + 1));
    return lines;
}

// The records of CSV text whose fields hold no line break, each split at the commas outside
// quotes, its quotes undone.
std::vector<std::vector<std::string>> CsvRows(const std::string& text)
{
    std::vector<std::vector<std::string>> rows;
    for (const std::string& line : LinesOf(text)) {
        std::vector<std::string> fields(1);
        bool quoted = false;
        for (std::size_t i = 0; i < line.size(); ++i) {
            if (line[i] == '"' && quoted && i + 1 < line.size() && line[i + 1] == '"')
                fields.back() += line[++i];
            else if (line[i] == '"')
                quoted = !quoted;
            else if (line[i] == ',' && !quoted)
                fields.emplace_back();
            else
                fields.back() += line[i];
        }
        rows.push_back(fields);
    }
    return rows;
}

// Polls the --out file, opened as a spreadsheet would open it while the run goes on, until it
// holds rows records after its header (or the run ends).
std::size_t WaitForRows(const std::string& path, std::size_t rows, const CmdProcess& cmd)
{
    std::size_t seen = 0;
    for (int i = 0; i < 600 && seen < rows; ++i) {
        seen = LinesOf(FileText(path, true)).size();
        seen = seen > 0 ? seen - 1 : 0;
        if (seen < rows && WaitForSingleObject(cmd.process.hProcess, 50) == WAIT_OBJECT_0)
            break;
    }
    return seen;
}
