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

}
