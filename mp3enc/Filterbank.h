#pragma once

#include "mp3enc/State.h"

// Polyphase analysis filterbank, subband lowpass and MDCT with alias reduction.
namespace mp3enc {

// Sample of each input channel at which the first granule's analysis starts.
constexpr int32_t filterbank_offset = 286;

// Turns state.lowpass1 into the lowpass band and gains.
void design_lowpass(State& state);

// Analyses state.granules granules of input[channel] (from filterbank_offset on) for every output
// channel into state.spectrum, through the subband history. Granules whose block type is 2 (the
// priming pass) only update the history: their spectrum is never used.
void analyse_frame(State& state, const int16_t* const input[2]);

}
