#pragma once

#include "liba/SharedBuffer.h"

#include <cstdint>

namespace audio {

// Reads and writes one sample of a PCM buffer as a signed value around 0:
// 16-bit samples are signed little-endian, 8-bit ones unsigned around 128.
struct Samples16 {
    static constexpr std::int32_t bytes = 2;

    static std::int32_t load(const std::uint8_t* p) { return static_cast<std::int16_t>(p[0] | (p[1] << 8)); }

    static void store(std::uint8_t* p, std::int32_t value)
    {
        p[0] = static_cast<std::uint8_t>(value);
        p[1] = static_cast<std::uint8_t>(value >> 8);
    }
};

struct Samples8 {
    static constexpr std::int32_t bytes = 1;

    static std::int32_t load(const std::uint8_t* p) { return std::int32_t { *p } - 128; }

    static void store(std::uint8_t* p, std::int32_t value) { *p = static_cast<std::uint8_t>(value + 128); }
};

// The first byte of the buffer's range, detached for writing.
inline std::uint8_t* writable_bytes(liba::SharedBuffer& buffer)
{
    std::uint8_t* block = buffer.make_unique();
    return block + buffer.offset();
}

}
