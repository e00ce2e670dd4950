#include "mp3enc/Resampler.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <numbers>

namespace mp3enc {

namespace {

constexpr int32_t max_phases = 320;

int32_t gcd(int32_t a, int32_t b)
{
    while (b != 0) {
        const int32_t r = a % b;
        a = b;
        b = r;
    }
    return a;
}

// Blackman-windowed sinc over [0, length] with the given cutoff (1.0 = Nyquist).
double blackman(double x, int32_t length, double cutoff)
{
    const double pi = std::numbers::pi;
    const double u = std::clamp(x / length, 0.0, 1.0);
    if (std::abs(u - 0.5) < 1e-9)
        return cutoff;
    const double w = 0.42 - 0.5 * std::cos(2 * pi * u) + 0.08 * std::cos(4 * pi * u);
    return w * std::sin(length * (u - 0.5) * pi * cutoff) / (pi * length * (u - 0.5));
}

}

bool Resampler::init(int32_t in_rate, int32_t out_rate)
{
    if (in_rate <= 0 || out_rate <= 0)
        return false;
    m_in_rate = in_rate;
    m_out_rate = out_rate;
    m_ratio = float(double(in_rate) / out_rate);
    m_phases = std::min(max_phases, out_rate / gcd(out_rate, in_rate));
    m_taps = std::abs(m_ratio - std::round(m_ratio)) < 0.0001f ? 32 : 31;
    const double cutoff = std::min(1.0, 1.0 / m_ratio);

    const int32_t filters = 2 * m_phases + 1;
    m_filters.reset(new (std::nothrow) float[filters * (m_taps + 1)]);
    if (!m_filters)
        return false;
    for (int32_t j = 0; j < filters; ++j) {
        const double offset = double(j - m_phases) / (2 * m_phases);
        double coefficients[max_history];
        double sum = 0;
        for (int32_t i = 0; i <= m_taps; ++i) {
            coefficients[i] = blackman(i - offset, m_taps, cutoff);
            sum += coefficients[i];
        }
        for (int32_t i = 0; i <= m_taps; ++i)
            m_filters[j * (m_taps + 1) + i] = float(coefficients[i] / sum);
    }
    std::memset(m_history, 0, sizeof m_history);
    m_offset[0] = m_offset[1] = 0;
    return true;
}

Resampler::Result Resampler::convert(
    int32_t channel, const int16_t* in, int32_t count, int16_t* out, int32_t max_out)
{
    Result result;
    if (!m_filters || channel < 0 || channel > 1 || count <= 0)
        return result;
    int16_t* history = m_history[channel];
    const int32_t saved = m_taps + 1;
    const int32_t half = m_taps / 2;
    // x[m] of this call, m < 0 reaching back into the previous call's last samples.
    auto sample = [&](int32_t m) -> float { return m < 0 ? history[saved + m] : in[m]; };

    // Time is kept exactly, in units of 1 / out_rate input samples, so how the input is cut into
    // calls never changes the output. With an even tap count the filter is centred on the nearest
    // sample, with an odd one between two samples.
    const int64_t out_rate = m_out_rate;
    const int64_t twice_out = 2 * out_rate;
    const int64_t centring = m_taps % 2 ? 0 : out_rate;
    int32_t k = 0;
    int32_t j = 0;
    for (; k < max_out; ++k) {
        const int64_t twice_time = 2 * (int64_t(k) * m_in_rate - m_offset[channel]) + centring;
        const int64_t whole
            = twice_time >= 0 ? twice_time / twice_out : -((-twice_time + twice_out - 1) / twice_out);
        j = int32_t(whole);
        if (j + (m_taps - half) >= count)
            break;
        const int64_t rest = twice_time - whole * twice_out;
        const int32_t p = int32_t((2 * rest * m_phases + out_rate) / twice_out);
        const float* c = &m_filters[p * (m_taps + 1)];
        float sum = 0;
        for (int32_t i = 0; i <= m_taps; ++i)
            sum += sample(j - half + i) * c[i];
        out[k] = int16_t(std::clamp(sum, -32768.0f, 32767.0f));
    }

    const int32_t consumed = std::clamp(j + m_taps - half, 0, count);
    m_offset[channel] += int64_t(consumed) * m_out_rate - int64_t(k) * m_in_rate;

    if (consumed < saved) {
        std::memmove(history, history + consumed, (saved - consumed) * sizeof(int16_t));
        std::memcpy(history + saved - consumed, in, consumed * sizeof(int16_t));
    } else {
        std::memcpy(history, in + consumed - saved, saved * sizeof(int16_t));
    }
    result.consumed = consumed;
    result.produced = k;
    return result;
}

}
