// Draws one chart as SVG: axes with a few nice ticks, each line through its buckets' minima and
// maxima (so a single spike shows at any run length), a break at every failed answer and a
// triangle under the plot where it fell.
#include "chart/chart_svg.h"

#include <algorithm>
#include <cmath>

#include "chart/chart_text.h"

namespace
{

// The plot area inside the SVG, in pixels.
constexpr double Width = 1000, Height = 320;
constexpr double Left = 80, Right = 985, Top = 12, Bottom = 272;
constexpr double MarkTop = Bottom + 4;

struct Axis {
    double lo, hi;
};

// The values' range, widened around a single value so that it sits mid-plot.
Axis ValueRange(const std::vector<const ChartLine*>& lines)
{
    Axis a{0, 0};
    bool any = false;
    for (const ChartLine* line : lines) {
        if (line->numbers == 0)
            continue;
        a.lo = any ? std::min(a.lo, line->min) : line->min;
        a.hi = any ? std::max(a.hi, line->max) : line->max;
        any = true;
    }
    if (a.lo == a.hi) {
        double d = a.lo == 0 ? 1 : std::fabs(a.lo) * 0.1;
        a = std::isfinite(a.lo + d) && std::isfinite(a.lo - d) ? Axis{a.lo - d, a.lo + d}
            : a.lo > 0                                         ? Axis{a.lo - d, a.lo}
                                                               : Axis{a.lo, a.lo + d};
    }
    return a;
}

// Up to about six ticks on 1, 2 or 5 times a power of ten, the range widened to whole ticks; the
// two ends alone where the range defeats that (a span beyond the doubles, a denormal step).
std::vector<double> Ticks(Axis& a)
{
    double span = a.hi - a.lo;
    if (std::isfinite(span) && span > 0) {
        double magnitude = std::pow(10.0, std::floor(std::log10(span / 5)));
        for (double factor : {1.0, 2.0, 5.0, 10.0}) {
            double step = magnitude * factor;
            if (!(step > 0) || !std::isfinite(step) || span / step > 5.5)
                continue;
            double first = std::floor(a.lo / step), last = std::ceil(a.hi / step);
            if (!std::isfinite(first * step) || !std::isfinite(last * step) || last - first > 12)
                break;
            std::vector<double> ticks;
            for (double k = first; k <= last; ++k)
                ticks.push_back(k * step);
            a = {first * step, last * step};
            return ticks;
        }
    }
    return {a.lo, a.hi};
}

double Y(const Axis& a, double v)
{
    // Halves throughout, so a range across all the doubles does not overflow.
    double t = (v * 0.5 - a.lo * 0.5) / (a.hi * 0.5 - a.lo * 0.5);
    return Bottom - std::clamp(std::isfinite(t) ? t : 0.0, 0.0, 1.0) * (Bottom - Top);
}

struct TimeAxis {
    long long firstMs, spanMs;
};

double X(const TimeAxis& t, long long ms)
{
    double f = t.spanMs > 0 ? double(ms - t.firstMs) / double(t.spanMs) : 0.5;
    return Left + std::clamp(f, 0.0, 1.0) * (Right - Left);
}

// A step of time for about six labels: seconds, minutes, hours, days.
long long TimeStep(long long spanMs)
{
    static const long long steps[] = {1,     2,     5,     10,    15,     30,    60,
                                      120,   300,   600,   900,   1800,   3600,  7200,
                                      10800, 21600, 43200, 86400, 172800, 604800};
    for (long long s : steps)
        if (spanMs / (s * 1000) <= 6)
            return s * 1000;
    return (spanMs / 6 / 604800000 + 1) * 604800000;
}

std::string Axes(const Axis& a, const std::vector<double>& ticks, const TimeAxis& t,
                 double startSecond)
{
    std::string rect = "<rect x=\"" + Coordinate(Left) + "\" y=\"" + Coordinate(Top) +
                       "\" width=\"" + Coordinate(Right - Left) + "\" height=\"" +
                       Coordinate(Bottom - Top) + "\" shape-rendering=\"crispEdges\" ";
    std::string svg = rect + "fill=\"#fff\"/>\n";
    for (double v : ticks) {
        std::string y = Coordinate(Y(a, v));
        svg += "<path d=\"M" + Coordinate(Left) + "," + y + "H" + Coordinate(Right) +
               "\" stroke=\"#e4e4e4\" shape-rendering=\"crispEdges\"/><text x=\"" +
               Coordinate(Left - 6) + "\" y=\"" + y + "\" dy=\"4\" text-anchor=\"end\">" +
               ValueText(v, 6) + "</text>\n";
    }
    // The frame over the grid, so the outer ticks' lines do not hide it.
    svg += rect + "fill=\"none\" stroke=\"#999\"/>\n";
    long long step = TimeStep(t.spanMs);
    for (long long ms = 0; ms <= t.spanMs; ms += step) {
        std::string x = Coordinate(X(t, t.firstMs + ms));
        svg += "<path d=\"M" + x + "," + Coordinate(Bottom) + "v4\" stroke=\"#999\"/><text x=\"" +
               x + "\" y=\"" + Coordinate(Height - 14) + "\" text-anchor=\"middle\">" +
               ClockText(startSecond, t.firstMs + ms) + "</text>\n";
    }
    return svg;
}

// Joins every `size` buckets from `from` into one, as merging does.
ChartBucket Group(const ChartLine& line, std::size_t from, std::size_t size)
{
    ChartBucket g = line.buckets[from];
    for (std::size_t i = from + 1; i < std::min(from + size, line.buckets.size()); ++i) {
        const ChartBucket& b = line.buckets[i];
        if (b.numbers > 0) {
            g.min = g.numbers > 0 ? std::min(g.min, b.min) : b.min;
            g.max = g.numbers > 0 ? std::max(g.max, b.max) : b.max;
        }
        g.numbers += b.numbers;
        g.gaps += b.gaps;
        g.lastMs = b.lastMs;
    }
    return g;
}

// The line's path and its gap marks' path.
void DrawLine(const ChartLine& line, const Axis& a, const TimeAxis& t, std::size_t points,
              std::string& path, std::string& marks)
{
    // A group draws two points (its minimum and maximum), so a line of single values and a
    // line of long merged buckets cost the page the same.
    std::size_t groups = std::max<std::size_t>(points / 2, 1);
    std::size_t size = std::max<std::size_t>((line.buckets.size() + groups - 1) / groups, 1);
    bool penDown = false;
    double previous = 0;
    for (std::size_t i = 0; i < line.buckets.size(); i += size) {
        ChartBucket g = Group(line, i, size);
        if (g.numbers > 0) {
            double xFirst = X(t, g.firstMs), xLast = X(t, g.lastMs);
            bool maxFirst = penDown && std::fabs(previous - g.max) < std::fabs(previous - g.min);
            double v1 = maxFirst ? g.max : g.min, v2 = maxFirst ? g.min : g.max;
            if (g.min == g.max) {
                path += (penDown ? "L" : "M") + Coordinate((xFirst + xLast) / 2) + "," +
                        Coordinate(Y(a, v1));
                // A lone point between gaps still shows as a dot.
                path += penDown ? "" : "h0.1";
            } else {
                path += (penDown ? "L" : "M") + Coordinate(xFirst) + "," + Coordinate(Y(a, v1)) +
                        "L" + Coordinate(xLast) + "," + Coordinate(Y(a, v2));
            }
            penDown = true;
            previous = v2;
        }
        if (g.gaps > 0) {
            penDown = false;
            marks += "M" + Coordinate((X(t, g.firstMs) + X(t, g.lastMs)) / 2) + "," +
                     Coordinate(MarkTop) + "l-4,8h8z";
        }
    }
}

} // namespace

std::string ChartSvg(const std::vector<const ChartLine*>& lines, const ChartState& state,
                     std::size_t pointsPerLine)
{
    Axis a = ValueRange(lines);
    std::vector<double> ticks = Ticks(a);
    TimeAxis t{state.firstMs, state.lastMs - state.firstMs};
    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + Coordinate(Width) +
                      "\" height=\"" + Coordinate(Height) + "\" viewBox=\"0 0 " +
                      Coordinate(Width) + " " + Coordinate(Height) + "\">\n" +
                      Axes(a, ticks, t, SecondOfDay(state.startTime));
    std::string allMarks;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string path, marks;
        DrawLine(*lines[i], a, t, pointsPerLine, path, marks);
        if (!path.empty())
            svg += "<path class=\"line\" d=\"" + path + "\" fill=\"none\" stroke=\"" +
                   LineColours[i % LineColourCount] +
                   "\" stroke-width=\"1.5\" stroke-linejoin=\"round\" stroke-linecap=\"round\"/>\n";
        allMarks += marks;
    }
    if (!allMarks.empty())
        svg += "<path class=\"gaps\" d=\"" + allMarks + "\" fill=\"" + GapColour + "\"/>\n";
    return svg + "</svg>\n";
}
