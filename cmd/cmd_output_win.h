// tessaly-cmd's output (cmd_output_win.cpp): standard output, or the --out file, or the round
// being collected; standard error; and the --out file's opening and closing.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

// True when the process was given the standard handle.
bool Held(DWORD standardHandle);

// Bytes as they are: log entries and answers keep their own line ends. A failed write meant for
// standard output sets console.outputLost; standard error's failures can be told to no one.
void Write(std::FILE* stream, const std::string& bytes);

// Text of tessaly-cmd's own, its line feeds written as Windows line ends.
void WriteText(std::FILE* stream, const std::string& text);

// One line of bytes as they are (an answer, a refusal, a "Status" text) and a Windows line end.
void WriteLine(std::FILE* stream, const std::string& bytes);

// Opens the --out file, when path is not empty; false, after saying why on standard error, when
// it could not be made.
bool OpenOutFile(const std::string& path);
void CloseOutFile();
