// One chart of the page: the lines of one query drawn as inline SVG, elapsed time across (labelled
// with the clock), values up, each failed answer a break in its line with a mark under the plot.
#pragma once

#include <string>
#include <vector>

#include "chart/chart.h"

// The colours of a chart's lines, in order, and the colour of the marks under gaps.
constexpr const char* LineColours[] = {"#1f77b4", "#ff7f0e", "#2ca02c", "#9467bd",
                                       "#8c564b", "#e377c2", "#17becf", "#7f7f7f"};
constexpr std::size_t LineColourCount = sizeof LineColours / sizeof LineColours[0];
constexpr const char GapColour[] = "#d62728";

// The SVG of one chart. Each line is drawn with at most about pointsPerLine points (buckets beside
// each other join for the drawing), so the SVG's size does not grow with the run.
std::string ChartSvg(const std::vector<const ChartLine*>& lines, const ChartState& state,
                     std::size_t pointsPerLine);
