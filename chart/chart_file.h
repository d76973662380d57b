// Writing the chart page to its file, Windows side (chart/chart_file_win.cpp).
#pragma once

#include <string>

// Writes page as the whole content of the file at path: first to path + ".tmp" beside it, then
// moved over path in one step, so a browser reloading the page never reads half of it. False when
// any step fails (the old page then stays as it was, and no temporary file is left behind).
bool WriteChartPage(const std::string& path, const std::string& page);
