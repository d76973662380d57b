// Fuzzes the reading of discovery replies over any datagram up to 65,507 bytes, twice in a row
// (a long reply, then a shorter one) as a run receives them: an entry never shows more payload
// bytes than the datagram had.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "link/discovery.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 65507)
        size = 65507;
    static const unsigned char address[4] = {192, 0, 2, 11};
    const char* payload = reinterpret_cast<const char*>(data);
    std::string longer = DiscoveryEntry(address, payload, size);
    std::string shorter = DiscoveryEntry(address, payload, size / 2);
    // The fixed text of an entry is 74 bytes besides the address and the two fields.
    if (longer.size() > size + 100 || shorter.size() > size / 2 + 100)
        std::abort();
    if (longer.find("\r\n IP Address: 192.0.2.11") != 0)
        std::abort();
    return 0;
}
