#include "Reference.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mad.h>
#include <memory>
#include <numbers>

namespace reference {

namespace {

constexpr double pi = std::numbers::pi;

double synthesis_cos(int n, int k)
{
    return std::cos((16 + n % 64) * (2 * k + 1) * pi / 64);
}

std::array<double, 512> measure_window()
{
    // Impulse responses of each subband: sample n of subband k is D[n] x cos((16 + n mod 64)(2k + 1) pi /
    // 64).
    std::vector<std::vector<double>> responses;
    for (int k = 0; k < 32; ++k) {
        std::vector<Slot> slots(36, Slot {});
        slots[0][k] = 1.0;
        responses.push_back(Synthesis().run(slots));
    }
    std::array<double, 512> d {};
    for (int n = 0; n < 512; ++n) {
        double num = 0, den = 0;
        for (int k = 0; k < 32; ++k) {
            num += responses[k][n] * synthesis_cos(n, k);
            den += synthesis_cos(n, k) * synthesis_cos(n, k);
        }
        d[n] = num / den;
    }
    // Where n mod 64 is 16 the synthesis never uses D (its cosine is 0 for every subband), but the
    // analysis does: the window is odd about 256 there, as everywhere but at multiples of 64.
    for (int n = 16; n < 512; n += 64)
        d[n] = -d[512 - n];
    return d;
}

}

const std::array<double, 512>& synthesis_window()
{
    static const std::array<double, 512> d = measure_window();
    return d;
}

Slot analyse_slot(const double* x)
{
    const auto& d = synthesis_window();
    double y[64] = {};
    for (int k = 0; k < 64; ++k) {
        for (int j = 0; j < 8; ++j)
            y[k] += d[k + 64 * j] / 32 * x[511 - k - 64 * j];
    }
    Slot s {};
    for (int i = 0; i < 32; ++i) {
        for (int k = 0; k < 64; ++k)
            s[i] += std::cos((2 * i + 1) * (k - 16) * pi / 64) * y[k];
    }
    return s;
}

namespace {

constexpr double alias_c[8] = { -0.6, -0.535, -0.33, -0.185, -0.095, -0.041, -0.0142, -0.0037 };

double cs(int i)
{
    return 1 / std::sqrt(1 + alias_c[i] * alias_c[i]);
}

double ca(int i)
{
    return alias_c[i] / std::sqrt(1 + alias_c[i] * alias_c[i]);
}

double window(int n)
{
    return std::sin(pi / 36 * (n + 0.5));
}

}

void mdct(const double* previous, const double* current, double* lines)
{
    for (int i = 0; i < 18; ++i) {
        double sum = 0;
        for (int k = 0; k < 36; ++k) {
            const double z = k < 18 ? previous[k] : current[k - 18];
            sum += window(k) * z * std::cos(pi / 72 * (2 * k + 19) * (2 * i + 1));
        }
        lines[i] = sum / 9;
    }
}

void reduce_aliasing(double* lines)
{
    for (int band = 1; band < 32; ++band) {
        for (int i = 0; i < 8; ++i) {
            double& low = lines[18 * band - 1 - i];
            double& high = lines[18 * band + i];
            const double a = low, b = high;
            low = a * cs(i) + b * ca(i);
            high = b * cs(i) - a * ca(i);
        }
    }
}

std::array<Slot, 18> InverseTransform::granule(const double* in)
{
    double lines[576];
    std::copy_n(in, 576, lines);
    for (int band = 1; band < 32; ++band) {
        for (int i = 0; i < 8; ++i) {
            double& low = lines[18 * band - 1 - i];
            double& high = lines[18 * band + i];
            const double a = low, b = high;
            low = a * cs(i) - b * ca(i);
            high = b * cs(i) + a * ca(i);
        }
    }
    std::array<Slot, 18> out {};
    for (int band = 0; band < 32; ++band) {
        double y[36];
        for (int n = 0; n < 36; ++n) {
            double sum = 0;
            for (int k = 0; k < 18; ++k)
                sum += lines[18 * band + k] * std::cos(pi / 72 * (2 * n + 19) * (2 * k + 1));
            y[n] = sum * window(n);
        }
        for (int n = 0; n < 18; ++n) {
            out[n][band] = y[n] + m_overlap[band][n];
            m_overlap[band][n] = y[n + 18];
        }
    }
    return out;
}

struct Synthesis::Impl {
    mad_synth synth;
    mad_frame frame;
};

Synthesis::Synthesis()
    : m_impl(new Impl)
{
    mad_synth_init(&m_impl->synth);
    mad_frame_init(&m_impl->frame);
    m_impl->frame.header.layer = MAD_LAYER_III;
    m_impl->frame.header.mode = MAD_MODE_SINGLE_CHANNEL;
    m_impl->frame.header.samplerate = 44100;
}

Synthesis::~Synthesis()
{
    mad_frame_finish(&m_impl->frame);
    mad_synth_finish(&m_impl->synth);
    delete m_impl;
}

std::vector<double> Synthesis::run(const std::vector<Slot>& slots)
{
    std::vector<double> out;
    // Whole frames of 36 slots; a short tail is padded with silence.
    for (size_t first = 0; first < slots.size(); first += 36) {
        std::memset(m_impl->frame.sbsample, 0, sizeof m_impl->frame.sbsample);
        for (size_t s = first; s < std::min(slots.size(), first + 36); ++s) {
            for (int sb = 0; sb < 32; ++sb)
                m_impl->frame.sbsample[0][s - first][sb] = mad_f_tofixed(slots[s][sb]);
        }
        mad_synth_frame(&m_impl->synth, &m_impl->frame);
        for (int i = 0; i < m_impl->synth.pcm.length; ++i)
            out.push_back(double(m_impl->synth.pcm.samples[0][i]) / MAD_F_ONE);
    }
    return out;
}

double max_error(const std::vector<double>& a, const std::vector<double>& b, int delay, int from, int to)
{
    double worst = 0;
    for (int i = from; i < to; ++i)
        worst = std::max(worst, std::abs(a[i] - b[i + delay]));
    return worst;
}

}
