// Reads the input as a /proc/<pid>/stat line and as the stored value of a waiting timed
// start: the value never names a process that may not be signalled (0, 1, negative, beyond
// a pid), and a waiter read back is the one written.
#include "platform/core/posix/WaiterRecord.h"

#include <cstdlib>
#include <string_view>
#include <vector>

using namespace platform::detail;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    (void)stat_start_time(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::vector<std::uint8_t> stored(data, data + size);
    const auto waiter = parse_waiter(stored);
    if (!waiter)
        return 0;
    if (waiter->pid <= 1)
        std::abort();
    const auto again = parse_waiter(waiter_data(waiter));
    if (!again || again->pid != waiter->pid || again->start != waiter->start)
        std::abort();
    return 0;
}
