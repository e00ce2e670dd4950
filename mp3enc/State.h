#pragma once

#include "mp3enc/Resampler.h"

#include <cstdint>

namespace mp3enc {

constexpr int32_t frame_buffer_samples = 3984;
constexpr int32_t staging_samples = 1152;
constexpr int32_t granule_lines = 576;
constexpr int32_t subbands = 32;
constexpr int32_t slots_per_granule = 18;
constexpr int32_t writer_buffer_bytes = 2500;
constexpr int32_t header_ring_size = 256;
constexpr int32_t max_side_info_bytes = 36; // header included

// Quantisation and side information of one granule of one channel.
struct GranuleInfo {
    int32_t part2_3_length = 0;
    int32_t big_values = 0; // a count of lines (written as half)
    int32_t count1 = 0; // end of the count1 region, lines
    int32_t global_gain = 0;
    int32_t scalefac_compress = 0;
    int32_t block_type = 0; // 0 long; 2 short, only while priming
    int32_t table_select[3] = {};
    int32_t region0_count = 0;
    int32_t region1_count = 0;
    int32_t preflag = 0;
    int32_t scalefac_scale = 0;
    int32_t count1table_select = 0;
    int32_t part2_length = 0;
    int32_t sfb_lmax = 21;
    int32_t sfb_smax = 12;
    int32_t scalefac_l[22] = {};
    int32_t scalefac_s[13][3] = {};
    int32_t lines[granule_lines] = {}; // quantised
};

struct SideInfo {
    int32_t main_data_begin = 0; // bytes
    int32_t discard_bits = 0; // ancillary bits written after the frame's main data
    int32_t scfsi[2][4] = {}; // per channel
    GranuleInfo granule[2][2]; // [granule][channel]
};

// Header and side information of one frame, held until the stream reaches its slot.
struct HeaderSlot {
    int32_t write_time = 0; // total bit count at which these bytes enter the stream
    int32_t bit_pos = 0;
    uint8_t bytes[max_side_info_bytes] = {};
};

// Bits go most significant first. copy_output hands out byte_pos + 1 bytes and then sets
// byte_pos to -1 and free_bits to 0, so the next bit written starts buffer[0].
struct BitWriter {
    uint8_t buffer[writer_buffer_bytes] = {};
    int32_t byte_pos = -1; // index of the byte being filled, -1 when empty
    int32_t free_bits = 0; // bits still free in buffer[byte_pos]; 0: start a new byte
    int32_t total_bits = 0;
    HeaderSlot ring[header_ring_size];
    int32_t write_index = 0; // next header to emit
    int32_t fill_index = 0; // header being built
    int32_t ancillary_bit = 0; // next value of the alternating fill
};

// Chooses the Huffman table of lines[begin, end): returns the table number and adds its bits to
// *bits. Picked once per encoder on its first frame.
using TableChoice = int32_t (*)(const int32_t* lines, int32_t begin, int32_t end, int32_t* bits);

// Bits of the frame being encoded.
struct FrameBudget {
    int32_t frame_bits = 0; // 8 x bytes of the frame's slot, header included
    int32_t mean_bits = 0; // per granule, side information excluded
};

// Everything an encoder keeps between calls; allocated with its Params, owned by it.
struct State {
    bool primed = false; // the first frame's priming pass has run
    bool gain_tables_built = false;
    int32_t padding = 0; // padding bit of the current frame
    int32_t granules = 2; // per frame: 2 for MPEG-1, 1 otherwise
    int32_t in_channels = 1;
    int32_t out_channels = 1;

    int16_t frame_buffer[2][frame_buffer_samples] = {}; // left or mid, right
    int16_t staging[2][staging_samples] = {};

    int32_t samples_to_encode = 576 + 1152;
    int64_t frames_coded = 0;
    int32_t samples_held = 528; // the zero samples that lead the stream

    float resample_ratio = 1.0f; // in_rate / out_rate
    int32_t bitrate_index = 0;
    int32_t rate_index = 0;
    int32_t mode_extension = 0; // 0, or 2 = mid/side

    // Edges as fractions of the Nyquist frequency; there is no highpass.
    float lowpass1 = 0, lowpass2 = 0, highpass1 = 0, highpass2 = 0;
    int32_t lowpass_band = 32; // first subband removed
    int32_t highpass_band = -1;
    int32_t lowpass_start = 0, lowpass_end = 0; // transition zone, subbands
    int32_t highpass_start = 0, highpass_end = 0;

    BitWriter writer;
    SideInfo side;

    // Subband samples per output channel: two rows of 18 x 32, used alternately.
    int64_t subband[2][2][slots_per_granule][subbands] = {};
    int64_t lowpass_gain[subbands] = {}; // Q14
    int64_t highpass_gain[subbands] = {}; // Q14
    // Spectral values of the frame, Q32 (x / 2^32 is the standard's value). [granule][channel]
    int64_t spectrum[2][2][granule_lines] = {};

    int32_t frac_slots = 0; // padding arithmetic
    int32_t slot_lag = 0;

    int32_t start_gain[2] = { 180, 180 };
    int32_t gain_step = 4;
    int32_t reservoir_size = 0; // bits
    int32_t reservoir_max = 0;

    uint8_t region_table[granule_lines / 2 + 1][2] = {}; // [big_values / 2] -> region0, region1
    TableChoice choose_table = nullptr;
    int32_t sfb_long[23] = {}; // scalefactor band boundaries, lines
    int32_t sfb_short[14] = {};
    int32_t side_info_len = 0; // bytes, the 4-byte header included

    Resampler resampler;
};

}
