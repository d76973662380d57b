// SCPI line syntax for the simulated instrument: splitting, header patterns and value readers.
#include "sim/scpi_syntax.h"

#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace
{

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

std::string Trimmed(const std::string& text)
{
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

std::string Upper(const std::string& text)
{
    std::string out = text;
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

bool IsHeaderChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == ':' || c == '*' || c == '_';
}

// One word of a pattern: its short and long forms and whether it may be left out.
struct PatternWord {
    std::string shortForm;
    std::string longForm;
    bool optional = false;
};

std::vector<PatternWord> PatternWords(const char* pattern)
{
    std::vector<PatternWord> words;
    const std::string p = pattern;
    size_t i = 0;
    while (i < p.size()) {
        PatternWord word;
        while (i < p.size() && p[i] == ':')
            ++i;
        if (i < p.size() && p[i] == '[') {
            word.optional = true;
            ++i;
            while (i < p.size() && p[i] == ':')
                ++i;
        }
        std::string text;
        while (i < p.size() && p[i] != ':' && p[i] != '[' && p[i] != ']')
            text += p[i++];
        if (word.optional) {
            while (i < p.size() && p[i] == ':')
                ++i;
            if (i < p.size() && p[i] == ']')
                ++i;
        }
        if (text.empty())
            continue;
        size_t shortLength = 0;
        while (shortLength < text.size() &&
               !std::islower(static_cast<unsigned char>(text[shortLength])))
            ++shortLength;
        word.shortForm = Upper(text.substr(0, shortLength));
        word.longForm = Upper(text);
        words.push_back(word);
    }
    return words;
}

bool WordMatches(const PatternWord& word, const std::string& token)
{
    std::string upper = Upper(token);
    if (upper == word.shortForm || upper == word.longForm)
        return true;
    // A numeric suffix of 1 is the same as none ("SEQ1" is "SEQ").
    size_t digits = upper.size();
    while (digits > 0 && std::isdigit(static_cast<unsigned char>(upper[digits - 1])))
        --digits;
    if (digits == 0 || digits == upper.size() || upper.substr(digits) != "1")
        return false;
    upper.resize(digits);
    return upper == word.shortForm || upper == word.longForm;
}

bool MatchFrom(const std::vector<PatternWord>& words, size_t w,
               const std::vector<std::string>& tokens, size_t t)
{
    if (w == words.size())
        return t == tokens.size();
    const bool here = t < tokens.size() && WordMatches(words[w], tokens[t]) &&
                      MatchFrom(words, w + 1, tokens, t + 1);
    if (here)
        return true;
    return words[w].optional && MatchFrom(words, w + 1, tokens, t);
}

} // namespace

int SplitScpiLine(const std::string& line, ScpiLine& out)
{
    out = ScpiLine{};
    for (char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\t' && c != '\r') || byte >= 0x7f)
            return -101;
    }
    const std::string text = Trimmed(line);
    size_t i = 0;
    while (i < text.size() && !IsBlank(text[i]))
        ++i;
    std::string header = text.substr(0, i);
    if (!header.empty() && header.back() == '?') {
        out.query = true;
        header.pop_back();
    }
    if (header.empty() && out.query)
        return -113;
    for (size_t k = 0; k < header.size(); ++k) {
        if (!IsHeaderChar(header[k]) || (header[k] == '*' && k != 0))
            return -113;
    }
    out.header = header;
    const std::string rest = Trimmed(text.substr(i));
    if (rest.empty())
        return 0;
    // Split at commas that stand outside quoted strings.
    std::string param;
    char quote = 0;
    for (char c : rest) {
        if (quote != 0) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == ',') {
            out.params.push_back(Trimmed(param));
            param.clear();
            continue;
        }
        param += c;
    }
    out.params.push_back(Trimmed(param));
    return 0;
}

bool HeaderMatches(const char* pattern, const std::string& header)
{
    std::string text = header;
    if (!text.empty() && text[0] == ':')
        text.erase(0, 1);
    std::vector<std::string> tokens;
    size_t start = 0;
    while (true) {
        const size_t colon = text.find(':', start);
        tokens.push_back(text.substr(start, colon - start));
        if (tokens.back().empty())
            return false;
        if (colon == std::string::npos)
            break;
        start = colon + 1;
    }
    return MatchFrom(PatternWords(pattern), 0, tokens, 0);
}

bool KeywordMatches(const char* keyword, const std::string& token)
{
    const std::vector<PatternWord> words = PatternWords(keyword);
    return words.size() == 1 && WordMatches(words[0], token);
}

int ReadNumber(const std::string& token, const char* unit, double& value)
{
    if (token.empty())
        return -109;
    const char first = token[0];
    if (!std::isdigit(static_cast<unsigned char>(first)) && first != '+' && first != '-' &&
        first != '.')
        return -104;
    size_t i = 0;
    if (token[i] == '+' || token[i] == '-')
        ++i;
    size_t digits = 0;
    while (i < token.size() && std::isdigit(static_cast<unsigned char>(token[i]))) {
        ++i;
        ++digits;
    }
    if (i < token.size() && token[i] == '.') {
        ++i;
        while (i < token.size() && std::isdigit(static_cast<unsigned char>(token[i]))) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return -120;
    if (i < token.size() && (token[i] == 'e' || token[i] == 'E')) {
        ++i;
        if (i < token.size() && (token[i] == '+' || token[i] == '-'))
            ++i;
        size_t exponentDigits = 0;
        while (i < token.size() && std::isdigit(static_cast<unsigned char>(token[i]))) {
            ++i;
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return -120;
    }
    const std::string number = token.substr(0, i);
    const std::string suffix = Trimmed(token.substr(i));
    if (!suffix.empty()) {
        if (!std::isalpha(static_cast<unsigned char>(suffix[0])))
            return -120;
        if (unit == nullptr || Upper(suffix) != Upper(unit))
            return -131;
    }
    value = std::strtod(number.c_str(), nullptr);
    return 0;
}

int ReadString(const std::string& token, std::string& value)
{
    if (token.empty())
        return -109;
    const char quote = token[0];
    if (quote != '"' && quote != '\'')
        return -104;
    value.clear();
    size_t i = 1;
    while (i < token.size()) {
        if (token[i] == quote) {
            if (i + 1 < token.size() && token[i + 1] == quote) {
                value += quote;
                i += 2;
                continue;
            }
            return i + 1 == token.size() ? 0 : -151;
        }
        value += token[i++];
    }
    return -151; // no closing quote
}

int ReadChoice(const std::string& token, const char* const* choices, int count, int& index)
{
    if (token.empty())
        return -109;
    if (!std::isalpha(static_cast<unsigned char>(token[0])))
        return -104;
    for (int k = 0; k < count; ++k) {
        if (KeywordMatches(choices[k], token)) {
            index = k;
            return 0;
        }
    }
    return -224;
}

int ReadBool(const std::string& token, bool& value)
{
    static constexpr const char* words[] = {"OFF", "ON"};
    int index = 0;
    if (ReadChoice(token, words, 2, index) == 0) {
        value = index == 1;
        return 0;
    }
    double number = 0;
    const int error = ReadNumber(token, nullptr, number);
    if (error == -104)
        return -224;
    if (error != 0)
        return error;
    value = std::lround(number) != 0;
    return 0;
}

std::string QuoteString(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        out += c;
        if (c == '"')
            out += '"';
    }
    return out + "\"";
}

std::string FixedText(double value, int decimals)
{
    std::array<char, 64> text{};
    if (std::fabs(value) < 0.5 * std::pow(10.0, -decimals))
        value = 0.0; // no "-0.00"
    std::snprintf(text.data(), text.size(), "%.*f", decimals, value);
    return text.data();
}
