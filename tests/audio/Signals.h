#pragma once

#include "audio/PCMData.h"

#include <cmath>
#include <complex>
#include <cstdint>
#include <numbers>
#include <vector>

// Test signals as plain sample vectors, and the chunks that carry them.
namespace test {

// Interleaved signed samples; 8-bit chunks store them around 128.
using Samples = std::vector<std::int32_t>;

struct Format {
    int channels = 1;
    int bits = 16;
    int rate = 44100;
};

inline Samples sine(double hertz, double rate, std::int32_t frames, double amplitude, double phase = 0)
{
    Samples out(static_cast<std::size_t>(frames));
    for (std::int32_t i = 0; i < frames; ++i)
        out[i] = static_cast<std::int32_t>(
            std::lround(amplitude * std::sin(2 * std::numbers::pi * hertz * i / rate + phase)));
    return out;
}

inline Samples interleave(const Samples& left, const Samples& right)
{
    Samples out;
    for (std::size_t i = 0; i < left.size(); ++i) {
        out.push_back(left[i]);
        out.push_back(right[i]);
    }
    return out;
}

inline Samples channel_of(const Samples& samples, int channels, int channel)
{
    Samples out;
    for (std::size_t i = channel; i < samples.size(); i += channels)
        out.push_back(samples[i]);
    return out;
}

inline audio::PCMData chunk_of(const Samples& samples, int channels, int bits, int rate)
{
    int width = bits / 8;
    liba::SharedBuffer buffer(samples.size() * width);
    std::uint8_t* p = buffer.make_unique();
    for (std::size_t i = 0; i < samples.size(); ++i) {
        std::int32_t v = bits == 8 ? samples[i] + 128 : samples[i];
        for (int b = 0; b < width; ++b)
            p[i * width + b] = static_cast<std::uint8_t>(v >> (8 * b));
    }
    return audio::PCMData(buffer, channels, bits, rate);
}

inline Samples samples_of(const audio::PCMData& chunk)
{
    Samples out;
    const std::uint8_t* p = chunk.bytes();
    if (chunk.bits_per_sample == 8) {
        for (std::size_t i = 0; i < chunk.size(); ++i)
            out.push_back(std::int32_t { p[i] } - 128);
    } else {
        for (std::size_t i = 0; i + 1 < chunk.size(); i += 2)
            out.push_back(static_cast<std::int16_t>(p[i] | (p[i + 1] << 8)));
    }
    return out;
}

inline Samples slice(const Samples& samples, std::size_t from, std::size_t count)
{
    from = std::min(from, samples.size());
    return Samples(samples.begin() + from, samples.begin() + std::min(samples.size(), from + count));
}

inline double rms(const Samples& samples)
{
    double sum = 0;
    for (auto s : samples)
        sum += double(s) * s;
    return samples.empty() ? 0 : std::sqrt(sum / samples.size());
}

// The frequency of the strongest bin of a power-of-two FFT over the first
// samples (as many as make a power of two).
inline double peak_frequency(const Samples& samples, double rate)
{
    std::size_t n = 1;
    while (n * 2 <= samples.size())
        n *= 2;
    std::vector<std::complex<double>> a(samples.begin(), samples.begin() + n);
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(a[i], a[j]);
    }
    for (std::size_t len = 2; len <= n; len <<= 1) {
        auto step = std::polar(1.0, -2 * std::numbers::pi / double(len));
        for (std::size_t i = 0; i < n; i += len) {
            std::complex<double> w = 1;
            for (std::size_t k = 0; k < len / 2; ++k, w *= step) {
                auto u = a[i + k];
                auto v = a[i + k + len / 2] * w;
                a[i + k] = u + v;
                a[i + k + len / 2] = u - v;
            }
        }
    }
    std::size_t best = 1;
    for (std::size_t k = 1; k < n / 2; ++k) {
        if (std::abs(a[k]) > std::abs(a[best]))
            best = k;
    }
    return double(best) * rate / double(n);
}

}
