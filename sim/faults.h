// How the simulated instrument misbehaves when it answers: the fault modes that tests switch on
// through the control channel, and the shaping of one answer into timed pieces of bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class FaultKind : int {
    None,
    Silent,
    Late,
    Split,
    Long,
    NoLf,
    Close,
    AnswerClose,
    Garbage,
    Zero
};

struct Fault {
    FaultKind kind = FaultKind::None;
    long arg = 0; // milliseconds for late and split, a byte count for long and garbage
};

// "NAME" or "NAME NUMBER", the shape of the control channel's fault commands. False when the
// number is not a whole decimal number or more words follow.
struct NamedNumber {
    std::string name;
    bool hasNumber = false;
    long number = 0;
};
bool ParseNamedNumber(const std::string& text, NamedNumber& out);

// Reads "none", "silent", "late MS", "split MS", "long N", "nolf", "close", "garbage N", "zero".
bool ParseFault(const std::string& text, Fault& out);
std::string FaultText(const Fault& fault);

// One piece of an answer: sent atMs milliseconds after the command was read, then, if
// closeAfter, the connection is closed.
struct AnswerPiece {
    long atMs = 0;
    std::string bytes;
    bool closeAfter = false;
};

// The pieces that carry one answer (without line end) under the fault; rng feeds garbage.
std::vector<AnswerPiece> ShapeAnswer(const Fault& fault, const std::string& answer,
                                     const std::string& lineEnd, std::uint32_t& rng);
