#pragma once

#include "mp3enc/Params.h"
#include "mp3enc/State.h"

// Quantisation, bit allocation and the bit reservoir.
namespace mp3enc {

// Builds the process-wide step table of the global gains once; safe to call from encoders on
// several threads at once.
void build_step_table();

// Rate control of one frame: turns state.spectrum into the quantised lines and granule records of
// state.side for every granule and channel (mid/side first when state.mode_extension is 2), keeps
// the reservoir and sets side.discard_bits.
void quantise_frame(Params& params, const FrameBudget& budget);

// Parts of quantise_frame.

// |x|^(3/4) of a Q32 magnitude, in Q32: the chord through the curve at the powers of four that
// bracket x; 2^32 from 2^32 up.
uint64_t power_law(uint64_t magnitude);

// The step of every global gain 0..329: a multiplier below 210, the negated divisor from 210.
constexpr int32_t step_count = 330;
const int64_t* step_table();

// One granule's spectrum through the power law, kept while its gain is searched.
struct PoweredLines {
    uint64_t xrpow[granule_lines];
    uint64_t max;
    uint64_t magnitude_sum;
    bool negative[granule_lines];
};

void raise_lines(const int64_t* spectrum, PoweredLines& powered);

// Quantises at gain into granule.lines (magnitudes) and counts their bits; 100000 when a line is
// too large to code.
int32_t quantise_granule(State& state, const PoweredLines& powered, int32_t gain, GranuleInfo& granule);

// The smallest gain whose bits fit desired, searched from start_gain with step; both are
// carried to the channel's next granule. Leaves the lines signed, global_gain and
// part2_3_length set.
void search_gain(State& state, const PoweredLines& powered, int32_t desired, int32_t& start_gain,
    int32_t& step, GranuleInfo& granule);

// Bits the reservoir may hold after a frame of this many bits.
int32_t reservoir_max(const Params& params, int32_t frame_bits);

}
