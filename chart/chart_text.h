// The texts the chart page is made of: escaped data, numbers for people and for SVG coordinates,
// clock times and durations. Locale-free, so a page reads the same on every Windows.
#pragma once

#include <string>

// The text with <, >, &, " and ' as character references, cut to at most maxBytes bytes of the
// original (at a character boundary, with "..." after a cut), so no data can bloat the page.
std::string Escaped(const std::string& text, std::size_t maxBytes = 100);

// A coordinate with one decimal ("123.4", "-0.5").
std::string Coordinate(double value);

// A value for people: its shortest exact text ("120", "-0.0015"), or with significant digits
// at most, for a mean or a tick.
std::string ValueText(double value);
std::string ValueText(double value, int significant);

// Seconds since midnight of an ISO 8601 local time ("2026-12-08T14:06:26.514"), or -1.
double SecondOfDay(const std::string& isoTime);

// The clock time at an elapsed time of the run: "14:06:26", or "+1d 02:00:00" on a later day.
// Without a known start, the elapsed time itself ("1:02:03").
std::string ClockText(double startSecondOfDay, long long elapsedMs);

// A duration for the title: "45 s", "10 min 5 s", "2 h 5 min", "3 d 4 h".
std::string DurationText(long long ms);
