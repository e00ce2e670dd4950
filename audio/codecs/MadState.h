#pragma once

#include <cstddef>
#include <cstdint>

// The glue over libmad: one decoder state, frame by frame, and the conversion
// of its fixed-point samples (28 fraction bits, 1.0 = 0x10000000) to PCM.
namespace audio {

struct MadState;

// Null when out of memory.
MadState* mad_state_create();
void mad_state_destroy(MadState* state);

// What mad_decode_frame returns.
enum MadResult : int {
    mad_ok = 0,
    mad_need_more = 1, // the bytes hold no whole frame
    mad_output_too_small = 2, // nothing written
    mad_bad_depth = 3, // bits other than 8, 16, 24 or 32; nothing written
    mad_recoverable = -1, // a damaged frame; the next may decode
    mad_failed = -2,
};

// Decodes the frame at the start of bytes and writes its samples as
// interleaved little-endian PCM of the given depth; the half-rate flag
// synthesises every second sample only. The bytes are copied with libmad's
// guard behind them, so a slice that ends with its frame decodes.
int mad_decode_frame(MadState* state, const std::uint8_t* bytes, std::size_t size, std::uint8_t* output,
    std::size_t output_size, std::size_t& consumed, std::size_t& written, int bits, bool half_rate);

// One sample to a signed value of depth bits (at most 24), truncated, with
// what truncation cut off carried in error to the next sample of the channel.
// Beyond full scale it clamps, and only the truncation of the clamped value
// is carried, so the error never leaves the range of one step.
std::int32_t mad_sample_to_pcm(std::int32_t sample, std::int32_t& error, int depth);

// Writes length frames of one or two channels (right ignored for one) at 8
// (unsigned), 16, 24 or 32 bits; returns the bytes written, 0 for another depth.
std::size_t pcm_from_mad(const std::int32_t* left, const std::int32_t* right, int channels, int length,
    int bits, std::uint8_t* output);

}
