// chart_page: turns a tessaly-cmd CSV into its chart page, as `tessaly-cmd chart` will, for the
// browser check (tests/browser/check_chart.sh). Usage: chart_page RUN.csv PAGE.html
// Exit status: 0 written, 1 the CSV is not a tessaly-cmd CSV or a file could not be used.
#include <fstream>
#include <iostream>
#include <sstream>

#include "chart/chart.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: chart_page RUN.csv PAGE.html\n";
        return 1;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    ChartState state;
    std::string error;
    if (!in || !ChartFromCsv(text.str(), state, error)) {
        std::cerr << argv[1] << ": " << (error.empty() ? "cannot be read" : error) << "\n";
        return 1;
    }
    PageInfo info;
    info.ended = true;
    info.endReason = "the page was made from " + std::string(argv[1]) + " after the run.";
    std::ofstream out(argv[2], std::ios::binary);
    out << ChartPage(state, info);
    return out ? 0 : 1;
}
