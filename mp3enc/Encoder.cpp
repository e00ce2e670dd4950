#include "mp3enc/Encoder.h"

#include "mp3enc/Filterbank.h"
#include "mp3enc/FrameWriter.h"
#include "mp3enc/Quantiser.h"
#include "mp3enc/Setup.h"
#include "mp3enc/State.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

namespace mp3enc {

namespace {

constexpr int32_t priming_samples = 286 + 1152 + 576;
constexpr int32_t priming_copied = 852;

// Callers pass 0 for "no bound"; inside, the room left is always explicit, so a buffer filled to
// the last byte is not mistaken for an unbounded one.
constexpr int32_t unbounded = INT32_MAX;

// Rounds of silence in a row that may code no frame before a flush gives up: the slowest
// conversion (1 MHz in, 8 kHz out) needs a few hundred to fill one frame.
constexpr int32_t idle_rounds = 1000;

int32_t copy_within(Params& params, uint8_t* out, int32_t room)
{
    BitWriter& w = params.state->writer;
    const int32_t count = w.byte_pos + 1;
    if (count <= 0)
        return 0;
    if (count > room)
        return -1;
    std::memcpy(out, w.buffer, count);
    w.byte_pos = -1;
    w.free_bits = 0;
    return count;
}

int32_t encode_frame_within(Params& params, uint8_t* out, int32_t room);

struct Filled {
    int32_t consumed = 0;
    int32_t produced = 0;
};

// Moves staged input into the frame buffers behind the samples held, converting the rate when
// the output rate differs from the input's.
Filled fill_buffer(Params& params, int32_t offset, int32_t available)
{
    State& s = *params.state;
    Filled result;
    if (s.resample_ratio >= 0.9999f && s.resample_ratio <= 1.0001f) {
        const int32_t n = std::min(available, params.frame_size);
        for (int32_t ch = 0; ch < s.out_channels; ++ch)
            std::memcpy(&s.frame_buffer[ch][s.samples_held], &s.staging[ch][offset], n * sizeof(int16_t));
        result.consumed = result.produced = n;
        return result;
    }
    for (int32_t ch = 0; ch < s.out_channels; ++ch) {
        const auto r = s.resampler.convert(
            ch, &s.staging[ch][offset], available, &s.frame_buffer[ch][s.samples_held], params.frame_size);
        result.consumed = r.consumed;
        result.produced = r.produced;
    }
    return result;
}

int32_t fill_target(const Params& params)
{
    return std::max(params.frame_size + 752, 862 + 576 * params.state->granules);
}

// Runs the filterbank once over a stretch that ends where the first frame begins, so the first
// frame's transform has a previous granule to overlap.
void prime(State& s)
{
    int16_t buffers[2][priming_samples] = {};
    const int32_t at = granule_lines * s.granules;
    for (int32_t ch = 0; ch < s.out_channels; ++ch)
        std::memcpy(&buffers[ch][at], s.frame_buffer[ch], priming_copied * sizeof(int16_t));
    for (auto& granule : s.side.granule) {
        for (auto& channel : granule)
            channel.block_type = 2;
    }
    const int16_t* const input[2] = { buffers[0], buffers[1] };
    analyse_frame(s, input);
}

FrameBudget frame_budget(const Params& params)
{
    const State& s = *params.state;
    const int32_t kbps = bitrate_of_index(params.version, s.bitrate_index);
    FrameBudget budget;
    budget.frame_bits = 8 * ((params.version + 1) * 72000 * kbps / params.out_rate + s.padding);
    budget.mean_bits = (budget.frame_bits - 8 * s.side_info_len) / s.granules;
    return budget;
}

}

int32_t frame_size(const Params* handle)
{
    return handle ? handle->frame_size : 0;
}

Params* alloc()
{
    auto* params = new (std::nothrow) Params {};
    if (!params)
        return nullptr;
    params->state = new (std::nothrow) State {};
    if (!params->state) {
        delete params;
        return nullptr;
    }
    params->mode = 3;
    return params;
}

void destroy(Params* handle)
{
    if (!handle)
        return;
    delete handle->state;
    delete handle;
}

int32_t set_sample_rate(Params* handle, int32_t hz)
{
    if (!handle)
        return -1;
    handle->in_rate = hz;
    return 0;
}

int32_t set_channels(Params* handle, int32_t count)
{
    if (!handle || count <= 0 || count > 2)
        return -1;
    handle->channels = count;
    return 0;
}

int32_t set_bitrate(Params* handle, int32_t kbps)
{
    if (!handle)
        return -1;
    handle->bitrate = kbps;
    if (kbps >= 320)
        handle->no_reservoir = 1;
    return 0;
}

Params* create(int32_t in_rate, int32_t channels, int32_t bitrate)
{
    Params* params = alloc();
    if (!params)
        return nullptr;
    if (set_sample_rate(params, in_rate) < 0 || set_channels(params, channels) < 0
        || set_bitrate(params, bitrate) < 0 || init_params(*params) < 0) {
        destroy(params);
        return nullptr;
    }
    return params;
}

int32_t init_params(Params& params)
{
    State& s = *params.state;
    // Rates far outside audio are refused: above the limit the arithmetic would wrap, below it one
    // call of input would turn into thousands of frames.
    if (params.in_rate < min_input_rate || params.in_rate > max_input_rate || params.bitrate < 0
        || params.bitrate > 1000)
        return -1;

    s.in_channels = params.channels;
    params.mode = params.channels == 2 ? 1 : 3;
    s.out_channels = params.channels == 2 ? 2 : 1;
    s.mode_extension = 0;

    if (params.bitrate == 0 && params.compression_ratio == 0)
        params.compression_ratio = 11.025f;
    if (params.bitrate == 0 && params.compression_ratio > 0) {
        const StandardRate out = standard_rate(0.97 * params.in_rate);
        params.out_rate = out.rate;
        const double kbps = double(out.rate) * s.out_channels * 16 / (params.compression_ratio * 1000);
        params.bitrate = nearest_bitrate(out.version, kbps);
    }
    if (params.out_rate == 0) {
        params.out_rate = standard_rate(0.97 * params.in_rate).rate;
        if (params.bitrate > 0) {
            const double ratio = double(params.out_rate) * s.out_channels * 16 / (params.bitrate * 1000.0);
            if (ratio > 13)
                params.out_rate = standard_rate(params.bitrate * 10000.0 / (16 * s.out_channels)).rate;
        }
    }

    s.granules = params.out_rate <= 24000 ? 1 : 2;
    params.frame_size = granule_lines * s.granules;
    s.resample_ratio = float(double(params.in_rate) / params.out_rate);
    params.compression_ratio
        = float(double(params.out_rate) * s.out_channels * 16 / (params.bitrate * 1000.0));

    // A bitrate with no index is refused before the bandwidth is worked out from it: too low a
    // bitrate leaves nothing for the audio, and the bandwidth formula would take its logarithm.
    const StandardRate out = standard_rate(params.out_rate);
    params.version = out.version;
    s.rate_index = out.rate_index;
    s.bitrate_index = index_of_bitrate(params.version, params.bitrate);
    if (s.bitrate_index == 0)
        return -1;

    params.lowpass_hz
        = int32_t(optimum_bandwidth(params.bitrate * 1000, params.out_rate, params.mode == 1 ? 2.0 : 1.0));
    if (params.lowpass_hz > 0)
        s.lowpass1 = s.lowpass2 = float(2.0 * params.lowpass_hz / params.out_rate);
    design_lowpass(s);

    if (params.in_rate != params.out_rate && !s.resampler.init(params.in_rate, params.out_rate))
        return -1;
    if (init_writer(params) < 0)
        return -1;
    std::copy_n(long_band_bounds(params.out_rate), 23, s.sfb_long);
    std::copy_n(short_band_bounds(params.out_rate), 14, s.sfb_short);
    if (params.version == 1)
        s.side_info_len = s.out_channels == 2 ? 36 : 21;
    else
        s.side_info_len = s.out_channels == 2 ? 21 : 13;
    return 0;
}

int32_t copy_output(Params& params, uint8_t* out, int32_t out_size)
{
    return copy_within(params, out, out_size == 0 ? unbounded : out_size);
}

int32_t encode_frame(Params& params, uint8_t* out, int32_t out_size)
{
    return encode_frame_within(params, out, out_size == 0 ? unbounded : out_size);
}

namespace {

int32_t encode_frame_within(Params& params, uint8_t* out, int32_t room)
{
    State& s = *params.state;
    s.mode_extension = 0;
    if (!s.primed) {
        s.frac_slots = ((params.version + 1) * 72000 * params.bitrate) % params.out_rate;
        s.slot_lag = s.frac_slots;
        prime(s);
        build_step_table();
        build_region_table(s);
        s.gain_tables_built = true;
        s.primed = true;
    }

    s.slot_lag -= s.frac_slots;
    s.padding = 0;
    if (s.slot_lag < 0) {
        s.slot_lag += params.out_rate;
        s.padding = 1;
    }

    for (auto& granule : s.side.granule) {
        for (auto& channel : granule)
            channel.block_type = 0;
    }
    const int16_t* const input[2] = { s.frame_buffer[0], s.frame_buffer[1] };
    analyse_frame(s, input);
    // Every block is long, so the two channels' block types always agree.
    if (params.mode == 1)
        s.mode_extension = 2;

    const FrameBudget budget = frame_budget(params);
    quantise_frame(params, budget);
    write_frame(params, budget);
    return copy_within(params, out, room);
}

}

namespace {

int32_t encode_within(
    Params& params, const int16_t* left, const int16_t* right, int32_t count, uint8_t* out, int32_t room)
{
    State& s = *params.state;
    int32_t written = copy_within(params, out, room);
    if (written < 0)
        return written;

    std::memcpy(s.staging[0], left, count * sizeof(int16_t));
    if (s.in_channels == 2)
        std::memcpy(s.staging[1], right, count * sizeof(int16_t));

    const int32_t target = fill_target(params);
    int32_t offset = 0;
    while (offset < count) {
        const Filled filled = fill_buffer(params, offset, count - offset);
        if (filled.consumed == 0 && filled.produced == 0)
            break;
        offset += filled.consumed;
        s.samples_held += filled.produced;
        s.samples_to_encode += filled.produced;
        if (s.samples_held < target)
            continue;
        const int32_t bytes = encode_frame_within(params, out + written, room - written);
        // The frame is coded even when its bytes do not fit: they stay in the writer for the
        // next call, and the frame buffers move on so no frame is coded twice.
        s.samples_held -= params.frame_size;
        s.samples_to_encode -= params.frame_size;
        ++s.frames_coded;
        for (int32_t ch = 0; ch < s.out_channels; ++ch)
            std::memmove(
                s.frame_buffer[ch], &s.frame_buffer[ch][params.frame_size], s.samples_held * sizeof(int16_t));
        if (bytes < 0)
            return bytes;
        written += bytes;
    }
    return written;
}

}

int32_t encode(
    Params* handle, const int16_t* left, const int16_t* right, int32_t count, uint8_t* out, int32_t out_size)
{
    if (!handle || !handle->state || count < 0 || count > max_samples_per_call || out_size < 0)
        return -1;
    if (count == 0)
        return 0;
    if (!left || (handle->state->in_channels == 2 && !right) || !out)
        return -1;
    return encode_within(*handle, left, right, count, out, out_size == 0 ? unbounded : out_size);
}

int32_t flush(Params* handle, uint8_t* out, int32_t out_size)
{
    if (!handle || !handle->state || out_size < 0 || !out)
        return -1;
    Params& params = *handle;
    State& s = *params.state;
    static constexpr int16_t silence[max_samples_per_call] = {};
    const int32_t limit = out_size == 0 ? unbounded : out_size;
    int32_t written = 0;
    // What is still to encode counts output samples: frames are coded until each of them is in
    // one. Silence is fed in rounds that make at most a frame of output each, whatever the
    // rate conversion makes of them.
    const int64_t first = s.frames_coded;
    const int32_t still = s.samples_to_encode;
    const int64_t due = first + std::max(0, still + params.frame_size - 1) / params.frame_size;
    const int32_t round = int32_t(std::clamp<int64_t>(
        int64_t(params.frame_size) * params.in_rate / params.out_rate, 1, max_samples_per_call));
    for (int32_t idle = 0; s.frames_coded < due && idle < idle_rounds;) {
        const int64_t before = s.frames_coded;
        const int32_t bytes = encode_within(params, silence, silence, round, out + written, limit - written);
        if (bytes < 0)
            return bytes;
        written += bytes;
        idle = s.frames_coded == before ? idle + 1 : 0;
    }
    // The silence fed counts for nothing still to encode.
    s.samples_to_encode = int32_t(still - (s.frames_coded - first) * params.frame_size);
    flush_bitstream(params);
    const int32_t bytes = copy_within(params, out + written, limit - written);
    if (bytes < 0)
        return bytes;
    return written + bytes;
}

}
