#pragma once

#include <cstdint>
#include <sys/types.h>

// What the system counts of a running process, from /proc.
namespace bench {

struct ProcessCounts {
    double cpu_seconds = 0; // on the CPU, all its threads (those alive now)
    std::uint64_t wakeups = 0; // voluntary context switches: each is a sleep that ended
};

ProcessCounts counts_of(pid_t pid);
// Resident memory in MiB; 0 when the process is gone.
double resident_mib(pid_t pid);

}
