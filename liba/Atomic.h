#pragma once

#include <atomic>
#include <cstdint>

namespace liba {

// Both return the new value.
inline std::int32_t atomic_increment(std::atomic<std::int32_t>& counter)
{
    return counter.fetch_add(1, std::memory_order_acq_rel) + 1;
}

inline std::int32_t atomic_decrement(std::atomic<std::int32_t>& counter)
{
    return counter.fetch_sub(1, std::memory_order_acq_rel) - 1;
}

}
