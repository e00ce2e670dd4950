#pragma once

// Double-precision references for the encoder's front: the standard's analysis filterbank and
// transform, and a decoder's inverse built on a real decoder library's synthesis filterbank.
#include <array>
#include <cstdint>
#include <vector>

namespace reference {

// 32 subband values per slot.
using Slot = std::array<double, 32>;

// The synthesis window D[0..511] as a real decoder applies it, measured from its impulse
// responses. D[i] = 32 x C[i] for the analysis window C.
const std::array<double, 512>& synthesis_window();

// Standard analysis of one slot: x[511] is the newest sample, values at full scale 1.0.
Slot analyse_slot(const double* x);

// Long-block MDCT of one band (18 previous, 18 current subband samples) with the 1/9 that makes
// the decoder's inverse unity, then the encoder's alias butterflies over a granule of 576 lines.
void mdct(const double* previous, const double* current, double* lines);
void reduce_aliasing(double* lines);

// A decoder's side: undoes the butterflies, inverse transform with overlap, and returns 18 slots
// of subband samples (odd subbands of odd slots still inverted as the encoder left them).
class InverseTransform {
public:
    std::array<Slot, 18> granule(const double* lines);

private:
    double m_overlap[32][18] = {};
};

// Synthesises subband slots (uninverted) through the decoder library; returns samples at full
// scale 1.0, 32 per slot.
class Synthesis {
public:
    Synthesis();
    ~Synthesis();
    std::vector<double> run(const std::vector<Slot>& slots);

private:
    struct Impl;
    Impl* m_impl;
};

// Largest difference between a and b shifted by delay (b[i + delay] ~ a[i]) over [from, to).
double max_error(const std::vector<double>& a, const std::vector<double>& b, int delay, int from, int to);

}
