#pragma once

#include <cstdint>

namespace platform {

// Bytes of physical memory the system can still hand out without swapping
// (MemAvailable). When that cannot be read the answer is "plenty", so that a
// missing /proc never stops a recording.
uint64_t available_physical_memory();

using MemoryProbe = uint64_t (*)();
// Replaces the probe, for tests; null restores the system's.
void set_memory_probe(MemoryProbe);

}
