// Simulated instrument hosts of the discovery tests.
#include "support/lan_hosts.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "res/resource.h"
#include "support/sim_control.h"

std::vector<Host> LanHosts()
{
    std::vector<Host> hosts;
    const char* words = std::getenv("TESSALY_LAN_HOSTS");
    std::istringstream in(words != nullptr ? words : "");
    for (std::string word; in >> word;) {
        std::replace(word.begin(), word.end(), ',', ' ');
        Host h;
        std::istringstream fields(word);
        if (fields >> h.name >> h.address >> h.mac >> h.controlPort)
            hosts.push_back(h);
    }
    return hosts;
}

std::string HostControl(const Host& host, const std::string& line)
{
    return SimControlAt(host.address, host.controlPort, line);
}

std::string Entry(const std::string& address, const std::string& host, const std::string& mac)
{
    return "\r\n IP Address: " + address + "\r\n \r\n Host Name: " + host +
           "\r\n \r\n MAC Address: " + mac + "\r\n----------";
}

std::vector<std::string> EntriesOf(const std::string& text)
{
    std::vector<std::string> entries;
    const std::string mark = "\r\n IP Address: ";
    std::size_t at = text.find(mark);
    while (at != std::string::npos) {
        std::size_t next = text.find(mark, at + mark.size());
        entries.push_back(text.substr(at, next == std::string::npos ? next : next - at));
        at = next;
    }
    return entries;
}

HWND MakeStandInDialog(const char* statusText)
{
    constexpr DWORD StatusBoxStyle =
        WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOHSCROLL;
    HWND dialog = CreateWindowExA(0, "STATIC", "Configuration", WS_OVERLAPPEDWINDOW, 0, 0, 600, 300,
                                  nullptr, nullptr, nullptr, nullptr);
    if (dialog == nullptr)
        return nullptr;
    if (CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", statusText, StatusBoxStyle, 0, 0, 500, 250,
                        dialog, reinterpret_cast<HMENU>(IDC_STATUS_TEXT), nullptr,
                        nullptr) == nullptr) {
        DestroyWindow(dialog);
        return nullptr;
    }
    return dialog;
}
