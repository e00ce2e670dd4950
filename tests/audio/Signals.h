#pragma once

#include "audio/PCMData.h"

#include <algorithm>
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

// Music-like input for pinned outputs: tones under a moving envelope, quiet
// stretches, bursts clipped at full scale, and noise from a fixed generator,
// so it never changes by chance.
inline Samples golden_input(std::int32_t frames, std::int32_t rate, int channels, int bits)
{
    Samples out;
    std::uint32_t seed = 12345;
    for (std::int32_t i = 0; i < frames; ++i) {
        double t = double(i) / rate;
        double envelope = 0.5 + 0.5 * std::sin(2 * 3.14159265358979 * 0.7 * t);
        if (i / (rate / 4) % 5 == 3)
            envelope *= 0.02;
        for (int c = 0; c < channels; ++c) {
            seed = seed * 1664525u + 1013904223u;
            double noise = (double(seed >> 8) / double(1 << 24) - 0.5) * 3000;
            double v = envelope
                    * (22000 * std::sin(2 * 3.14159265358979 * (220 + 110 * c) * t)
                        + 9000 * std::sin(2 * 3.14159265358979 * 1375 * t))
                + noise;
            if (i / (rate / 3) % 4 == 1)
                v *= 1.8;
            auto s = std::int32_t(std::clamp(v, -32768.0, 32767.0));
            out.push_back(bits == 8 ? s >> 8 : s);
        }
    }
    return out;
}

inline std::uint64_t fnv1a(const Samples& samples)
{
    std::uint64_t h = 14695981039346656037ull;
    for (std::int32_t s : samples) {
        h ^= std::uint32_t(s);
        h *= 1099511628211ull;
    }
    return h;
}

}
