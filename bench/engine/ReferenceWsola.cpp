#include "bench/engine/ReferenceWsola.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace bench::engine {

std::vector<std::int16_t> reference_wsola(const std::vector<std::int16_t>& in, int channels, double factor,
    int window, int tolerance)
{
    const std::size_t ch = std::size_t(std::max(channels, 1));
    const std::size_t n = std::size_t(window);
    const std::size_t frames = in.size() / ch;
    const std::size_t out_hop = n / 2;
    const double in_hop = double(out_hop) / factor;
    if (frames < n + out_hop)
        return {};
    std::vector<float> mono(frames);
    for (std::size_t f = 0; f < frames; ++f) {
        float sum = 0;
        for (std::size_t c = 0; c < ch; ++c)
            sum += in[f * ch + c];
        mono[f] = sum;
    }
    std::vector<float> hann(n);
    for (std::size_t i = 0; i < n; ++i)
        hann[i] = float(0.5 - 0.5 * std::cos(2 * std::numbers::pi * double(i) / double(n)));
    const std::size_t hops = std::size_t(double(frames - n - out_hop) / in_hop);
    std::vector<float> mixed((hops * out_hop + n) * ch, 0.0f);
    std::size_t previous = 0;
    for (std::size_t k = 0; k < hops; ++k) {
        std::size_t chosen = 0;
        if (k > 0) {
            // The audio that would follow the previous window in the input.
            const float* natural = mono.data() + previous + out_hop;
            const std::ptrdiff_t target = std::ptrdiff_t(double(k) * in_hop);
            const std::ptrdiff_t lowest = std::max<std::ptrdiff_t>(0, target - tolerance);
            const std::ptrdiff_t highest = std::min<std::ptrdiff_t>(std::ptrdiff_t(frames - n - out_hop), target + tolerance);
            float best = -INFINITY;
            for (std::ptrdiff_t p = lowest; p <= highest; ++p) {
                const float* candidate = mono.data() + p;
                // Eight partial sums, so that the compiler may use vectors.
                float partial[8] = {};
                std::size_t i = 0;
                for (; i + 8 <= n; i += 8)
                    for (std::size_t j = 0; j < 8; ++j)
                        partial[j] += candidate[i + j] * natural[i + j];
                float sum = 0;
                for (; i < n; ++i)
                    sum += candidate[i] * natural[i];
                for (float part : partial)
                    sum += part;
                if (sum > best) {
                    best = sum;
                    chosen = std::size_t(p);
                }
            }
        }
        float* out = mixed.data() + k * out_hop * ch;
        const std::int16_t* from = in.data() + chosen * ch;
        for (std::size_t i = 0; i < n; ++i)
            for (std::size_t c = 0; c < ch; ++c)
                out[i * ch + c] += hann[i] * float(from[i * ch + c]);
        previous = chosen;
    }
    std::vector<std::int16_t> result(mixed.size());
    for (std::size_t i = 0; i < mixed.size(); ++i)
        result[i] = std::int16_t(std::clamp(std::lround(mixed[i]), -32768L, 32767L));
    return result;
}

}
