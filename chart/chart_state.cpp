// The chart's state: which answers are numbers, and the buckets that keep each line's curve at a
// bounded size. A bucket takes perBucket cells; when all ChartMaxBuckets are full, neighbours
// merge pairwise and perBucket doubles, so the work per cell stays constant and no cell is read
// twice. Rounds run on a steady schedule, so a bucket of cells is a bucket of time.
#include "chart/chart.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace
{

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// sign? digits ('.' digits?)? | sign? '.' digits, then an optional exponent: the forms an
// instrument answers with; no "inf", "nan" or hexadecimal.
bool IsDecimal(const char* p, const char* end)
{
    if (p != end && (*p == '+' || *p == '-'))
        ++p;
    const char* digits = p;
    while (p != end && IsDigit(*p))
        ++p;
    bool any = p != digits;
    if (p != end && *p == '.') {
        const char* fraction = ++p;
        while (p != end && IsDigit(*p))
            ++p;
        any = any || p != fraction;
    }
    if (!any)
        return false;
    if (p != end && (*p == 'e' || *p == 'E')) {
        ++p;
        if (p != end && (*p == '+' || *p == '-'))
            ++p;
        const char* exponent = p;
        while (p != end && IsDigit(*p))
            ++p;
        if (p == exponent)
            return false;
    }
    return p == end;
}

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string Trimmed(const std::string& text)
{
    std::size_t begin = 0, end = text.size();
    while (begin < end && IsSpace(text[begin]))
        ++begin;
    while (end > begin && IsSpace(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

// The latest answer is shown in the table: a long one is cut.
constexpr std::size_t LatestKept = 40;

void Take(ChartBucket& into, const ChartBucket& from)
{
    if (from.numbers > 0) {
        into.min = into.numbers > 0 ? std::min(into.min, from.min) : from.min;
        into.max = into.numbers > 0 ? std::max(into.max, from.max) : from.max;
    }
    into.sum += from.sum;
    into.numbers += from.numbers;
    into.gaps += from.gaps;
    into.lastMs = from.lastMs;
}

// Halves the buckets: each pair becomes one, an odd last one stays as it is.
void MergePairs(ChartLine& line)
{
    std::vector<ChartBucket>& b = line.buckets;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < b.size(); i += 2) {
        ChartBucket merged = b[i];
        if (i + 1 < b.size())
            Take(merged, b[i + 1]);
        b[kept++] = merged;
    }
    b.resize(kept);
    line.perBucket *= 2;
}

void AddCell(ChartLine& line, long long elapsedMs, const std::string& cell)
{
    double value = 0;
    bool number = AnswerNumber(cell, value);
    std::vector<ChartBucket>& b = line.buckets;
    auto full = [&] { return b.back().numbers + b.back().gaps >= line.perBucket; };
    if (!b.empty() && full() && b.size() >= ChartMaxBuckets)
        MergePairs(line);
    if (b.empty() || full()) {
        ChartBucket fresh;
        fresh.firstMs = elapsedMs;
        b.push_back(fresh);
    }
    ChartBucket one;
    one.firstMs = one.lastMs = elapsedMs;
    one.min = one.max = one.sum = number ? value : 0;
    one.numbers = number ? 1 : 0;
    one.gaps = number ? 0 : 1;
    Take(b.back(), one);

    if (number) {
        line.min = line.numbers > 0 ? std::min(line.min, value) : value;
        line.max = line.numbers > 0 ? std::max(line.max, value) : value;
        line.sum += value;
        ++line.numbers;
    } else {
        ++line.gaps;
    }
    line.latest = Trimmed(cell).substr(0, LatestKept);
}

} // namespace

bool AnswerNumber(const std::string& answer, double& value)
{
    std::string text = Trimmed(answer);
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (!IsDecimal(begin, end))
        return false;
    // from_chars takes no '+' and reads no locale.
    if (*begin == '+')
        ++begin;
    std::from_chars_result read = std::from_chars(begin, end, value);
    return read.ec == std::errc() && read.ptr == end && std::isfinite(value);
}

namespace
{
bool AllDigits(const std::string& text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// An instrument as tessaly-cmd names it: COM3, USB4, or HOST:PORT.
bool IsInstrumentName(const std::string& word)
{
    if ((word.rfind("COM", 0) == 0 || word.rfind("USB", 0) == 0) && AllDigits(word.substr(3)))
        return true;
    std::size_t colon = word.rfind(':');
    return colon != std::string::npos && colon > 0 && AllDigits(word.substr(colon + 1));
}
} // namespace

ChartColumn SplitColumnName(const std::string& header)
{
    std::size_t space = header.find(' ');
    if (space != std::string::npos && space + 1 < header.size() &&
        IsInstrumentName(header.substr(0, space)))
        return {header.substr(0, space), header.substr(space + 1)};
    return {"", header};
}

ChartState NewChart(const std::vector<ChartColumn>& columns, const std::string& startTime)
{
    ChartState state;
    state.columns = columns.size();
    state.startTime = startTime;
    std::size_t kept = std::min(columns.size(), ChartMaxLines);
    state.lines.resize(kept);
    for (std::size_t i = 0; i < kept; ++i) {
        state.lines[i].instrument = columns[i].instrument;
        state.lines[i].query = columns[i].query;
        // Reserved whole, so that the state's size is the same from the first round to the last.
        state.lines[i].buckets.reserve(ChartMaxBuckets);
    }
    return state;
}

void AddRound(ChartState& state, long long elapsedMs, const std::vector<std::string>& cells)
{
    if (state.rounds == 0)
        state.firstMs = elapsedMs;
    state.lastMs = std::max(state.rounds == 0 ? elapsedMs : state.lastMs, elapsedMs);
    ++state.rounds;
    static const std::string missing;
    for (std::size_t i = 0; i < state.lines.size(); ++i)
        AddCell(state.lines[i], elapsedMs, i < cells.size() ? cells[i] : missing);
}

std::size_t ChartStateBytes(const ChartState& state)
{
    std::size_t bytes =
        sizeof state + state.startTime.capacity() + state.lines.capacity() * sizeof(ChartLine);
    for (const ChartLine& line : state.lines)
        bytes += line.buckets.capacity() * sizeof(ChartBucket) + line.instrument.capacity() +
                 line.query.capacity() + line.latest.capacity();
    return bytes;
}
