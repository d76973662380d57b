// The chart page's texts: escaping, numbers, clock times and durations.
#include "chart/chart_text.h"

#include <charconv>
#include <cmath>

namespace
{

std::string TwoDigits(long long n)
{
    return (n < 10 ? "0" : "") + std::to_string(n);
}

} // namespace

std::string Escaped(const std::string& text, std::size_t maxBytes)
{
    std::size_t length = text.size();
    bool cut = length > maxBytes;
    if (cut) {
        length = maxBytes;
        // Never split a UTF-8 sequence: back off its continuation bytes.
        while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
            --length;
    }
    std::string out;
    out.reserve(length + 16);
    for (std::size_t i = 0; i < length; ++i) {
        switch (text[i]) {
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '&':
            out += "&amp;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out += text[i];
        }
    }
    return cut ? out + "..." : out;
}

std::string Coordinate(double value)
{
    long long tenths = std::llround(value * 10);
    std::string sign = tenths < 0 ? "-" : "";
    tenths = tenths < 0 ? -tenths : tenths;
    return sign + std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

std::string ValueText(double value)
{
    char buffer[64];
    std::to_chars_result r = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, r.ptr);
}

std::string ValueText(double value, int significant)
{
    char buffer[64];
    std::to_chars_result r = std::to_chars(buffer, buffer + sizeof buffer, value,
                                           std::chars_format::general, significant);
    std::string text(buffer, r.ptr);
    return text == "-0" ? "0" : text;
}

double SecondOfDay(const std::string& t)
{
    // YYYY-MM-DDTHH:MM:SS, milliseconds optional.
    if (t.size() < 19 || t[10] != 'T' || t[13] != ':' || t[16] != ':')
        return -1;
    auto number = [&](std::size_t at, std::size_t digits) {
        int n = 0;
        for (std::size_t i = at; i < at + digits; ++i) {
            if (t[i] < '0' || t[i] > '9')
                return -1;
            n = n * 10 + (t[i] - '0');
        }
        return n;
    };
    int h = number(11, 2), m = number(14, 2), s = number(17, 2);
    if (h < 0 || h > 23 || m < 0 || m > 59 || s < 0 || s > 60)
        return -1;
    int ms = t.size() >= 23 && t[19] == '.' ? number(20, 3) : 0;
    return h * 3600.0 + m * 60.0 + s + (ms > 0 ? ms / 1000.0 : 0);
}

std::string ClockText(double startSecondOfDay, long long elapsedMs)
{
    bool known = startSecondOfDay >= 0;
    long long total = std::llround((known ? startSecondOfDay : 0) + elapsedMs / 1000.0);
    total = total < 0 ? 0 : total; // no round comes before the first
    long long day = total / 86400, second = total % 86400;
    std::string clock =
        TwoDigits(second / 3600) + ":" + TwoDigits(second / 60 % 60) + ":" + TwoDigits(second % 60);
    if (!known)
        return std::to_string(total / 3600) + clock.substr(2);
    return day > 0 ? "+" + std::to_string(day) + "d " + clock : clock;
}

std::string DurationText(long long ms)
{
    long long s = ms / 1000;
    if (s < 60)
        return std::to_string(s) + " s";
    if (s < 3600)
        return std::to_string(s / 60) + " min " + std::to_string(s % 60) + " s";
    if (s < 86400)
        return std::to_string(s / 3600) + " h " + std::to_string(s / 60 % 60) + " min";
    return std::to_string(s / 86400) + " d " + std::to_string(s / 3600 % 24) + " h";
}
