// The one record that holds everything the program remembers while it runs. Every part of the
// program reads and writes its fields directly; there are no other long-lived objects.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/platform_types.h"
#include "core/panel_list.h"

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
    std::array<std::string, PanelCount> OutputLog;
    std::string PriorLog; // copy of a panel's log taken at the start of each transaction
    std::string NumberText;
    std::string DiscoveryText;
    std::vector<std::string> DiscoveryLines; // one line per reply of the latest discovery
    // One handle per child control, per panel, in the order the panel's table creates them.
    std::array<std::vector<HWND>, PanelCount> controls;
    // Set while a command or a dialog action is being handled; further clicks are ignored.
    bool busy = false;
};

extern AppState app;

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
