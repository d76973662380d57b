// Fuzzes the answer rule over any 100 bytes in the ResponseBuffer: the shown answer never holds
// a line feed or a zero byte and never reaches past the buffer.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "panels/transaction.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    app.ResponseBuffer.fill(0);
    std::memcpy(app.ResponseBuffer.data(), data, size < 100 ? size : 100);
    std::string answer = AnswerText();
    if (app.ResponseBuffer[0] == 0) {
        if (answer != NoResponseText)
            std::abort();
        return 0;
    }
    if (answer.size() > ResponseBufferSize || answer.find('\n') != std::string::npos ||
        answer.find('\0') != std::string::npos)
        std::abort();
    if (std::memcmp(answer.data(), app.ResponseBuffer.data(), answer.size()) != 0)
        std::abort();
    return 0;
}
