#pragma once

#include "audio/PCMData.h"
#include "audio/Provider.h"
#include "liba/Nocopy.h"

#include <algorithm>
#include <cstring>

namespace audio {

// Cuts a PCM stream into the fixed blocks of a block codec. Pushed chunks of
// any size fill a block and every full block is encoded and pushed on; the
// pull path gathers one block from upstream per request.
template<typename T>
class BlockEncoderPCM : public Consumer<PCMData>, public Provider<T>, private liba::Nocopy {
public:
    void on_data(const PCMData& chunk) override
    {
        liba::MutexLock lock(get_lock());
        if (m_push.is_empty()) {
            m_push = make_block(chunk);
            m_push_fill = 0;
        }
        if (m_push.is_empty() || !chunk.same_format(m_push))
            return;
        std::size_t taken = 0;
        while (taken < chunk.size()) {
            taken += fill(m_push, m_push_fill, chunk, taken);
            if (m_push_fill == m_push.size()) {
                m_push_fill = 0;
                Provider<T>::push(encode(m_push));
            }
        }
    }

    // The count is not used: one block comes back per call. A block that
    // upstream cannot complete yet stays gathered for the next call.
    T get_data(std::int32_t) override
    {
        liba::MutexLock lock(get_lock());
        if (m_pull.is_empty()) {
            PCMData first = pull(1);
            if (first.is_empty())
                return {};
            m_pull = make_block(first);
            m_pull_fill = 0;
            if (m_pull.is_empty())
                return {};
            fill(m_pull, m_pull_fill, first, 0);
        }
        while (m_pull_fill < m_pull.size()) {
            auto frames = static_cast<std::int32_t>((m_pull.size() - m_pull_fill) / m_pull.bytes_per_frame());
            PCMData chunk = pull(std::max(frames, 1));
            if (chunk.is_empty())
                return {};
            if (chunk.same_format(m_pull))
                fill(m_pull, m_pull_fill, chunk, 0);
        }
        m_pull_fill = 0;
        return encode(m_pull);
    }

    // One full block of PCM to one coded block.
    virtual T encode(const PCMData& block) = 0;
    // An empty PCM block of one coded block's size in the given format, or an
    // empty chunk with a zero format when the codec cannot take the format.
    virtual PCMData make_block(const PCMData& format) = 0;

private:
    // Copies from the chunk's byte `from` on into the block at its fill;
    // returns the count copied.
    static std::size_t fill(PCMData& block, std::size_t& block_fill, const PCMData& chunk, std::size_t from)
    {
        std::size_t count = std::min(chunk.size() - from, block.size() - block_fill);
        std::uint8_t* target = block.buffer.make_unique() + block.buffer.offset();
        std::memcpy(target + block_fill, chunk.bytes() + from, count);
        block_fill += count;
        return count;
    }

    PCMData m_push;
    std::size_t m_push_fill = 0;
    PCMData m_pull;
    std::size_t m_pull_fill = 0;
};

}
