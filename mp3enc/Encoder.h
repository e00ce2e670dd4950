#pragma once

#include "mp3enc/Params.h"

#include <cstdint>

// The encoder's entry points: a plain handle interface. Results are byte counts, a negative
// result is an error, a null handle a failed creation. Nothing throws.
namespace mp3enc {

// Largest sample count per channel that one encode call takes.
constexpr int32_t max_samples_per_call = 1152;

// Most bytes that flush can return: up to five frames of the largest size (1,441 bytes) at the
// MPEG-2 and 2.5 rates (three at the MPEG-1 rates), after the reservoir's last 511 bytes.
constexpr int32_t max_flush_bytes = 5 * 1441 + 511;

// Input rates outside these bounds are refused.
constexpr int32_t min_input_rate = 1000;
constexpr int32_t max_input_rate = 1000000;

// Input rate in Hz, channels (1 or 2), bitrate in kbit/s. Null when a value is refused, the
// combination has no MPEG bitrate index, or memory runs out.
Params* create(int32_t in_rate, int32_t channels, int32_t bitrate);

// Samples per channel of one frame (1152 or 576); 0 without a handle.
int32_t frame_size(const Params* handle);

// Frees the handle, its state and everything the state owns. Null is accepted.
void destroy(Params* handle);

// Takes count int16 samples per channel (right is read only with 2 input channels), appends the
// complete frames they make possible to out and returns the bytes written (0: only buffered).
// out_size 0 leaves the buffer unbounded; -1 when the bytes due do not fit, or when count is
// negative or above max_samples_per_call.
int32_t encode(Params* handle, const int16_t* left, const int16_t* right, int32_t count, uint8_t* out,
    int32_t out_size);

// Encodes what is still held, completes the last frame and returns the bytes written, or a
// negative result of the failing step.
int32_t flush(Params* handle, uint8_t* out, int32_t out_size);

// Setters used by create; each returns 0, or -1 when it refuses.
int32_t set_sample_rate(Params* handle, int32_t hz);
int32_t set_channels(Params* handle, int32_t count);
int32_t set_bitrate(Params* handle, int32_t kbps);

// Parameter block and state with their defaults; null when memory runs out.
Params* alloc();

// Works out output rate, version, bitrate index, lowpass and the stages' set-up from the
// parameters set. 0, or -1 when the combination cannot be encoded.
int32_t init_params(Params& params);

// Encodes one frame from the start of the frame buffers into out (0: unbounded); returns the
// bytes copied out or a negative result.
int32_t encode_frame(Params& params, uint8_t* out, int32_t out_size);

// Moves the finished bytes of the writer to out; 0 when none, -1 when they do not fit.
int32_t copy_output(Params& params, uint8_t* out, int32_t out_size);

}
