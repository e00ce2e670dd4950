#pragma once

#include <cstdint>

namespace liba {

// Seconds elapsed since a start, from the millisecond tick count.
class Stopwatch {
public:
    Stopwatch();
    // Returns the new start tick.
    std::uint32_t restart();
    // Right across a wrap of the tick count; intervals over 49.7 days wrap.
    double elapsed() const;

private:
    std::uint32_t m_start;
};

// Seconds since the program started.
double program_time();

}
