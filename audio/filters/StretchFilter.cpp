#include "audio/filters/StretchFilter.h"

#include "audio/SampleFormat.h"
#include "audio/filters/StretchSegments.h"
#include "liba/MutexLock.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace audio {

namespace {

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

// One channel of one block: walks its half-waves from a position, collects
// the positive peaks that stand out, and emits the audio between matching
// peaks `factor` times, at the output frame the position stands for.
template<typename Format>
class ChannelStretch {
public:
    ChannelStretch(const PCMData& in, std::uint8_t* out, std::int32_t channel, std::int32_t factor)
        : m_samples(in.bytes() + channel * Format::bytes)
        , m_out(out + channel * Format::bytes)
        , m_frames(in.get_frames())
        , m_channels(in.channels)
        , m_stride(in.channels * Format::bytes)
        , m_factor(factor)
        , m_radius(in.sample_rate / 200)
        , m_least_dominance(in.sample_rate / 600)
        , m_emit(emitter<Format>(factor))
    {
    }

    // Returns the new position: the input frame the output has reached. Not
    // final, it stops before a half-wave or peak the next block may change.
    std::int32_t run(std::int32_t from, bool final)
    {
        m_o = std::int64_t(from) * m_factor;
        for (std::int32_t t = from; t < m_frames;) {
            std::int32_t e = half_wave_end(t);
            if (!final && e == m_frames)
                return position();
            std::int32_t peak = peak_of(t, e);
            if (!final && peak >= m_frames - m_radius)
                return position();
            std::int32_t value = sample(peak);
            if (value >= 0 && (final || e < m_frames - m_radius)) {
                std::int32_t d = e >= m_frames - m_radius ? m_radius : dominance(peak, value);
                if (d >= m_least_dominance)
                    add({ t, value }, d >= m_radius);
            }
            t = e;
        }
        if (final)
            pad_with_silence();
        return position();
    }

private:
    struct Peak {
        std::int32_t start;
        std::int32_t value;
    };

    std::int32_t sample(std::int32_t frame) const
    {
        return Format::load(m_samples + std::int64_t(frame) * m_stride);
    }

    std::int32_t position() const { return std::int32_t(m_o / m_factor); }

    // A zero or a change of sign starts the next half-wave.
    std::int32_t half_wave_end(std::int32_t t) const
    {
        std::int32_t e = t + 1;
        while (e < m_frames && std::int64_t { sample(e - 1) } * sample(e) > 0)
            ++e;
        return e;
    }

    std::int32_t peak_of(std::int32_t t, std::int32_t e) const
    {
        std::int32_t peak = t;
        for (std::int32_t f = t + 1; f < e; ++f) {
            if (sample(f) > sample(peak))
                peak = f;
        }
        return peak;
    }

    // How far the peak rules: the nearest distance, below the radius, at
    // which a larger sample lies on either side.
    std::int32_t dominance(std::int32_t peak, std::int32_t value) const
    {
        for (std::int32_t j = 1; j < m_radius; ++j) {
            if ((peak - j >= 0 && sample(peak - j) > value)
                || (peak + j < m_frames && sample(peak + j) > value))
                return j;
        }
        return m_radius;
    }

    void add(Peak peak, bool dominant)
    {
        m_list[m_count++] = peak;
        if (dominant && m_count >= 2)
            emit_to_last();
        else if (m_count == std::int32_t(std::size(m_list)))
            emit_to_closest();
    }

    // Hops along the peaks, each time to the closest in level among those
    // between the first and the last, ending on the last.
    void emit_to_last()
    {
        std::int32_t low = std::min(m_list[0].value, m_list[m_count - 1].value);
        std::int32_t high = std::max(m_list[0].value, m_list[m_count - 1].value);
        for (std::int32_t i = 0;;) {
            std::int32_t best = -1;
            for (std::int32_t j = i + 1; j < m_count; ++j) {
                if (m_list[j].value >= low && m_list[j].value <= high
                    && (best < 0 || distance(j, i) < distance(best, i)))
                    best = j;
            }
            if (best < 0)
                break;
            emit(m_list[i].start, m_list[best].start);
            i = best;
        }
        m_list[0] = m_list[m_count - 1];
        m_count = 1;
    }

    // A full list: from the first peak to the one closest to it in level.
    void emit_to_closest()
    {
        std::int32_t best = 1;
        for (std::int32_t j = 2; j < m_count; ++j) {
            if (distance(j, 0) < distance(best, 0))
                best = j;
        }
        emit(m_list[0].start, m_list[best].start);
        std::copy(m_list + best, m_list + m_count, m_list);
        m_count -= best;
    }

    std::int32_t distance(std::int32_t a, std::int32_t b) const
    {
        return std::abs(m_list[a].value - m_list[b].value);
    }

    void emit(std::int32_t from, std::int32_t to)
    {
        std::int64_t length = to - from;
        if (length <= 0 || m_o + length * m_factor > std::int64_t(m_frames) * m_factor)
            return;
        m_emit(m_samples, m_frames, m_channels, from, std::int32_t(length), m_out + m_o * m_stride);
        m_o += length * m_factor;
    }

    void pad_with_silence()
    {
        for (std::int64_t end = std::int64_t(m_frames) * m_factor; m_o < end; ++m_o)
            Format::store(m_out + m_o * m_stride, 0);
    }

    const std::uint8_t* m_samples;
    std::uint8_t* m_out;
    std::int32_t m_frames;
    std::int32_t m_channels;
    std::int32_t m_stride;
    std::int32_t m_factor;
    std::int32_t m_radius;
    std::int32_t m_least_dominance;
    Emit m_emit;
    std::int64_t m_o = 0;
    Peak m_list[5];
    std::int32_t m_count = 0;
};

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

void StretchFilter::restart()
{
    liba::MutexLock lock(get_lock());
    StreamFilter::restart();
    m_carry = PCMData();
}

// The carry is output made for pending input: it counts with that input.
double StretchFilter::held_seconds()
{
    liba::MutexLock lock(get_lock());
    return gatherer().pending_seconds() + gatherer().output_seconds() / std::max(m_factor, 1);
}

std::size_t StretchFilter::process_block(const PCMData& in, PCMData& out, bool final)
{
    if (m_factor == 1 || !in.is_filter_format()) {
        out = in;
        return in.size();
    }
    // Output first holds what the carry brought from the last block.
    std::size_t k = std::size_t(m_factor);
    std::size_t size = in.size() * k;
    liba::SharedBuffer block = m_output.take(size);
    std::uint8_t* to = OutputBuffer::bytes(block);
    std::memset(to, 0, size);
    std::size_t fit = std::min(size, m_carry.size());
    std::memcpy(to, m_carry.bytes(), fit);

    std::size_t used = stretch_into(in, to, size, final);

    // The new carry: what did not fit of the old one, then the output made
    // for input that comes back with the next block.
    std::size_t left = m_carry.size() - fit;
    std::size_t kept = size - used * k;
    liba::SharedBuffer carry = m_carry_blocks.take(left + kept);
    std::uint8_t* carried = OutputBuffer::bytes(carry);
    std::memcpy(carried, m_carry.bytes() + fit, left);
    std::memcpy(carried + left, to + used * k, kept);
    m_carry = PCMData(carry, in.channels, in.bits_per_sample, in.sample_rate);
    out = PCMData(liba::SharedBuffer(block, 0, used * k), in.channels, in.bits_per_sample, in.sample_rate);
    return used;
}

std::size_t StretchFilter::stretch(const PCMData& in, PCMData& out, bool final)
{
    if (out.size() < in.size() * std::size_t(std::max(m_factor, 1)))
        return 0;
    return stretch_into(in, writable_bytes(out.buffer), out.size(), final);
}

std::size_t StretchFilter::stretch_into(const PCMData& in, std::uint8_t* to, std::size_t room, bool final)
{
    std::int32_t k = m_factor;
    if ((k != 2 && k != 3) || in.size() < 1 || room < in.size() * std::size_t(k) || !in.is_filter_format())
        return 0;
    std::int32_t channels = in.channels;
    std::int32_t frames = in.get_frames();
    std::int32_t rate = in.sample_rate;
    std::int32_t start[2] = { m_position[0], m_position[1] };

    auto run = [&](bool last) {
        for (std::int32_t c = 0; c < channels; ++c) {
            m_position[c] = in.bits_per_sample == 8
                ? ChannelStretch<Samples8>(in, to, c, k).run(start[c], last)
                : ChannelStretch<Samples16>(in, to, c, k).run(start[c], last);
        }
    };
    if (!final) {
        run(false);
        std::int32_t done = channels == 2 ? std::min(m_position[0], m_position[1]) : m_position[0];
        std::int32_t used = std::max(0, done - rate / 10);
        // A channel stuck in one half-wave for over a second (a DC offset, say)
        // would hold everything back: then the block is finished as the last.
        if (used > 0 || frames <= rate) {
            for (std::int32_t c = 0; c < channels; ++c)
                m_position[c] -= used;
            return std::size_t(used) * std::size_t(in.bytes_per_frame());
        }
    }
    run(true);
    m_position[0] = m_position[1] = 0;
    return in.size();
}

}
