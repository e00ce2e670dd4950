#pragma once

#include "mp3enc/Params.h"
#include "mp3enc/State.h"

// Huffman coding, side information, frame assembly and the bitstream writer.
namespace mp3enc {

// Writer set-up at the end of init_params (the scalefactor bands are not set yet). 0, or -1.
int32_t init_writer(Params& params);

// On the first frame: the region table from state.sfb_long and the table-choice function.
void build_region_table(State& state);

// Bits of the quantised lines of one granule; fills big_values, count1, the regions, the table
// selections and count1table_select. 100000 when a line is too large to code.
int32_t count_bits(State& state, GranuleInfo& granule);

// Header, side information, main data and ancillary bits of the frame into the writer.
void write_frame(Params& params, const FrameBudget& budget);

// Completes the stream: pads so every held header is written; reservoir and main_data_begin
// become 0.
void flush_bitstream(Params& params);

// The marker and version text that the ancillary fill carries.
constexpr char ancillary_marker[] = "ORVA";
constexpr char ancillary_version[] = "1.8";

// Parts of write_frame. The header and side information of the current frame into bytes
// (state.side_info_len of them).
void build_side_info(const Params& params, uint8_t* bytes);
// The Huffman-coded lines of one granule; returns the bits written.
int32_t write_main_data(State& state, const GranuleInfo& granule);
// The marker, the version text as far as they fit, then alternating bits.
void write_ancillary(State& state, int32_t bits);

}
