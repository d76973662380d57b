// SCPI line syntax for the simulated instrument: splitting a line into header and parameters,
// matching a header against a command pattern, and reading numbers, strings and choices.
// Every reader returns 0 or the number of the SCPI error that the value deserves.
#pragma once

#include <string>
#include <vector>

struct ScpiLine {
    std::string header; // as sent, without the trailing '?'
    bool query = false;
    std::vector<std::string> params; // blanks trimmed, quotes kept
};

// Splits one line (line end already removed). An empty or blank line gives an empty header.
int SplitScpiLine(const std::string& line, ScpiLine& out);

// A pattern is written as in instrument manuals: "[SOURce:]VOLTage[:LEVel]". Upper-case letters
// give the short form, the whole word the long form; words in brackets may be left out.
bool HeaderMatches(const char* pattern, const std::string& header);

// One mixed-case keyword against one token, either form, any case; a suffix "1" is allowed.
bool KeywordMatches(const char* keyword, const std::string& token);

// Decimal number with optional sign, point and exponent, then optionally the unit (e.g. "V").
int ReadNumber(const std::string& token, const char* unit, double& value);

// Text between double or single quotes; a doubled quote stands for one quote.
int ReadString(const std::string& token, std::string& value);

// One of the mixed-case keywords in choices; index receives its position.
int ReadChoice(const std::string& token, const char* const* choices, int count, int& index);

// ON, OFF or a number (nonzero after rounding is ON).
int ReadBool(const std::string& token, bool& value);

// The text between double quotes, inner quotes doubled, as a query answers it.
std::string QuoteString(const std::string& text);

// The number with the given count of decimals, as the instrument answers it.
std::string FixedText(double value, int decimals);
