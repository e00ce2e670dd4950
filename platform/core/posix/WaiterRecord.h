#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <sys/types.h>
#include <vector>

// How the timed start's waiting process is recorded: as a registry string value
// "<pid> <start>", and recognised by its start time in /proc/<pid>/stat.
namespace platform::detail {

struct Waiter {
    pid_t pid = 0; // never 0, 1 or negative: it is signalled
    // Clock ticks after boot: with the id, names one process for good.
    unsigned long long start = 0;
};

// Field 22 of a /proc/<pid>/stat line; 0 when the line has none.
unsigned long long stat_start_time(std::string_view line);

// The registry string value (UTF-16LE with its terminating zero) that records the waiter,
// or none.
std::vector<std::uint8_t> waiter_data(const std::optional<Waiter>& waiter);
// Nothing when the value names no process that may be signalled.
std::optional<Waiter> parse_waiter(const std::vector<std::uint8_t>& data);

}
