#pragma once

#include "audio/PCMData.h"
#include "audio/Provider.h"
#include "liba/Nocopy.h"

#include <algorithm>

namespace audio {

// Sits between a reader of coded blocks and the PCM pipeline. Decoded samples
// that a request does not take wait for the next one, so requests of any size
// are served from blocks of the codec's size.
template<typename T>
class BlockDecoderPCM : public Provider<PCMData>, public Consumer<T>, private liba::Nocopy {
public:
    PCMData get_data(std::int32_t size) override
    {
        liba::MutexLock lock(this->get_lock());
        while (m_pending.is_empty() || m_pending.bytes_per_frame() <= 0) {
            // Let go of the used-up block, so that the decoder may write it again.
            m_pending = {};
            T block = this->pull(blocks_for_size(size));
            if (block.is_empty()) {
                m_pending = {};
                return {};
            }
            m_pending = decode(block);
        }
        std::int64_t wanted = std::int64_t(std::max(size, 0)) * m_pending.bytes_per_frame();
        std::size_t take = static_cast<std::size_t>(std::min<std::int64_t>(wanted, m_pending.size()));
        if (take == 0)
            return {};
        PCMData result = m_pending;
        result.buffer = liba::SharedBuffer(m_pending.buffer, 0, take);
        m_pending.buffer = liba::SharedBuffer(m_pending.buffer, take, m_pending.size() - take);
        return result;
    }

    // Seconds of decoded audio not yet handed out.
    double pending_seconds()
    {
        liba::MutexLock lock(this->get_lock());
        std::int32_t frames = m_pending.get_frames();
        return frames > 0 && m_pending.sample_rate > 0 ? double(frames) / m_pending.sample_rate : 0.0;
    }

    // Forgets decoded audio not yet handed out: the reader has moved.
    void drop_pending()
    {
        liba::MutexLock lock(this->get_lock());
        m_pending = PCMData();
    }

    // One input block to PCM; a block that cannot be decoded gives an empty chunk.
    virtual PCMData decode(const T& block) = 0;
    // How many input blocks to pull for a request of this many frames.
    virtual std::int32_t blocks_for_size(std::int32_t frames) = 0;

    void on_data(const T& block) override
    {
        liba::MutexLock lock(this->get_lock());
        PCMData decoded = decode(block);
        Provider<PCMData>::push(decoded);
    }

protected:
    // Decoded blocks without the end of the last one that does not belong to
    // the stream: it keeps `last` frames (0: all of them).
    static liba::SharedBuffer last_block_cut(
        const liba::SharedBuffer& pcm, std::size_t block_bytes, std::size_t frame_bytes, std::int32_t last)
    {
        if (last <= 0 || pcm.size() < block_bytes)
            return pcm;
        std::size_t kept = std::min(block_bytes, std::size_t(last) * frame_bytes);
        return liba::SharedBuffer(pcm, 0, pcm.size() - block_bytes + kept);
    }

private:
    PCMData m_pending;
};

}
