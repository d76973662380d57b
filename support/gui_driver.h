// Drives the real program from another process like an operator would: starts it, finds its
// windows and controls, types into boxes, clicks buttons and menu items by posting messages, waits
// until the program has handled them, answers its "Status" boxes and takes screenshots.
#pragma once

#include <windows.h>
#include <winsock2.h>

#include <string>
#include <vector>

struct Program {
    std::string path; // the program file, a Windows path
    PROCESS_INFORMATION process{};
    HWND main = nullptr;
    HWND stepsBox = nullptr;
    unsigned marker = 1000; // last value posted to mark "everything before this is handled"
};

// How a posted action ended: handled to the end, or stopped inside a "Status" box; NoMenuItem when
// the menu has no such item, so nothing was chosen.
enum class Settled { Done, StatusBox, TimedOut, NoMenuItem };

// Starts the program named by TESSALY_PROGRAM and waits until its message loop runs; with a show
// command, the program is asked to show its window that way.
bool StartProgram(Program& program, int showCommand = -1);
// The same for the program at path (a Windows path), with a command line of arguments: any
// program whose main window is of the program's class and holds the steps box.
bool StartProgramAt(Program& program, const std::string& path, const std::string& arguments,
                    int showCommand = -1);
// Posts WM_CLOSE and waits for the process to end; its exit code, or STILL_ACTIVE after the
// limit (the process is then terminated).
DWORD CloseProgram(Program& program, DWORD limitMs = 15000);
// Ends the program whatever its state (answers boxes, closes, terminates as a last resort).
void StopProgram(Program& program);
bool ProgramRunning(const Program& program);

// Waits until the program has handled every message posted so far, or shows a "Status" box.
Settled WaitSettled(Program& program, DWORD limitMs = 20000);
Settled PostAndWait(Program& program, HWND target, UINT message, WPARAM wParam = 0,
                    LPARAM lParam = 0, DWORD limitMs = 20000);
Settled Click(Program& program, HWND control, DWORD limitMs = 20000);
// Chooses File > item or About > item as the operator would find it: the identifier is looked up
// by the two captions in the program's menu as its file holds it, and never taken from the caller.
// Another process cannot read the window's menu under Wine.
Settled ChooseMenu(Program& program, const char* popup, const char* item, DWORD limitMs = 20000);
// The caption of the menu item at position.
std::string MenuCaption(HMENU menu, int position);
// View > "<name> Tab", the item that shows the panel of that name, looked up by its caption among
// the View items that start-up makes from the panel registry (ViewMenuItems).
Settled ChooseView(Program& program, const std::string& panelName, DWORD limitMs = 20000);

// The program's visible "Status" box, or nullptr.
HWND FindStatusBox(const Program& program);
std::string StatusBoxText(HWND box);
// Presses the box's OK button and waits for the program to settle again.
Settled AnswerStatusBox(Program& program, HWND box);
// Answers "Status" boxes until none comes; the texts in order.
std::vector<std::string> AnswerAllStatusBoxes(Program& program, int most = 5);

// A visible top-level dialog of the program with this title, or nullptr.
HWND FindProgramDialog(const Program& program, const char* title);
// How many top-level dialogs with this title the program has, visible or not.
int CountProgramDialogs(const Program& program, const char* title);

// Waits for a visible top-level window of any process with this class and title (the bootloader
// tool that the program starts, for one); nullptr after the limit.
HWND WaitForWindow(const char* className, const char* title, DWORD limitMs);
// Closes a top-level window of another process with WM_CLOSE and waits for that process to end;
// terminates it after the limit. False when it had to be terminated or could not be watched.
bool CloseWindowProcess(HWND window, DWORD limitMs = 10000);

HWND Control(const Program& program, int id);
HWND DialogControl(HWND dialog, int id);
std::string TextOf(HWND window);
bool SetTextOf(HWND window, const std::string& text);
std::string ClassOf(HWND window);
// Text of a list box (LB_GETTEXT) or combo box (CB_GETLBTEXT) entry.
std::string ListText(HWND list, UINT message, int position);
// Position and size of a child window in its parent's client area.
struct Place {
    int x, y, width, height;
};
Place PlaceOf(HWND child);
// The children of a window in their order among its children (creation order).
std::vector<HWND> ChildrenOf(HWND parent);
// The focus window of the program's thread.
HWND FocusOf(const Program& program);

// The colour on the screen of a point of the window's client area.
COLORREF ScreenPixel(HWND window, int x, int y);

// Saves a BMP of the window's screen area in TESSALY_SCREENSHOT_DIR (nothing when unset).
void SaveScreenshot(HWND window, const std::string& name);

// Posted key press and release to the window.
Settled PressKey(Program& program, HWND target, WPARAM key);
