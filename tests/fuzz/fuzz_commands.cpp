// Fuzzes every command row with any entry texts and option choices: whatever the operator types,
// nothing is stored past the CommandBuffer, a refused line sends nothing, a sent line ends in its
// line feed, and every command leaves exactly one new log entry.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "panels/panel_table.h"
#include "panels/transaction.h"
#include "res/resource.h"
#include "tests/unit/fakes.h"

static std::vector<const CommandRow*> AllRows()
{
    std::vector<const CommandRow*> rows;
    for (int id = FirstDispatchId; id <= LastDispatchId; ++id)
        if (const CommandRow* row = CommandFor(id))
            rows.push_back(row);
    return rows;
}

// One entry text of at most 255 characters, without zero bytes, taken from the input.
static std::string TakeText(const std::uint8_t*& data, std::size_t& size)
{
    std::string text;
    while (size > 0 && text.size() < 255) {
        std::uint8_t c = *data++;
        --size;
        if (c == 0)
            break;
        text += static_cast<char>(c);
    }
    return text;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::vector<const CommandRow*> rows = AllRows();
    if (size < 3)
        return 0;
    fake::Reset();
    const CommandRow& row = *rows[data[0] % rows.size()];
    app.linkIsTcp = data[1] & 1;
    std::uint8_t optionBits = data[2];
    data += 3;
    size -= 3;
    for (int i = 0; i < 4; ++i)
        if (row.options[i].id != 0 && (optionBits >> i & 1))
            fake::checkedOptions.insert(row.options[i].id);
    fake::listSelections[IDC_BAUD_RATE_LIST] =
        optionBits % 13 - 1; // includes the impossible -1 and 11
    fake::entryBoxes[row.entryId] = TakeText(data, size);
    fake::entryBoxes[row.secondEntryId] = TakeText(data, size);
    fake::answers.push_back(std::string(reinterpret_cast<const char*>(data), size));

    ClearCommandBuffers();
    RunCommand(row);

    const std::string& log = LogOf(PanelOf(row));
    if (app.commandLength < 0 || app.commandLength > CommandBufferSize)
        std::abort();
    if (row.kind == CommandKind::ClearDisplay) {
        if (!log.empty())
            std::abort();
        return 0;
    }
    bool refused = log.rfind(RefusedPrefix, 0) == 0;
    std::string sent = fake::Sent();
    if (refused && !sent.empty())
        std::abort();
    if (row.kind != CommandKind::FreeLine && row.kind != CommandKind::Read && !refused &&
        (sent.empty() || sent.back() != '\n' || sent.size() > CommandBufferSize))
        std::abort();
    if (log.size() < 5 || log.compare(log.size() - 5, 5, EntrySeparator) != 0)
        std::abort();
    return 0;
}
