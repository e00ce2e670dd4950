#include "audio/codecs/MadState.h"

#include <algorithm>
#include <cstring>
#include <mad.h>
#include <new>
#include <type_traits>
#include <vector>

static_assert(std::is_same_v<mad_fixed_t, std::int32_t>, "libmad samples are 32-bit");

namespace audio {

struct MadState {
    mad_stream stream;
    mad_frame frame;
    mad_synth synth;
    // The frame's bytes followed by libmad's zero guard.
    std::vector<std::uint8_t> input;
};

MadState* mad_state_create()
{
    auto* state = new (std::nothrow) MadState();
    if (!state)
        return nullptr;
    mad_stream_init(&state->stream);
    mad_frame_init(&state->frame);
    mad_synth_init(&state->synth);
    return state;
}

void mad_state_destroy(MadState* state)
{
    if (!state)
        return;
    mad_frame_finish(&state->frame);
    mad_stream_finish(&state->stream);
    delete state;
}

int mad_decode_frame(MadState* state, const std::uint8_t* bytes, std::size_t size, std::uint8_t* output,
    std::size_t output_size, std::size_t& consumed, std::size_t& written, int bits, bool half_rate)
{
    consumed = written = 0;
    if (bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return mad_bad_depth;
    if (size == 0)
        return mad_need_more;
    // libmad reads up to MAD_BUFFER_GUARD bytes past a frame's end, and
    // without them it refuses the last frame of a slice.
    state->input.resize(size + MAD_BUFFER_GUARD);
    std::memcpy(state->input.data(), bytes, size);
    std::memset(state->input.data() + size, 0, MAD_BUFFER_GUARD);
    mad_stream_buffer(&state->stream, state->input.data(), state->input.size());
    if (mad_frame_decode(&state->frame, &state->stream) != 0) {
        if (state->stream.error == MAD_ERROR_BUFLEN)
            return mad_need_more;
        return MAD_RECOVERABLE(state->stream.error) ? mad_recoverable : mad_failed;
    }
    if (half_rate)
        state->frame.options |= MAD_OPTION_HALFSAMPLERATE;
    else
        state->frame.options &= ~MAD_OPTION_HALFSAMPLERATE;
    mad_synth_frame(&state->synth, &state->frame);

    const mad_pcm& pcm = state->synth.pcm;
    std::size_t need = std::size_t(pcm.channels) * pcm.length * std::size_t(bits) / 8;
    if (output_size < need)
        return mad_output_too_small;
    written = pcm_from_mad(pcm.samples[0], pcm.samples[1], pcm.channels, pcm.length, bits, output);
    consumed = std::size_t(state->stream.next_frame - state->input.data());
    consumed = std::min(consumed, size);
    return mad_ok;
}

std::int32_t mad_sample_to_pcm(std::int32_t sample, std::int32_t& error, int depth)
{
    constexpr std::int64_t one = std::int64_t(1) << MAD_F_FRACBITS;
    int shift = MAD_F_FRACBITS + 1 - depth;
    std::int64_t s = std::int64_t(sample) + error;
    s = std::clamp(s, -one, one - 1);
    std::int64_t q = s & ~((std::int64_t(1) << shift) - 1);
    error = static_cast<std::int32_t>(s - q);
    return static_cast<std::int32_t>(q >> shift);
}

namespace {

// What the player asks for, without a test of the depth per sample.
std::size_t pcm16_from_mad(
    const std::int32_t* left, const std::int32_t* right, int channels, int length, std::uint8_t* output)
{
    std::int32_t left_error = 0, right_error = 0;
    std::uint8_t* out = output;
    if (channels == 2) {
        for (int i = 0; i < length; ++i) {
            const std::int32_t l = mad_sample_to_pcm(left[i], left_error, 16);
            const std::int32_t r = mad_sample_to_pcm(right[i], right_error, 16);
            out[0] = static_cast<std::uint8_t>(l);
            out[1] = static_cast<std::uint8_t>(l >> 8);
            out[2] = static_cast<std::uint8_t>(r);
            out[3] = static_cast<std::uint8_t>(r >> 8);
            out += 4;
        }
    } else {
        for (int i = 0; i < length; ++i) {
            const std::int32_t v = mad_sample_to_pcm(left[i], left_error, 16);
            out[0] = static_cast<std::uint8_t>(v);
            out[1] = static_cast<std::uint8_t>(v >> 8);
            out += 2;
        }
    }
    return std::size_t(out - output);
}

}

std::size_t pcm_from_mad(const std::int32_t* left, const std::int32_t* right, int channels, int length,
    int bits, std::uint8_t* output)
{
    if (bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return 0;
    channels = std::clamp(channels, 1, 2);
    if (bits == 16)
        return pcm16_from_mad(left, right, channels, length, output);
    const std::int32_t* sources[2] = { left, right };
    std::int32_t errors[2] = { 0, 0 };
    int depth = std::min(bits, 24);
    std::uint8_t* out = output;
    for (int i = 0; i < length; ++i) {
        for (int c = 0; c < channels; ++c) {
            std::int32_t v = mad_sample_to_pcm(sources[c][i], errors[c], depth);
            switch (bits) {
            case 8:
                *out++ = static_cast<std::uint8_t>(v + 128);
                break;
            case 16:
                *out++ = static_cast<std::uint8_t>(v);
                *out++ = static_cast<std::uint8_t>(v >> 8);
                break;
            case 24:
                *out++ = static_cast<std::uint8_t>(v);
                *out++ = static_cast<std::uint8_t>(v >> 8);
                *out++ = static_cast<std::uint8_t>(v >> 16);
                break;
            default: {
                auto w = static_cast<std::uint32_t>(v) << 8;
                *out++ = static_cast<std::uint8_t>(w);
                *out++ = static_cast<std::uint8_t>(w >> 8);
                *out++ = static_cast<std::uint8_t>(w >> 16);
                *out++ = static_cast<std::uint8_t>(w >> 24);
            }
            }
        }
    }
    return std::size_t(out - output);
}

}
