#include "audio/filters/StreamFilter.h"

#include "liba/MutexLock.h"
#include "os/Log.h"

#include <algorithm>

namespace audio {

namespace {

bool same_format(const PCMData& a, const PCMData& b)
{
    return a.channels == b.channels && a.bits_per_sample == b.bits_per_sample
        && a.sample_rate == b.sample_rate;
}

PCMData with_bytes(const PCMData& format, liba::SharedBuffer bytes)
{
    return PCMData(std::move(bytes), format.channels, format.bits_per_sample, format.sample_rate);
}

// The pending bytes followed by the chunk's, in the chunk's format.
PCMData joined(const PCMData& pending, const PCMData& chunk)
{
    liba::SharedBuffer bytes(pending.size() + chunk.size());
    bytes.copy_from(0, pending.buffer);
    bytes.copy_from(pending.size(), chunk.buffer);
    return with_bytes(chunk, bytes);
}

}

void StreamFilter::on_data(const PCMData&)
{
    os::fatal_error(u"StreamFilter::on_data()", u"Not implemented");
}

PCMData StreamFilter::take_frames(PCMData& ready, std::int32_t frames)
{
    std::size_t wanted = std::size_t(std::max(frames, 0)) * std::size_t(std::max(ready.bytes_per_frame(), 0));
    if (ready.size() <= wanted) {
        PCMData all = ready;
        ready = PCMData();
        return all;
    }
    PCMData front = with_bytes(ready, liba::SharedBuffer(ready.buffer, 0, wanted));
    ready.buffer = liba::SharedBuffer(ready.buffer, wanted, ready.size() - wanted);
    return front;
}

PCMData StreamFilter::get_data(std::int32_t frames)
{
    liba::MutexLock lock(get_lock());
    if (!m_ready.is_empty())
        return take_frames(m_ready, frames);

    for (PCMData chunk = pull(frames); !chunk.is_empty(); chunk = pull(frames)) {
        if (!same_format(chunk, m_pending) && !m_pending.is_empty()) {
            process_block(m_pending, m_ready, true);
            m_pending = chunk;
            reset();
        } else {
            PCMData block = joined(m_pending, chunk);
            std::size_t used = block.size() > block_size ? process_block(block, m_ready, false) : 0;
            used = std::min(used, block.size());
            m_pending = with_bytes(block, liba::SharedBuffer(block.buffer, used, block.size() - used));
        }
        if (!m_ready.is_empty())
            return take_frames(m_ready, frames);
    }

    if (m_pending.is_empty())
        return PCMData();
    process_block(m_pending, m_ready, true);
    m_pending = PCMData();
    return take_frames(m_ready, frames);
}

}
