#pragma once

#include <cstddef>
#include <functional>

// Counts the heap allocations that the work makes on the calling thread. The
// test binary replaces the global operator new, so `ours` counts every C++
// allocation; under a sanitizer its malloc hook also counts the C libraries'
// (`all`), which without one equals `ours`.
namespace test {

struct Allocations {
    std::size_t ours = 0;
    std::size_t all = 0;
};

Allocations allocations_in(const std::function<void()>& work);

// Whether `all` sees the C libraries' allocations too.
bool counts_c_allocations();

}
