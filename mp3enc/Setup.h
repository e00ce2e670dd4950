#pragma once

#include <cstdint>

// The tables and formulas that choose the output format of an encoder.
namespace mp3enc {

struct StandardRate {
    int32_t rate = 0;
    int32_t version = 0; // 1 MPEG-1, 0 MPEG-2 or 2.5
    int32_t rate_index = 0; // sampling-frequency index of the header
};

// The MPEG rate for a wanted rate: the smallest standard rate not below it, 48 kHz at most.
StandardRate standard_rate(double wanted);

// kbit/s of a bitrate index (1..14) in the version's row; 0 outside it.
int32_t bitrate_of_index(int32_t version, int32_t index);
// Index 1..14 of kbit/s in the version's row, 0 when the row lacks it.
int32_t index_of_bitrate(int32_t version, int32_t kbps);
// The row's value nearest to kbps, the lower one on a tie.
int32_t nearest_bitrate(int32_t version, double kbps);

// Audio bandwidth in Hz worth coding at bits_per_second for the output rate; channel_factor is
// 2.0 in joint stereo, 1.0 in mono.
double optimum_bandwidth(int32_t bits_per_second, int32_t out_rate, double channel_factor);

// Scalefactor band boundaries, in lines, of the version and output rate: 23 long, 14 short.
const int32_t* long_band_bounds(int32_t out_rate);
const int32_t* short_band_bounds(int32_t out_rate);

}
