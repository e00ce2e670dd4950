#pragma once

#include <cstdint>
#include <vector>

namespace bench::engine {

// A plain reference WSOLA (waveform-similarity overlap-add), the textbook
// algorithm, for weighing our time stretch against: Hann windows of `window`
// frames laid at half a window's step in the output; each is taken from
// the input near where the stretch puts it, within `tolerance` frames, at
// the offset whose window best correlates (over the mono sum) with the
// audio that naturally follows the previous one. Interleaved 16-bit PCM of
// any channel count in, `factor` times as long out.
std::vector<std::int16_t> reference_wsola(const std::vector<std::int16_t>& in, int channels, double factor,
    int window, int tolerance);

}
