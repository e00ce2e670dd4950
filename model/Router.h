#pragma once

#include "audio/readers/FileReaderMP3.h"
#include "audio/readers/FileReaderWAVPCM.h"
#include "audio/readers/WAVInfo.h"
#include "model/RangeMarkList.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <string>
#include <type_traits>

// A reader that hands out only the bookmarked segments that play, in play
// order: it wraps the file's own reader, jumps from the end of one segment to
// the start of the next and ends after the last. Mark positions are in the
// wrapped reader's own units.
template<typename R>
class Router : public R {
public:
    Router(const std::u16string& path, const RangeMarkList& bookmarks)
        : R(path)
        , m_bookmarks(bookmarks)
        , m_slot(next_valid_index(m_bookmarks, -1))
    {
        if (m_slot < m_bookmarks.play_count())
            R::seek_bytes(m_bookmarks.play_mark(m_slot).position);
    }

    bool is_end() override { return m_slot >= m_bookmarks.play_count(); }

    using Chunk = decltype(std::declval<R&>().get_data(0));

    Chunk get_data(std::int32_t size) override
    {
        auto chunk = read_in_segment(size);
        // Segments that give nothing (too short for one whole frame) are
        // skipped, however many follow each other.
        while (chunk.is_empty() && m_slot < m_bookmarks.play_count()) {
            m_slot = next_valid_index(m_bookmarks, m_slot);
            // A segment that begins where the last one ended goes on without a seek.
            chunk = read_in_segment(size);
            if (chunk.is_empty() && m_slot < m_bookmarks.play_count()) {
                R::seek_bytes(m_bookmarks.play_mark(m_slot).position);
                chunk = read_in_segment(size);
            }
        }
        if (chunk.is_empty())
            R::seek_bytes(R::get_length_bytes()); // the wrapped reader ends too
        return chunk;
    }

private:
    Chunk read_in_segment(std::int32_t size)
    {
        if (m_slot >= m_bookmarks.play_count())
            return {};
        const std::int64_t position = R::get_position_bytes();
        const std::int64_t start = m_bookmarks.play_mark(m_slot).position;
        const std::int64_t end = start + m_bookmarks.play_length(m_slot, R::get_length_bytes());
        if (position < start || position >= end)
            return {};
        const std::int64_t n = std::min<std::int64_t>(size, clip(end - position));
        if (n <= 0)
            return {};
        return R::get_data(std::int32_t(n));
    }

    // What the rest of the segment allows, in the reader's request unit.
    std::int64_t clip(std::int64_t left)
    {
        if constexpr (std::is_base_of_v<audio::FileReaderMP3, R>)
            return 1; // a frame that begins inside the segment plays whole
        else if constexpr (std::is_same_v<R, audio::FileReaderWAVPCM>)
            return left / std::max<std::int64_t>(R::get_wav_info().block_align, 1); // whole frames
        else
            return left;
    }

    RangeMarkList m_bookmarks;
    // Moved on by the puller, read by is_end from any thread.
    std::atomic<int> m_slot;
};
