#pragma once

#include <cstdint>

namespace audio {

// Little-endian 16-bit samples as they stand in PCM chunks and codec blocks.
inline std::int16_t read_sample(const std::uint8_t* bytes)
{
    return static_cast<std::int16_t>(bytes[0] | bytes[1] << 8);
}

inline void write_sample(std::uint8_t* bytes, std::int32_t sample)
{
    auto bits = static_cast<std::uint16_t>(sample);
    bytes[0] = static_cast<std::uint8_t>(bits);
    bytes[1] = static_cast<std::uint8_t>(bits >> 8);
}

}
