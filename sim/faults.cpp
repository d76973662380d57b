// Fault modes of the simulated instrument and the shaping of answers under them.
#include "sim/faults.h"

#include <cstdlib>
#include <sstream>

namespace
{

struct FaultName {
    const char* name;
    FaultKind kind;
    bool hasArg;
    long argMax;
};

constexpr long DelayMaxMs = 600000;
constexpr long BytesMax = 1000000;

constexpr FaultName FaultNames[] = {
    {"none", FaultKind::None, false, 0},         {"silent", FaultKind::Silent, false, 0},
    {"late", FaultKind::Late, true, DelayMaxMs}, {"split", FaultKind::Split, true, DelayMaxMs},
    {"long", FaultKind::Long, true, BytesMax},   {"nolf", FaultKind::NoLf, false, 0},
    {"close", FaultKind::Close, false, 0},       {"garbage", FaultKind::Garbage, true, BytesMax},
    {"zero", FaultKind::Zero, false, 0},         {"answerclose", FaultKind::AnswerClose, false, 0},
};

std::uint32_t NextRandom(std::uint32_t& state)
{
    // xorshift32; the state must never be zero
    if (state == 0)
        state = 2463534242u;
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

} // namespace

bool ParseNamedNumber(const std::string& text, NamedNumber& out)
{
    std::istringstream in(text);
    std::string number;
    std::string extra;
    in >> out.name >> number >> extra;
    if (!extra.empty())
        return false;
    out.hasNumber = !number.empty();
    if (!out.hasNumber)
        return true;
    char* end = nullptr;
    out.number = std::strtol(number.c_str(), &end, 10);
    return *end == '\0';
}

bool ParseFault(const std::string& text, Fault& out)
{
    NamedNumber words;
    if (!ParseNamedNumber(text, words))
        return false;
    for (const FaultName& f : FaultNames) {
        if (words.name != f.name)
            continue;
        if (words.hasNumber != f.hasArg || words.number < 0 || words.number > f.argMax)
            return false;
        out = Fault{f.kind, words.number};
        return true;
    }
    return false;
}

std::string FaultText(const Fault& fault)
{
    for (const FaultName& f : FaultNames) {
        if (f.kind == fault.kind)
            return f.hasArg ? std::string(f.name) + " " + std::to_string(fault.arg) : f.name;
    }
    return "none";
}

std::vector<AnswerPiece> ShapeAnswer(const Fault& fault, const std::string& answer,
                                     const std::string& lineEnd, std::uint32_t& rng)
{
    const size_t half = answer.size() / 2;
    switch (fault.kind) {
    case FaultKind::None:
        return {{0, answer + lineEnd, false}};
    case FaultKind::Silent:
        return {};
    case FaultKind::Late:
        return {{fault.arg, answer + lineEnd, false}};
    case FaultKind::Split: {
        std::vector<AnswerPiece> pieces;
        if (half > 0)
            pieces.push_back({0, answer.substr(0, half), false});
        pieces.push_back({fault.arg, answer.substr(half), false});
        pieces.push_back({2 * fault.arg, lineEnd, false});
        return pieces;
    }
    case FaultKind::Long: {
        // The digits 0 to 9 over and over, so that a test can tell where a cut fell.
        std::string text(static_cast<size_t>(fault.arg), '0');
        for (size_t k = 0; k < text.size(); ++k)
            text[k] = static_cast<char>('0' + k % 10);
        return {{0, text + lineEnd, false}};
    }
    case FaultKind::NoLf:
        return {{0, answer, false}};
    case FaultKind::Close:
        return {{0, "", true}};
    case FaultKind::AnswerClose:
        return {{0, answer + lineEnd, true}};
    case FaultKind::Garbage: {
        std::string bytes(static_cast<size_t>(fault.arg), '\0');
        for (char& b : bytes) {
            b = static_cast<char>(NextRandom(rng) & 0xff);
            if (b == '\n')
                b = '\0';
        }
        if (!bytes.empty() && bytes[0] == '\0')
            bytes[0] = '\x7f'; // never a zero first, always one in the middle
        if (bytes.size() > 2)
            bytes[bytes.size() / 2] = '\0';
        return {{0, bytes, false}};
    }
    case FaultKind::Zero:
        return {{0, answer.substr(0, half) + std::string(1, '\0') + answer.substr(half) + lineEnd,
                 false}};
    }
    return {};
}
