// Fake window-system and link operations for the native tests.
#include "tests/unit/fakes.h"

#include <algorithm>
#include <cstring>

#include "core/platform.h"
#include "link/link.h"

namespace fake
{
std::map<int, std::string> entryBoxes;
std::set<int> checkedOptions;
std::map<int, int> listSelections;
std::string tcpSent, serialSent;
int tcpSends, tcpReceives, serialWrites, serialReads;
std::deque<std::string> answers;
std::vector<std::string> statusBoxes;
std::string statusText;
std::string outputBoxes[PanelCount];
std::size_t lastEntryLength[PanelCount];
std::vector<std::string> linkCalls;
bool linkCallsFail;
bool linkGoesOnSend;

void Reset()
{
    app = AppState{};
    entryBoxes.clear();
    checkedOptions.clear();
    listSelections.clear();
    tcpSent.clear();
    serialSent.clear();
    tcpSends = tcpReceives = serialWrites = serialReads = 0;
    answers.clear();
    linkCalls.clear();
    linkCallsFail = false;
    linkGoesOnSend = false;
    statusBoxes.clear();
    statusText.clear();
    for (int i = 0; i < PanelCount; ++i) {
        outputBoxes[i].clear();
        lastEntryLength[i] = 0;
    }
}

static void FillResponse(const char* failureText)
{
    if (answers.empty()) {
        std::strcpy(app.ResponseBuffer.data(), failureText);
        return;
    }
    const std::string& answer = answers.front();
    std::memcpy(app.ResponseBuffer.data(), answer.data(),
                std::min<std::size_t>(answer.size(), ResponseBufferSize));
    answers.pop_front();
}
// An open or close that fails leaves its reason, as the real links do.
static bool Outcome(const char* failure)
{
    if (linkCallsFail)
        app.linkFailure = failure;
    return !linkCallsFail;
}
} // namespace fake

void StatusBox(const char* text)
{
    fake::statusBoxes.emplace_back(text);
}

void SetStatusText(const char* text)
{
    fake::statusText = text;
}

void ReadEntryBox(int controlId)
{
    const std::string& text = fake::entryBoxes[controlId];
    std::size_t n = std::min<std::size_t>(text.size(), TextBufferSize - 1);
    std::memcpy(app.EntryText.data(), text.data(), n);
    app.EntryText[n] = 0;
}

bool IsOptionChecked(int controlId)
{
    return fake::checkedOptions.count(controlId) != 0;
}

int ListSelection(int controlId)
{
    auto it = fake::listSelections.find(controlId);
    return it == fake::listSelections.end() ? -1 : it->second;
}

void ShowOutputLog(Panel panel, std::size_t newEntryLength)
{
    fake::outputBoxes[static_cast<int>(panel)] = LogOf(panel);
    fake::lastEntryLength[static_cast<int>(panel)] = newEntryLength;
}

bool SerialOpen(int, bool, int)
{
    fake::linkCalls.emplace_back("SerialOpen");
    return fake::Outcome("COMPORT failed to open");
}
void SerialClose()
{
    fake::linkCalls.emplace_back("SerialClose");
}
void SerialWrite()
{
    ++fake::serialWrites;
    app.linkGone = fake::linkGoesOnSend ? 1 : 0;
    fake::serialSent.append(app.CommandBuffer.data(), static_cast<std::size_t>(app.commandLength));
}
void SerialRead()
{
    ++fake::serialReads;
    fake::FillResponse(ReadFailureText);
}
bool TcpConnect(const char*, const char*)
{
    fake::linkCalls.emplace_back("TcpConnect");
    return fake::Outcome("Unable to connect to server");
}
bool TcpDisconnect()
{
    fake::linkCalls.emplace_back("TcpDisconnect");
    return fake::Outcome("Shutdown failed");
}
void TcpSend()
{
    ++fake::tcpSends;
    app.linkGone = fake::linkGoesOnSend ? 1 : 0;
    const char* begin = app.CommandBuffer.data();
    fake::tcpSent.append(begin, std::find(begin, begin + CommandBufferSize, 0));
}
void TcpReceive()
{
    ++fake::tcpReceives;
    fake::FillResponse(EthTimeoutText);
}
