#pragma once

#include "audio/Consumer.h"
#include "audio/PCMData.h"
#include "audio/Provider.h"
#include "audio/filters/BlockGatherer.h"

#include <cstddef>
#include <cstdint>

namespace audio {

// A pull-only filter that works on blocks of more than block_size bytes: it
// gathers pulled chunks until a block is long enough, lets the subclass
// process it, and serves the result in the sizes the puller asks for. Each
// pull holds the filter's lock across the upstream pulls, so a subclass that
// takes the same lock for its settings never sees a block split by a change.
class StreamFilter : public Consumer<PCMData>, public Provider<PCMData>, private BlockGatherer::Routine {
public:
    static constexpr std::size_t block_size = 10000;

    StreamFilter() = default;

    // Pushing is a broken invariant: the filter only works when pulled.
    void on_data(const PCMData& data) override;

    PCMData get_data(std::int32_t frames) override;

    // Drops every audio held: what comes next is another stream (a new file, a seek).
    virtual void restart();
    // Seconds of audio held, in the time of the input.
    virtual double held_seconds();

    // Hands out up to the first `frames` frames of `ready` (a slice of the
    // same buffer, in its format) and leaves the rest in it.
    static PCMData take_frames(PCMData& ready, std::int32_t frames)
    {
        return BlockGatherer::take_frames(ready, frames);
    }

protected:
    // Called when the pulled stream changes format, after the old block has
    // been flushed.
    virtual void reset() { }

    // Processes the front of `in` into `out` and returns how many bytes of it
    // were used up; the rest comes back at the start of the next block. With
    // `final` set there is no next block: all of `in` must be used up.
    std::size_t process_block(const PCMData& in, PCMData& out, bool final) override = 0;

    const BlockGatherer& gatherer() const { return m_gatherer; }

private:
    void format_changed() override { reset(); }

    BlockGatherer m_gatherer { *this, { 0, block_size, true } };
};

}
