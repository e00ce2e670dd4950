// Reads the input as /proc/meminfo: the answer is a whole number of KiB in bytes, or
// "plenty" when there is no count to read.
#include "platform/core/Memory.h"

#include <cstdlib>
#include <limits>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::uint64_t bytes = platform::parse_meminfo(std::string_view(reinterpret_cast<const char*>(data), size));
    if (bytes != std::numeric_limits<std::uint64_t>::max() && bytes % 1024 != 0)
        std::abort();
    return 0;
}
