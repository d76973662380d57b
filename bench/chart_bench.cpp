// The chart page's cost at any run length: renders the page of three lines after 1,000 rounds and
// after 1,000,000 rounds, fed to the chart code directly, and compares. Goals: the long run's page
// takes at most 1.5 times the short run's to render, the state's size is the same after both, and
// the page stays below ChartPageLimit. Prints the figures; exit status 2 when a goal is missed.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "chart/chart.h"

namespace
{

// A run of three lines, a voltage with a spike, a current with a failed answer now and then and a
// negative offset, the state returned after `rounds` rounds every 2 seconds.
ChartState Run(long long rounds)
{
    ChartState state = NewChart({{"", "MEAS:VOLT?"}, {"", "MEAS:CURR?"}, {"", "MEAS:OFFS?"}},
                                "2026-12-08T14:06:26.514");
    std::vector<std::string> cells(3);
    for (long long k = 0; k < rounds; ++k) {
        cells[0] = k == rounds / 3 ? "250.00" : "120." + std::to_string(k % 7) + "0";
        cells[1] = k % 997 == 5 ? "Eth Timeout" : "2.5" + std::to_string(k % 10);
        cells[2] = "-0.0" + std::to_string(k % 10);
        AddRound(state, k * 2000, cells);
    }
    return state;
}

// The least of several renderings' times, in milliseconds, and the page's size.
double RenderMs(const ChartState& state, std::size_t& pageBytes)
{
    PageInfo info;
    double best = 1e18;
    for (int i = 0; i < 15; ++i) {
        auto start = std::chrono::steady_clock::now();
        std::string page = ChartPage(state, info);
        auto end = std::chrono::steady_clock::now();
        pageBytes = page.size();
        best = std::min(best, std::chrono::duration<double, std::milli>(end - start).count());
    }
    return best;
}

} // namespace

int main()
{
    ChartState shortRun = Run(1000);
    ChartState longRun = Run(1000000);
    std::size_t shortPage = 0, longPage = 0;
    double shortMs = RenderMs(shortRun, shortPage);
    double longMs = RenderMs(longRun, longPage);
    double ratio = longMs / shortMs;
    std::size_t shortBytes = ChartStateBytes(shortRun), longBytes = ChartStateBytes(longRun);
    std::printf("chart: page after 1,000 rounds: %.3f ms, %zu bytes; state %zu bytes\n", shortMs,
                shortPage, shortBytes);
    std::printf("chart: page after 1,000,000 rounds: %.3f ms, %zu bytes; state %zu bytes\n", longMs,
                longPage, longBytes);
    std::printf("chart: render time ratio %.2f (goal at most 1.5)\n", ratio);
    bool met = ratio <= 1.5 && shortBytes == longBytes && shortPage < ChartPageLimit &&
               longPage < ChartPageLimit;
    if (!met)
        std::printf("chart: GOAL MISSED (ratio over 1.5, state sizes differ or a page of 1 MB)\n");
    return met ? 0 : 2;
}
