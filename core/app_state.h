// The one record that holds everything the program remembers while it runs. Every part of the
// program reads and writes its fields directly; there are no other long-lived objects. Each
// thread has its own record: the window program has one thread, tessaly-cmd one worker thread
// per instrument, each with its own link.
#pragma once

#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "core/panel_list.h"
#include "core/platform_types.h"

constexpr int CommandBufferSize = 100;
constexpr int ResponseBufferSize = 100;
constexpr int TextBufferSize = 256;
constexpr int BaudChoiceCount = 11;

struct AppState {
    HWND mainWindow = nullptr;
    HWND configDialog = nullptr;
    HWND aboutDialog = nullptr;
    HWND StepsBox = nullptr;
    // The fonts the controls are drawn with: one for every panel's controls, one for the steps
    // box. Deleted once the windows that use them are gone.
    HFONT panelFont = nullptr;
    HFONT stepsFont = nullptr;
    SOCKET tcpSocket = INVALID_SOCKET;
    HANDLE commHandle = nullptr;
    std::int32_t connected = 0;
    std::int32_t linkIsTcp = 0;
    DCB LineSettings{};
    DWORD transferCount = 0;
    std::array<char, TextBufferSize> EntryText{};
    std::array<char, TextBufferSize> PortText{};
    std::array<char, CommandBufferSize> CommandBuffer{};
    std::int32_t commandLength = 0;
    std::array<char, ResponseBufferSize> ResponseBuffer{};
    // Bytes the instrument sent after the line feed of the latest TCP answer, taken from the
    // socket with it: the next receive starts with them, the next command drops them.
    std::string tcpHeld;
    std::array<std::string, PanelCount> OutputLog;
    std::string PriorLog; // copy of a panel's log taken at the start of each transaction
    std::string NumberText;
    std::string DiscoveryText;
    std::vector<std::string> DiscoveryLines; // one line per reply of the latest discovery
    // Every reply of the latest discovery, its sender address and bytes, so that one that comes
    // twice is listed once.
    std::set<std::string> DiscoveryReplies;
    // One handle per child control, per panel, in the order the panel's table creates them.
    std::array<std::vector<HWND>, PanelCount> controls;
    // Set while a command or a dialog action is being handled; further clicks are ignored.
    bool busy = false;
    // Outcomes that a lower floor leaves for the floor above, instead of calling up into it.
    // Set by a link operation that found its link gone (a failed TCP send, a serial port that has
    // gone away); the link rules tear the link down once the operation has returned.
    std::int32_t linkGone = 0;
    // Set by a TCP receive that found the connection closed by the instrument. The window program
    // leaves such a link to the operator's Close; tessaly-cmd lets it go and, with --reconnect,
    // opens it again.
    std::int32_t peerClosed = 0;
    // Why the latest link step or discovery failed, as its "Status" box tells it; emptied before
    // each. An open leaves it for its caller to show.
    std::string linkFailure;
    // Set when the latest click was refused before anything was sent; the dispatcher empties it.
    bool refused = false;
    // While set, a click builds its line and log entry and refuses what it would refuse, but
    // nothing goes out and no answer is read (tessaly-cmd checks a whole run this way first).
    bool linkLeftOut = false;
};

// Thread-local, so that each of tessaly-cmd's instrument workers works its own link with the same
// operations, which take no arguments, that the window program uses on its one thread.
extern thread_local AppState app;

extern const std::array<const char*, BaudChoiceCount> BaudLabels;
// The choice that the dialog's Baud Rate box and the Communication panel's baud list start
// with: "9600".
constexpr int DefaultBaudIndex = 6;
extern const std::array<std::uint32_t, BaudChoiceCount> BaudRates;

// Zeroes all 256 bytes of EntryText and of PortText.
void ClearTextBuffers();

// Zeroes both 100-byte buffers of the command transaction.
void ClearCommandBuffers();

inline std::string& LogOf(Panel panel)
{
    return app.OutputLog[static_cast<int>(panel)];
}
