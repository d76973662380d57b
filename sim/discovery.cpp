// Discovery replies of the simulated instrument: host name, CR, MAC text, CR, or a fault.
#include "sim/discovery.h"
#include "sim/faults.h"

#include <cstring>

namespace
{

struct DiscoveryName {
    const char* name;
    DiscoveryKind kind;
    bool hasCount;
};

constexpr DiscoveryName DiscoveryNames[] = {
    {"none", DiscoveryKind::Normal, false},   {"crlf", DiscoveryKind::CrLf, false},
    {"nocr", DiscoveryKind::NoCr, false},     {"short", DiscoveryKind::Short, false},
    {"huge", DiscoveryKind::Huge, false},     {"hugename", DiscoveryKind::HugeName, false},
    {"other", DiscoveryKind::Other, false},   {"empty", DiscoveryKind::Empty, false},
    {"silent", DiscoveryKind::Silent, false}, {"burst", DiscoveryKind::Burst, true},
};

constexpr int BurstMax = 1000;

std::string Padded(std::string text, char fill)
{
    if (text.size() < DiscoveryDatagramMax)
        text.append(DiscoveryDatagramMax - text.size(), fill);
    text.resize(DiscoveryDatagramMax);
    return text;
}

} // namespace

bool ParseDiscoveryFault(const std::string& text, DiscoveryFault& out)
{
    NamedNumber words;
    if (!ParseNamedNumber(text, words))
        return false;
    for (const DiscoveryName& d : DiscoveryNames) {
        if (words.name != d.name)
            continue;
        if (words.hasNumber != d.hasCount ||
            (d.hasCount && (words.number < 1 || words.number > BurstMax)))
            return false;
        out = DiscoveryFault{d.kind, d.hasCount ? static_cast<int>(words.number) : 1};
        return true;
    }
    return false;
}

std::string DiscoveryFaultText(const DiscoveryFault& fault)
{
    for (const DiscoveryName& d : DiscoveryNames) {
        if (d.kind == fault.kind)
            return d.hasCount ? std::string(d.name) + " " + std::to_string(fault.count) : d.name;
    }
    return "none";
}

bool IsDiscoveryQuestion(const char* data, size_t length)
{
    return length == DiscoveryQuestionLength &&
           std::memcmp(data, DiscoveryQuestion, DiscoveryQuestionLength) == 0;
}

std::vector<std::string> DiscoveryReplies(const DiscoveryFault& fault, const std::string& host,
                                          const std::string& mac)
{
    const std::string normal = host + "\r" + mac + "\r";
    switch (fault.kind) {
    case DiscoveryKind::Normal:
        return {normal};
    case DiscoveryKind::CrLf:
        return {host + "\r\n" + mac + "\r\n"};
    case DiscoveryKind::NoCr:
        return {host + "\n" + mac + "\n"};
    case DiscoveryKind::Short:
        return {host + "\r"};
    case DiscoveryKind::Huge:
        return {Padded(normal, '.')};
    case DiscoveryKind::HugeName:
        return {Padded(host, 'N')};
    case DiscoveryKind::Other:
        return {"NOTIFY * HTTP/1.1\r\nHOST: 239.255.255.250:1900\r\n\r\n"};
    case DiscoveryKind::Empty:
        return {""};
    case DiscoveryKind::Silent:
        return {};
    case DiscoveryKind::Burst:
        return std::vector<std::string>(static_cast<size_t>(fault.count), normal);
    }
    return {};
}
