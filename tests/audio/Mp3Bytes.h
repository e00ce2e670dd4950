#pragma once

#include "audio/readers/MpegHeader.h"

#include <cstdint>
#include <string>

// Byte-level helpers for making and damaging MPEG audio streams in tests.
namespace test {

constexpr std::uint32_t mpeg1_128k = 0xFFFB9064; // Layer III, 44100 Hz, joint stereo, 417 bytes
constexpr std::uint32_t mpeg1_128k_mono = 0xFFFB90C4;
constexpr std::uint32_t mpeg1_128k_48k = 0xFFFB9464; // 48000 Hz, 384 bytes
constexpr std::uint32_t mpeg25_16k_mono = 0xFFE328C0; // MPEG-2.5 Layer III, 8000 Hz, 16 kbit/s, 144 bytes

inline std::string header_bytes(std::uint32_t word)
{
    return { char(word >> 24), char(word >> 16), char(word >> 8), char(word) };
}

// One frame: the header, then body bytes of the given value (never 0xFF, so
// no false sync hides in them).
inline std::string mpeg_frame(std::uint32_t word, std::uint8_t body = 0x11)
{
    std::string head = header_bytes(word);
    audio::MpegHeader header;
    audio::parse_mpeg_header(reinterpret_cast<const std::uint8_t*>(head.data()), header);
    return head + std::string(std::size_t(header.frame_length) - 4, char(body));
}

// count frames whose bodies count up from first, so they can be told apart.
inline std::string mpeg_frames(std::uint32_t word, int count, std::uint8_t first = 1)
{
    std::string out;
    for (int i = 0; i < count; ++i)
        out += mpeg_frame(word, std::uint8_t(1 + (first + i - 1) % 250));
    return out;
}

}
