#include "audio/StretchFilter.h"

#include "audio/SampleFormat.h"
#include "audio/StretchSegments.h"
#include "liba/MutexLock.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace audio {

namespace {

bool stretchable(const PCMData& data)
{
    return (data.channels == 1 || data.channels == 2)
        && (data.bits_per_sample == 8 || data.bits_per_sample == 16) && data.sample_rate >= 1;
}

// A positive half-wave's start and its peak value.
struct Peak {
    std::int32_t start;
    std::int32_t value;
};

using Emit
    = void (*)(const std::uint8_t*, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::uint8_t*);

template<typename Format>
Emit emitter(std::int32_t factor);

template<>
Emit emitter<Samples16>(std::int32_t factor)
{
    return factor == 2 ? stretch_double_16 : stretch_triple_16;
}

template<>
Emit emitter<Samples8>(std::int32_t factor)
{
    return factor == 2 ? stretch_double_8 : stretch_triple_8;
}

}

void StretchFilter::set_factor(std::int32_t factor)
{
    if (factor < 1 || factor > 3)
        return;
    liba::MutexLock lock(get_lock());
    if (factor == m_factor)
        return;
    m_position[0] = m_position[1] = 0;
    m_factor = factor;
}

std::int32_t StretchFilter::get_factor()
{
    liba::MutexLock lock(get_lock());
    return m_factor;
}

void StretchFilter::reset()
{
    m_position[0] = m_position[1] = 0;
}

std::size_t StretchFilter::process_block(const PCMData& in, PCMData& out, bool final)
{
    if (m_factor == 1 || !stretchable(in)) {
        out = in;
        return in.size();
    }
    std::size_t k = std::size_t(m_factor);
    out = PCMData(liba::SharedBuffer(in.size() * k), in.channels, in.bits_per_sample, in.sample_rate);
    out.buffer.fill(0);
    std::size_t fit = std::min(out.size(), m_carry.size());
    out.buffer.copy_from(0, liba::SharedBuffer(m_carry.buffer, 0, fit));

    std::size_t used = stretch(in, out, final);

    std::size_t kept = out.size() - used * k;
    liba::SharedBuffer carry(m_carry.size() - fit + kept);
    carry.copy_from(0, liba::SharedBuffer(m_carry.buffer, fit, m_carry.size() - fit));
    carry.copy_from(m_carry.size() - fit, liba::SharedBuffer(out.buffer, used * k, kept));
    m_carry = PCMData(carry, out.channels, out.bits_per_sample, out.sample_rate);
    out.buffer = liba::SharedBuffer(out.buffer, 0, used * k);
    return used;
}

std::size_t StretchFilter::stretch(const PCMData& in, PCMData& out, bool final)
{
    std::int32_t k = m_factor;
    if ((k != 2 && k != 3) || in.size() < 1 || out.size() < in.size() * std::size_t(k) || !stretchable(in))
        return 0;
    std::int32_t channels = in.channels;
    std::int32_t frames = in.get_frames();
    std::int32_t rate = in.sample_rate;
    std::int32_t start[2] = { m_position[0], m_position[1] };
    std::uint8_t* to = writable_bytes(out.buffer);

    auto run = [&](bool last) {
        for (std::int32_t c = 0; c < channels; ++c) {
            m_position[c] = start[c];
            m_position[c] = in.bits_per_sample == 8 ? stretch_channel<Samples8>(in, to, c, last)
                                                    : stretch_channel<Samples16>(in, to, c, last);
        }
    };
    run(final);
    if (!final) {
        std::int32_t done = m_position[0];
        if (channels == 2)
            done = std::min(done, m_position[1]);
        std::int32_t used = std::max(0, done - rate / 10);
        // A channel stuck in one half-wave for over a second (a DC offset, say)
        // would hold everything back; finish the block as if it were the last.
        if (used == 0 && frames > rate) {
            final = true;
            run(true);
        } else {
            for (std::int32_t c = 0; c < channels; ++c)
                m_position[c] -= used;
            return std::size_t(used) * std::size_t(in.bytes_per_frame());
        }
    }
    m_position[0] = m_position[1] = 0;
    return in.size();
}

// Walks one channel's half-waves from its position, collecting positive
// peaks, and emits the stretch of each stretch between two matching peaks.
// Returns the new position: the input frame the output has reached.
template<typename Format>
std::int32_t StretchFilter::stretch_channel(
    const PCMData& in, std::uint8_t* out, std::int32_t channel, bool final)
{
    const std::int32_t k = m_factor;
    const std::int32_t frames = in.get_frames();
    const std::int32_t stride = in.channels * Format::bytes;
    const std::int32_t w = in.sample_rate / 200;
    const std::int32_t v = in.sample_rate / 600;
    const std::uint8_t* samples = in.bytes() + channel * Format::bytes;
    std::uint8_t* line = out + channel * Format::bytes;
    auto s = [&](std::int32_t frame) { return Format::load(samples + std::int64_t(frame) * stride); };

    std::int64_t o = std::int64_t(m_position[channel]) * k;
    const std::int64_t capacity = std::int64_t(frames) * k;
    Emit emit = emitter<Format>(k);
    auto emit_segment = [&](std::int32_t from, std::int32_t to_frame) {
        std::int32_t length = to_frame - from;
        if (length <= 0 || o + std::int64_t(length) * k > capacity)
            return;
        emit(samples, frames, in.channels, from, length, line + o * stride);
        o += std::int64_t(length) * k;
    };

    Peak list[5];
    std::int32_t count = 0;
    std::int32_t t = m_position[channel];
    while (t < frames) {
        std::int32_t e = t + 1;
        while (e < frames && std::int64_t { s(e - 1) } * s(e) > 0)
            ++e;
        if (!final && e == frames)
            return std::int32_t(o / k);
        std::int32_t peak = t;
        for (std::int32_t f = t + 1; f < e; ++f) {
            if (s(f) > s(peak))
                peak = f;
        }
        if (!final && peak >= frames - w)
            return std::int32_t(o / k);
        std::int32_t value = s(peak);
        if (value < 0) {
            t = e;
            continue;
        }
        std::int32_t dominance = w;
        if (e >= frames - w) {
            if (!final) {
                t = e;
                continue;
            }
        } else {
            for (std::int32_t j = 1; j < w; ++j) {
                if ((peak - j >= 0 && s(peak - j) > value) || (peak + j < frames && s(peak + j) > value)) {
                    dominance = j;
                    break;
                }
            }
        }
        if (dominance < v) {
            t = e;
            continue;
        }
        list[count++] = { t, value };
        if (dominance >= w && count >= 2) {
            // Hop along the peaks, each time to the closest in level among
            // those between the first and the last, ending on the last.
            std::int32_t low = std::min(list[0].value, list[count - 1].value);
            std::int32_t high = std::max(list[0].value, list[count - 1].value);
            for (std::int32_t i = 0;;) {
                std::int32_t best = -1;
                for (std::int32_t j = i + 1; j < count; ++j) {
                    if (list[j].value < low || list[j].value > high)
                        continue;
                    if (best < 0
                        || std::abs(list[j].value - list[i].value)
                            < std::abs(list[best].value - list[i].value))
                        best = j;
                }
                if (best < 0)
                    break;
                emit_segment(list[i].start, list[best].start);
                i = best;
            }
            list[0] = list[count - 1];
            count = 1;
        } else if (count == 5) {
            std::int32_t best = 1;
            for (std::int32_t j = 2; j < count; ++j) {
                if (std::abs(list[j].value - list[0].value) < std::abs(list[best].value - list[0].value))
                    best = j;
            }
            emit_segment(list[0].start, list[best].start);
            std::copy(list + best, list + count, list);
            count -= best;
        }
        t = e;
    }
    if (final && o < capacity) {
        for (std::int64_t f = o; f < capacity; ++f)
            Format::store(line + f * stride, 0);
        o = capacity;
    }
    return std::int32_t(o / k);
}

}
