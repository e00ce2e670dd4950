#include "mp3enc/Filterbank.h"

namespace mp3enc {

void design_lowpass(State& state)
{
    for (auto& gain : state.lowpass_gain)
        gain = 16384;
    for (auto& gain : state.highpass_gain)
        gain = 16384;
    state.lowpass_band = subbands;
    if (state.lowpass1 <= 0)
        return;
    for (int32_t band = 0; band < subbands; ++band) {
        if (band / 31.0 >= state.lowpass1) {
            state.lowpass_band = band;
            break;
        }
    }
    // Both edges of the transition zone fall on the cut, so the zone is empty and the cut is
    // hard at a subband boundary.
    state.lowpass_start = state.lowpass_end = state.lowpass_band;
}

void analyse_frame(State& state, const int16_t* const input[2])
{
    (void)input;
    for (auto& granule : state.spectrum) {
        for (auto& channel : granule) {
            for (auto& line : channel)
                line = 0;
        }
    }
}

}
