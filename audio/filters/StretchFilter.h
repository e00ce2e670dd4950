#pragma once

#include "audio/filters/OutputBuffer.h"
#include "audio/filters/StreamFilter.h"

#include <cstdint>

namespace audio {

// Plays two or three times as long at the same pitch: cuts each channel into
// segments from one positive waveform peak to a matching later one and emits
// every segment `factor` times with cross-fades. Factor 1 passes audio on.
// Handles 8-bit unsigned and 16-bit signed PCM of one or two channels; other
// formats pass through. A tenth of a second of input is kept as history
// between blocks.
class StretchFilter : public StreamFilter {
public:
    StretchFilter() = default;

    // 1, 2 or 3; other values are refused. Taken under the filter's lock, so a
    // change falls between blocks.
    void set_factor(std::int32_t factor);
    std::int32_t get_factor();

    // Stretches `in` into `out`, which holds at least factor times its bytes,
    // from each channel's position on, and returns the input bytes used up.
    // Returns 0 for formats it does not handle.
    std::size_t stretch(const PCMData& in, PCMData& out, bool final);

    void restart() override;
    // The output waiting counts at its pace: a factor of its length.
    double held_seconds() override;

protected:
    void reset() override;
    std::size_t process_block(const PCMData& in, PCMData& out, bool final) override;

private:
    std::size_t stretch_into(const PCMData& in, std::uint8_t* to, std::size_t room, bool final);

    // Output made for input that comes back with the next block.
    PCMData m_carry;
    OutputBuffer m_output;
    OutputBuffer m_carry_blocks;
    std::int32_t m_factor = 1;
    // Per channel, the input frame up to which output has been made.
    std::int32_t m_position[2] {};
};

}
