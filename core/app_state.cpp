// The AppState record, one per thread, and the baud-rate tables that the dialog, the serial link
// and the Communication panel share.
#include "core/app_state.h"

thread_local AppState app;

const std::array<const char*, BaudChoiceCount> BaudLabels = {
    "300", "600", "1200", "1800", "2400", "4800", "9600", "19200", "38400", "57600", "115200"};

const std::array<std::uint32_t, BaudChoiceCount> BaudRates = {
    300, 600, 1200, 1800, 2400, 4800, 9600, 19200, 38400, 57600, 115200};

void ClearTextBuffers()
{
    app.EntryText.fill(0);
    app.PortText.fill(0);
}

void ClearCommandBuffers()
{
    app.CommandBuffer.fill(0);
    app.ResponseBuffer.fill(0);
}
