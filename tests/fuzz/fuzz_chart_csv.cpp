// Fuzzes the chart's CSV reader and the page drawn from what it read: any bytes either are
// refused with an error naming a line and leave the state empty, or give a state whose lines and
// buckets hold to their bounds and a page below ChartPageLimit that never holds a raw "<" from
// the input where a text of the run goes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "chart/chart.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string csv(reinterpret_cast<const char*>(data), size);
    ChartState state;
    std::string error;
    if (!ChartFromCsv(csv, state, error)) {
        if (error.compare(0, 5, "line ") != 0 || !state.lines.empty() || state.rounds != 0)
            std::abort();
        return 0;
    }
    if (!error.empty() || state.lines.size() > ChartMaxLines || state.lines.empty())
        std::abort();
    for (const ChartLine& line : state.lines) {
        if (line.buckets.size() > ChartMaxBuckets || line.numbers + line.gaps != state.rounds)
            std::abort();
        if (line.numbers > 0 && !(line.min <= line.max))
            std::abort();
    }
    PageInfo info;
    info.ended = size % 2 == 0;
    info.endReason = csv.substr(0, 64);
    std::string page = ChartPage(state, info);
    if (page.size() >= ChartPageLimit || page.compare(0, 15, "<!DOCTYPE html>") != 0 ||
        page.find("<script") != std::string::npos)
        std::abort();
    return 0;
}
