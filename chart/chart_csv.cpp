// Reads a CSV that tessaly-cmd wrote (RFC 4180: fields between quotes may hold commas, quotes
// doubled, and line ends; records end in CR LF or LF) back into a chart state, after checking it
// is one: a header "time,elapsed_s,<query>...", every row as wide as the header, elapsed_s a
// number of seconds. A fault is told with the line it is on.
#include <cmath>

#include "chart/chart.h"

namespace
{

struct Reader {
    const std::string& text;
    std::size_t at = 0;
    long long line = 1; // the line the reader is on, from 1
};

// The next record's fields, and the line it starts on. False with error at the end of the text
// or on a malformed field.
bool NextRecord(Reader& r, std::vector<std::string>& fields, long long& startLine,
                std::string& error)
{
    fields.clear();
    startLine = r.line;
    if (r.at >= r.text.size())
        return false;
    std::string field;
    while (true) {
        if (r.at < r.text.size() && r.text[r.at] == '"') {
            ++r.at;
            while (true) {
                if (r.at >= r.text.size()) {
                    error = "line " + std::to_string(startLine) + ": a quoted field is not closed";
                    return false;
                }
                char c = r.text[r.at++];
                if (c == '"' && r.at < r.text.size() && r.text[r.at] == '"') {
                    field += '"';
                    ++r.at;
                } else if (c == '"') {
                    break;
                } else {
                    r.line += c == '\n';
                    field += c;
                }
            }
        } else {
            while (
                r.at < r.text.size() && r.text[r.at] != ',' && r.text[r.at] != '\n' &&
                !(r.text[r.at] == '\r' && r.at + 1 < r.text.size() && r.text[r.at + 1] == '\n')) {
                if (r.text[r.at] == '"') {
                    error = "line " + std::to_string(r.line) + ": a quote inside a field that " +
                            "does not start with one";
                    return false;
                }
                field += r.text[r.at++];
            }
        }
        fields.push_back(field);
        field.clear();
        if (r.at >= r.text.size())
            return true;
        char c = r.text[r.at];
        if (c == ',') {
            ++r.at;
            continue;
        }
        bool crlf = c == '\r' && r.at + 1 < r.text.size() && r.text[r.at + 1] == '\n';
        if (c != '\n' && !crlf) {
            error = "line " + std::to_string(r.line) + ": text after the closing quote of a field";
            return false;
        }
        r.at += crlf ? 2 : 1;
        ++r.line;
        return true;
    }
}

bool Fail(ChartState& state, std::string& error, const std::string& text)
{
    state = ChartState();
    error = text;
    return false;
}

} // namespace

bool ChartFromCsv(const std::string& csvText, ChartState& state, std::string& error)
{
    error.clear();
    // A spreadsheet that saved the file may have put a UTF-8 byte order mark in front.
    bool bom = csvText.compare(0, 3, "\xEF\xBB\xBF") == 0;
    Reader r{bom ? csvText.substr(3) : csvText};
    std::vector<std::string> header, row;
    long long line = 1;
    if (!NextRecord(r, header, line, error))
        return Fail(state, error,
                    error.empty() ? "line 1: the file is empty, not a tessaly-cmd CSV" : error);
    if (header.size() < 3 || header[0] != "time" || header[1] != "elapsed_s")
        return Fail(state, error,
                    "line 1: not a tessaly-cmd CSV: the header must be time,elapsed_s and at "
                    "least one query");
    std::vector<ChartColumn> columns;
    for (std::size_t i = 2; i < header.size(); ++i)
        columns.push_back(SplitColumnName(header[i]));
    state = NewChart(columns, "");
    std::vector<std::string> cells;
    while (NextRecord(r, row, line, error)) {
        // A blank line (a file's end edited by hand) is no row: a row has three cells at least.
        if (row.size() == 1 && row[0].empty())
            continue;
        if (row.size() != header.size())
            return Fail(state, error,
                        "line " + std::to_string(line) + ": " + std::to_string(row.size()) +
                            " cells where the header has " + std::to_string(header.size()));
        double seconds = 0;
        if (!AnswerNumber(row[1], seconds) || seconds < 0 || seconds > 1e10)
            return Fail(state, error,
                        "line " + std::to_string(line) + ": elapsed_s is not a number of seconds");
        if (state.rounds == 0)
            state.startTime = row[0];
        cells.assign(row.begin() + 2, row.end());
        AddRound(state, std::llround(seconds * 1000), cells);
    }
    if (!error.empty())
        return Fail(state, error, error);
    return true;
}
