#include "audio/filters/StretchSegments.h"

#include "audio/SampleFormat.h"

namespace audio {

namespace {

// One channel's samples, `channels` samples apart.
template<typename Format>
struct Line {
    const std::uint8_t* in;
    std::uint8_t* out;
    std::int32_t frames;
    std::int32_t step;

    std::int32_t at(std::int32_t frame) const { return Format::load(in + std::int64_t(frame) * step); }

    void put(std::int32_t frame, std::int32_t value) const
    {
        Format::store(out + std::int64_t(frame) * step, value);
    }
};

// value_a fading into value_b over the segment: weight (length - i) on a.
std::int32_t fade(std::int32_t a, std::int32_t b, std::int32_t i, std::int32_t length)
{
    return static_cast<std::int32_t>((std::int64_t { a } * (length - i) + std::int64_t { b } * i) / length);
}

template<typename Format>
void copy_segment(const Line<Format>& line, std::int32_t start, std::int32_t length, std::int32_t to)
{
    for (std::int32_t i = 0; i < length; ++i)
        line.put(to + i, line.at(start + i));
}

// From the audio that follows the segment into the segment's own end.
template<typename Format>
void fade_from_next(const Line<Format>& line, std::int32_t start, std::int32_t length, std::int32_t to)
{
    for (std::int32_t i = 0; i < length; ++i) {
        std::int32_t segment = line.at(start + i);
        bool has_next = start + length + i < line.frames - 1;
        line.put(to + i, has_next ? fade(line.at(start + length + i), segment, i, length) : segment);
    }
}

// From the segment into the audio that precedes it.
template<typename Format>
void fade_to_previous(const Line<Format>& line, std::int32_t start, std::int32_t length, std::int32_t to)
{
    for (std::int32_t i = 0; i < length; ++i) {
        std::int32_t segment = line.at(start + i);
        bool has_previous = start + i - length >= 0;
        line.put(to + i, has_previous ? fade(segment, line.at(start + i - length), i, length) : segment);
    }
}

template<typename Format>
Line<Format> line_of(const std::uint8_t* in, std::int32_t frames, std::int32_t channels, std::uint8_t* out)
{
    return { in, out, frames, channels * Format::bytes };
}

template<typename Format>
void stretch_double(const std::uint8_t* in, std::int32_t frames, std::int32_t channels, std::int32_t start,
    std::int32_t length, std::uint8_t* out)
{
    auto line = line_of<Format>(in, frames, channels, out);
    copy_segment(line, start, length, 0);
    fade_from_next(line, start, length, length);
}

template<typename Format>
void stretch_triple(const std::uint8_t* in, std::int32_t frames, std::int32_t channels, std::int32_t start,
    std::int32_t length, std::uint8_t* out)
{
    auto line = line_of<Format>(in, frames, channels, out);
    fade_to_previous(line, start, length, 0);
    copy_segment(line, start, length, length);
    fade_from_next(line, start, length, 2 * length);
}

}

void stretch_double_16(const std::uint8_t* in, std::int32_t frames, std::int32_t channels, std::int32_t start,
    std::int32_t length, std::uint8_t* out)
{
    stretch_double<Samples16>(in, frames, channels, start, length, out);
}

void stretch_double_8(const std::uint8_t* in, std::int32_t frames, std::int32_t channels, std::int32_t start,
    std::int32_t length, std::uint8_t* out)
{
    stretch_double<Samples8>(in, frames, channels, start, length, out);
}

void stretch_triple_16(const std::uint8_t* in, std::int32_t frames, std::int32_t channels, std::int32_t start,
    std::int32_t length, std::uint8_t* out)
{
    stretch_triple<Samples16>(in, frames, channels, start, length, out);
}

void stretch_triple_8(const std::uint8_t* in, std::int32_t frames, std::int32_t channels, std::int32_t start,
    std::int32_t length, std::uint8_t* out)
{
    stretch_triple<Samples8>(in, frames, channels, start, length, out);
}

}
