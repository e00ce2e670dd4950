#pragma once

#include <cstdint>
#include <string_view>

namespace platform {

// Bytes of physical memory the system can still hand out without swapping
// (MemAvailable). When that cannot be read the answer is "plenty", so that a
// missing /proc never stops a recording.
uint64_t available_physical_memory();

// MemAvailable from the text of /proc/meminfo, in bytes: "plenty" (the largest value)
// when it has none, and at most that when the count is too large.
uint64_t parse_meminfo(std::string_view text);

using MemoryProbe = uint64_t (*)();
// Replaces the probe, for tests; null restores the system's.
void set_memory_probe(MemoryProbe);

}
