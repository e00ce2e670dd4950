#pragma once

#include "audio/PCMData.h"

#include <cstddef>
#include <cstdint>

namespace audio {

// The gathering of every filter that works on long blocks: joins the chunks
// it is given into one pending block, runs the filter's block routine over it
// once it is long enough, and keeps what came out until it is taken. A chunk
// of another format first finishes the old block; a block in a format the
// filters do not work on goes out as it is. The pending bytes live in two
// buffers that are kept and reused, so once they have grown, gathering
// allocates nothing. The caller serialises every call under its own lock.
class BlockGatherer {
public:
    class Routine {
    public:
        // Processes the front of `in` into `out` and returns how many bytes of
        // it were used up; the rest comes back at the start of the next block.
        // With `final` there is no next block. `in` is the gatherer's own: the
        // routine may rewrite its bytes in place and hand out a slice of it.
        virtual std::size_t process_block(const PCMData& in, PCMData& out, bool final) = 0;
        // The stream changed format after the old block was finished.
        virtual void format_changed() = 0;

    protected:
        ~Routine() = default;
    };

    struct Rules {
        // Frames asked of upstream per pull; 0 passes the puller's count on.
        std::int32_t pull_frames = 0;
        // A pulled block is processed once it holds more bytes than this,
        std::size_t block_size = 0;
        // counting the chunk just added, or only what was pending before it.
        bool counts_new_chunk = true;
    };

    BlockGatherer(Routine& routine, Rules rules);

    // Up to `frames` frames of processed audio, gathered through `pull(count)`
    // as needed; empty at the end of the data, after the last block.
    template<typename Pull>
    PCMData get(std::int32_t frames, Pull&& pull)
    {
        if (!m_output.is_empty())
            return take_frames(m_output, frames);
        std::int32_t ask = m_rules.pull_frames > 0 ? m_rules.pull_frames : frames;
        for (;;) {
            bool due;
            {
                // Let go of each chunk before asking for the next, so that
                // upstream may write its bytes again.
                PCMData chunk = pull(ask);
                if (chunk.is_empty())
                    break;
                due = gather(chunk);
            }
            if (due)
                run(false);
            if (!m_output.is_empty())
                return take_frames(m_output, frames);
        }
        finish();
        return take_frames(m_output, frames);
    }

    // Gathers a pushed chunk, processes what it can at once and hands every
    // processed part to `push`. An empty chunk ends the data: the pending
    // block is finished.
    template<typename Push>
    void put(const PCMData& chunk, Push&& push)
    {
        if (chunk.is_empty()) {
            finish();
        } else {
            gather(chunk);
            hand_out(push);
            run(false);
        }
        hand_out(push);
    }

    // Processes the pending block as the last one; what it gives waits for
    // `take` (or `hand_out`).
    void finish();

    // Hands what is waiting to `push`, whole.
    template<typename Push>
    void hand_out(Push&& push)
    {
        if (m_output.is_empty())
            return;
        PCMData out = m_output;
        m_output = PCMData();
        push(out);
    }

    bool has_pending() const { return m_pending > 0; }

    // Drops the pending block and what waits to be taken: the stream starts over.
    void clear();

    // Seconds of audio gathered and not yet processed, and processed and not yet taken.
    double pending_seconds() const;
    double output_seconds() const;

    PCMData take(std::int32_t frames) { return take_frames(m_output, frames); }

    // Hands out up to the first `frames` frames of `ready` (a slice of the
    // same buffer, in its format) and leaves the rest in it.
    static PCMData take_frames(PCMData& ready, std::int32_t frames);

private:
    // Adds a chunk to the pending block; a chunk of another format first
    // finishes the old block and starts a new one. Returns whether the block
    // is now due for processing.
    bool gather(const PCMData& chunk);
    void append(const PCMData& chunk);
    // Runs the routine over the pending block and keeps the rest.
    void run(bool final);
    // Moves the pending bytes from `from` on to the front of a buffer that no
    // chunk handed out still reads, with room for `room` bytes.
    void keep_from(std::size_t from, std::size_t room);

    Routine& m_routine;
    Rules m_rules;
    PCMData m_output;
    // The pending block: its format, and its bytes at the front of one of two
    // buffers.
    PCMData m_format;
    liba::SharedBuffer m_store[2];
    int m_current = 0;
    std::size_t m_pending = 0;
};

}
