#include "audio/filters/BlockGatherer.h"

#include <algorithm>
#include <cstring>

namespace audio {

BlockGatherer::BlockGatherer(Routine& routine, Rules rules)
    : m_routine(routine)
    , m_rules(rules)
{
}

PCMData BlockGatherer::take_frames(PCMData& ready, std::int32_t frames)
{
    std::size_t wanted = std::size_t(std::max(frames, 0)) * std::size_t(std::max(ready.bytes_per_frame(), 0));
    if (ready.size() <= wanted) {
        PCMData all = ready;
        ready = PCMData();
        return all;
    }
    PCMData front(liba::SharedBuffer(ready.buffer, 0, wanted), ready.channels, ready.bits_per_sample,
        ready.sample_rate);
    ready.buffer = liba::SharedBuffer(ready.buffer, wanted, ready.size() - wanted);
    return front;
}

bool BlockGatherer::gather(const PCMData& chunk)
{
    if (m_pending > 0 && !chunk.same_format(m_format)) {
        // The old format's audio goes out whole; the new one starts over.
        finish();
        m_routine.format_changed();
        append(chunk);
        return false;
    }
    std::size_t before = m_pending;
    append(chunk);
    std::size_t counted = m_rules.counts_new_chunk ? m_pending : before;
    return counted > m_rules.block_size;
}

void BlockGatherer::append(const PCMData& chunk)
{
    keep_from(0, m_pending + chunk.size());
    std::memcpy(m_store[m_current].data_in_place() + m_pending, chunk.bytes(), chunk.size());
    m_pending += chunk.size();
    m_format.channels = chunk.channels;
    m_format.bits_per_sample = chunk.bits_per_sample;
    m_format.sample_rate = chunk.sample_rate;
}

void BlockGatherer::clear()
{
    m_pending = 0;
    m_output = PCMData();
}

namespace {

double seconds_of(std::size_t bytes, const PCMData& format)
{
    std::int32_t frame = format.bytes_per_frame();
    if (bytes == 0 || frame <= 0 || format.sample_rate <= 0)
        return 0.0;
    return double(bytes / std::size_t(frame)) / format.sample_rate;
}

}

double BlockGatherer::pending_seconds() const
{
    return seconds_of(m_pending, m_format);
}

double BlockGatherer::output_seconds() const
{
    return seconds_of(m_output.size(), m_output);
}

void BlockGatherer::finish()
{
    run(true);
}

void BlockGatherer::run(bool final)
{
    if (m_pending == 0)
        return;
    std::size_t used = m_pending;
    {
        PCMData in(liba::SharedBuffer(m_store[m_current], 0, m_pending), m_format.channels,
            m_format.bits_per_sample, m_format.sample_rate);
        PCMData out = in;
        if (m_format.is_filter_format())
            used = std::min(m_routine.process_block(in, out, final), m_pending);
        // The last block goes whole; a part frame at its end is dropped.
        if (final)
            used = m_pending;
        m_output = out.is_empty() ? PCMData() : out;
    }
    keep_from(used, 0);
}

void BlockGatherer::keep_from(std::size_t from, std::size_t room)
{
    std::size_t rest = m_pending - from;
    room = std::max(room, rest);
    liba::SharedBuffer& current = m_store[m_current];
    if (!current.is_shared() && current.size() >= room) {
        if (from > 0 && rest > 0)
            std::memmove(current.data_in_place(), current.data() + from, rest);
    } else {
        // Chunks handed out still read the current buffer, or it is too
        // small: the pending bytes move to the other one.
        liba::SharedBuffer& other = m_store[1 - m_current];
        if (other.is_shared() || other.size() < room) {
            // Room to grow, so that a block that keeps growing a little
            // does not cost a new buffer each time.
            std::size_t grown = room > current.size() ? room + room / 2 : 0;
            other = liba::SharedBuffer(std::max(grown, current.size()));
        }
        if (rest > 0)
            std::memcpy(other.data_in_place(), current.data() + from, rest);
        m_current = 1 - m_current;
    }
    m_pending = rest;
}

}
