#pragma once

#include <cstdint>

namespace audio {

// Repeats one segment of one channel with linear cross-fades, so that a
// stretched signal runs on smoothly: the segment is the `length` frames from
// input frame `start`; `in` points at the channel's sample in frame 0 of an
// input of `frames` frames, `out` at its sample in the first output frame to
// write, and both step by `channels` samples. 16-bit samples are signed
// little-endian; 8-bit ones unsigned around 128.
//
// Twice: the segment, then a copy that fades from the audio after the
// segment into the segment's own end.
void stretch_double_16(const std::uint8_t* in, std::int32_t frames, std::int32_t channels, std::int32_t start,
    std::int32_t length, std::uint8_t* out);
void stretch_double_8(const std::uint8_t* in, std::int32_t frames, std::int32_t channels, std::int32_t start,
    std::int32_t length, std::uint8_t* out);

// Three times: a copy that fades from the segment into the audio before it,
// the segment, then the second copy of stretch_double.
void stretch_triple_16(const std::uint8_t* in, std::int32_t frames, std::int32_t channels, std::int32_t start,
    std::int32_t length, std::uint8_t* out);
void stretch_triple_8(const std::uint8_t* in, std::int32_t frames, std::int32_t channels, std::int32_t start,
    std::int32_t length, std::uint8_t* out);

}
