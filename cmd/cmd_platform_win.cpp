// tessaly-cmd's side of the platform seam (core/platform.h): a "Status" box and a link's note are
// lines on standard error, the controls of a click hold what its argument says, the output box is
// standard output (with --log), and there is no dialog for a status text. Each thread's click is
// its own (`clicking`); a line names its instrument when the run has several.
#include <algorithm>
#include <cstring>
#include <string>

#include "cmd/cmd_output_win.h"
#include "cmd/console_state.h"
#include "core/platform.h"

// tessaly-cmd has no dialog whose status box could show the text.
void SetStatusText(const char*) {}

void LinkNote(const char* line)
{
    WriteLine(stderr, clicking.messagePrefix + line);
}

// The click that showed it has failed: the verdict reads the flag.
void StatusBox(const char* text)
{
    clicking.statusBoxShown = true;
    clicking.statusText = text;
    WriteLine(stderr, clicking.messagePrefix + text);
}

void ReadEntryBox(int controlId)
{
    const ScriptStep* step = clicking.clickedStep;
    std::string text;
    if (step != nullptr)
        text = controlId == step->row->secondEntryId ? step->secondEntry : step->entry;
    // As the window's box is read: at most 255 characters and the terminator.
    std::size_t length = std::min<std::size_t>(text.size(), TextBufferSize - 1);
    std::memcpy(app.EntryText.data(), text.data(), length);
    app.EntryText[length] = 0;
}

bool IsOptionChecked(int controlId)
{
    return clicking.clickedStep != nullptr && controlId == clicking.clickedStep->optionId;
}

int ListSelection(int)
{
    return clicking.clickedStep != nullptr ? clicking.clickedStep->listPosition : -1;
}

void ShowOutputLog(Panel panel, std::size_t newEntryLength)
{
    clicking.newestEntry = LogOf(panel).substr(0, newEntryLength);
    if (console.printLog)
        Write(stdout, clicking.newestEntry);
}
