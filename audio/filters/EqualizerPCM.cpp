#include "audio/filters/EqualizerPCM.h"

#include "audio/SampleFormat.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>

namespace audio {

namespace {

constexpr std::int32_t full_scale = 0x8000000;
constexpr std::int32_t limit_threshold = 0x6000000;

std::int32_t saturate_32(std::int64_t value)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// A product taken modulo 2^64, as the fixed-point filter is defined.
std::uint64_t wrapping_product(std::int64_t coefficient, std::int32_t sample)
{
    return static_cast<std::uint64_t>(coefficient) * static_cast<std::uint64_t>(std::int64_t { sample });
}

bool starts_half_wave(std::int32_t previous, std::int32_t current)
{
    return (previous >= 0 && current < 0) || (previous <= 0 && current > 0);
}

// Working samples have full scale at 2^27.
template<typename Format>
constexpr std::int32_t working_shift = 28 - 8 * Format::bytes;

template<typename Format>
void to_working(const std::uint8_t* in, std::int32_t* out, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        out[i] = Format::load(in + i * Format::bytes) * (1 << working_shift<Format>);
}

// Audio the limiter never finished may lie beyond full scale: it saturates
// rather than wrapping round to the opposite sign.
template<typename Format>
void from_working(const std::int32_t* in, std::size_t count, std::uint8_t* out)
{
    constexpr std::int32_t high = (1 << (8 * Format::bytes - 1)) - 1;
    for (std::size_t i = 0; i < count; ++i)
        Format::store(out + i * Format::bytes, std::clamp(in[i] >> working_shift<Format>, -high - 1, high));
}

std::int32_t* samples_of(PCMData& window)
{
    return reinterpret_cast<std::int32_t*>(writable_bytes(window.buffer));
}

}

EqualizerPCM::EqualizerPCM()
{
    reset();
}

void EqualizerPCM::reset()
{
    liba::MutexLock lock(get_lock());
    m_designed = false;
    m_a1 = m_a2 = m_b0 = m_b1 = m_b2 = 0;
    clear_history();
    m_window = PCMData();
}

void EqualizerPCM::restart()
{
    liba::MutexLock lock(get_lock());
    clear_history();
}

// The window's buffer is kept: the next stream primes it again.
void EqualizerPCM::clear_history()
{
    for (int c = 0; c < 2; ++c) {
        m_y1[c] = m_y2[c] = m_x1[c] = m_x2[c] = 0;
        m_limit_position[c] = 0;
    }
    m_delaying = false;
    m_tail = 0;
}

double EqualizerPCM::held_seconds()
{
    liba::MutexLock lock(get_lock());
    if (!m_delaying || m_window.sample_rate <= 0)
        return 0.0;
    std::int32_t held = m_tail > 0 ? m_tail : m_window.sample_rate / 10;
    return double(held) / m_window.sample_rate;
}

void EqualizerPCM::set_frequency(double hertz)
{
    liba::MutexLock lock(get_lock());
    m_frequency = hertz;
    m_designed = false;
}

void EqualizerPCM::set_bandwidth(double octaves)
{
    liba::MutexLock lock(get_lock());
    m_bandwidth = octaves;
    m_designed = false;
}

void EqualizerPCM::set_gain(double decibels)
{
    liba::MutexLock lock(get_lock());
    m_gain = decibels;
    m_designed = false;
}

void EqualizerPCM::design()
{
    liba::MutexLock lock(get_lock());
    double fs = m_design_rate;
    if (m_frequency >= fs * 0.49751243781094534) {
        m_designed = false;
        return;
    }
    double w0 = 2 * std::numbers::pi * m_frequency / fs;
    double a = std::pow(10.0, m_gain * 0.025);
    double alpha = std::sin(w0) * std::sinh(m_bandwidth * 0.34657359027997264);
    double a0 = 1 + alpha / a;
    double b0 = (1 + alpha * a) / a0;
    double b1 = -2 * std::cos(w0) / a0;
    double b2 = (1 - alpha * a) / a0;
    double a2 = (1 - alpha / a) / a0;

    // Settings no 64-bit coefficient can hold leave the band off.
    bool representable = true;
    auto fixed = [&](double value) -> std::int64_t {
        double scaled = value * double(1 << fraction_bits);
        if (!std::isfinite(scaled) || std::fabs(scaled) >= 0x1p62) {
            representable = false;
            return 0;
        }
        return static_cast<std::int64_t>(scaled);
    };
    m_b0 = fixed(b0);
    m_b1 = fixed(b1);
    m_b2 = fixed(b2);
    m_a1 = m_b1;
    m_a2 = fixed(a2);
    if (!representable) {
        m_designed = false;
        return;
    }
    for (int c = 0; c < 2; ++c)
        m_y1[c] = m_y2[c] = m_x1[c] = m_x2[c] = 0;
    m_designed = true;
}

PCMData EqualizerPCM::process(const PCMData& input)
{
    std::int32_t frames = input.get_frames();
    if (frames <= 0)
        return input;
    // Audio that passes untouched leaves nothing delayed behind it: a band
    // switched on again starts from silence, not from stale audio.
    if (m_gain == 0.0 || !input.is_filter_format()) {
        m_delaying = false;
        return input;
    }
    std::int32_t channels = input.channels;
    std::int32_t rate = input.sample_rate;
    if (rate != m_design_rate) {
        m_design_rate = rate;
        m_designed = false;
    }
    if (!m_designed)
        design();
    if (!m_designed) {
        m_delaying = false;
        return input;
    }

    std::int32_t lead = rate / 10;
    prepare_window(channels, rate, lead + frames);
    std::int32_t* window = samples_of(m_window);
    if (!m_delaying || m_tail > 0) {
        // A new stream, or one that came back while its end played out: the
        // delay starts again from silence.
        std::fill(window, window + std::size_t(lead) * std::size_t(channels), 0);
        m_limit_position[0] = m_limit_position[1] = 0;
        m_delaying = true;
        m_tail = 0;
    }
    m_bits = input.bits_per_sample;
    std::size_t count = std::size_t(frames) * std::size_t(channels);
    std::int32_t* fresh = window + std::size_t(lead) * std::size_t(channels);
    if (input.bits_per_sample == 8)
        to_working<Samples8>(input.bytes(), fresh, count);
    else
        to_working<Samples16>(input.bytes(), fresh, count);
    filter(fresh, count);
    for (std::int32_t c = 0; c < channels; ++c)
        limit(c, lead + frames);
    return emit(frames, input.bits_per_sample);
}

PCMData EqualizerPCM::get_data(std::int32_t frames)
{
    liba::MutexLock lock(get_lock());
    if (m_tail == 0) {
        PCMData input = pull(frames);
        std::int32_t lead = m_window.sample_rate / 10;
        if (!input.is_empty() || !m_delaying || lead <= 0)
            return process(input);
        // The end of the stream: what the window delays is finished and goes out.
        m_tail = lead;
        for (std::int32_t c = 0; c < m_window.channels; ++c)
            limit(c, m_tail, true);
    }
    PCMData out = emit(std::clamp(frames, 1, m_tail), m_bits);
    m_tail -= out.get_frames();
    // The stream has ended: whatever comes next starts afresh.
    if (m_tail == 0)
        clear_history();
    return out;
}

PCMData EqualizerPCM::emit(std::int32_t frames, std::int32_t bits)
{
    std::int32_t channels = m_window.channels;
    std::size_t count = std::size_t(frames) * std::size_t(channels);
    std::size_t bytes_per_sample = std::size_t(bits + 7) / 8;
    liba::SharedBuffer out = m_output.take(count * bytes_per_sample);
    std::uint8_t* bytes = OutputBuffer::bytes(out);
    std::int32_t* window = samples_of(m_window);
    if (bits == 8)
        from_working<Samples8>(window, count, bytes);
    else
        from_working<Samples16>(window, count, bytes);

    std::memmove(window, window + count, m_window.size() - count * sizeof(std::int32_t));
    for (std::int32_t c = 0; c < channels; ++c)
        m_limit_position[c] = std::max(0, m_limit_position[c] - frames);
    return PCMData(out, channels, bits, m_window.sample_rate);
}

// Keeps the window's buffer while the frames fit; otherwise a new one with
// room for twice as many, holding the old contents unless the format changed.
void EqualizerPCM::prepare_window(std::int32_t channels, std::int32_t rate, std::int32_t frames)
{
    std::size_t frame_bytes = std::size_t(channels) * sizeof(std::int32_t);
    bool same_format = m_window.channels == channels && m_window.sample_rate == rate;
    if (same_format && m_window.size() / frame_bytes >= std::size_t(frames))
        return;
    liba::SharedBuffer grown(std::size_t(frames) * frame_bytes * 2);
    grown.fill(0);
    if (same_format)
        grown.copy_from(0, m_window.buffer);
    else
        m_delaying = false;
    m_window = PCMData(grown, channels, 32, rate);
}

void EqualizerPCM::filter(std::int32_t* samples, std::size_t count)
{
    std::int32_t channel_count = m_window.channels;
    std::int32_t c = 0;
    for (std::size_t i = 0; i < count; ++i) {
        std::int32_t x = samples[i];
        std::uint64_t acc = wrapping_product(m_b0, x) + wrapping_product(m_b1, m_x1[c])
            + wrapping_product(m_b2, m_x2[c]) - wrapping_product(m_a1, m_y1[c])
            - wrapping_product(m_a2, m_y2[c]);
        // A boost far past full scale saturates instead of wrapping the sign.
        std::int32_t y = saturate_32(static_cast<std::int64_t>(acc) >> fraction_bits);
        m_y2[c] = m_y1[c];
        m_y1[c] = y;
        m_x2[c] = m_x1[c];
        m_x1[c] = x;
        samples[i] = y;
        if (++c == channel_count)
            c = 0;
    }
}

// Scales each finished half-wave whose peak passes three quarters of full
// scale so that it ends up between there and full scale. A half-wave still
// running at the end of the window waits for the next chunk, unless there is
// none.
void EqualizerPCM::limit(std::int32_t channel, std::int32_t frames, bool final)
{
    std::int32_t stride = m_window.channels;
    std::int32_t* s = samples_of(m_window) + channel;
    auto at
        = [&](std::int32_t frame) -> std::int32_t& { return s[std::size_t(frame) * std::size_t(stride)]; };

    std::int32_t p = m_limit_position[channel];
    while (p < frames) {
        std::int64_t peak = std::abs(std::int64_t { at(p) });
        std::int32_t k = p + 1;
        for (; k < frames; ++k) {
            if (starts_half_wave(at(k - 1), at(k)))
                break;
            peak = std::max(peak, std::abs(std::int64_t { at(k) }));
        }
        if (k == frames && at(frames - 1) != 0 && !final)
            break;
        if (peak > limit_threshold) {
            std::int64_t target = peak <= full_scale ? (peak + limit_threshold) / 2 : full_scale;
            for (std::int32_t f = p; f < k; ++f)
                at(f) = static_cast<std::int32_t>(
                    std::clamp<std::int64_t>(at(f) * target / peak, -full_scale, full_scale - 1));
        }
        p = k;
    }
    m_limit_position[channel] = p;
}

}
