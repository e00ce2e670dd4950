#pragma once

#include <cstdint>

namespace mp3enc {

struct State;

// The handle of one encoder: eleven words, zero-initialised, followed in memory by nothing else.
// The audio engine reads frame_size to size its input chunks.
struct Params {
    int32_t channels = 0; // input channels, 1 or 2
    int32_t in_rate = 0; // input sample rate, Hz
    int32_t out_rate = 0; // output sample rate, Hz; 0 = chosen at set-up
    int32_t mode = 0; // header channel mode: 1 joint stereo, 3 mono
    int32_t bitrate = 0; // kbit/s
    float compression_ratio = 0; // bits of 16-bit PCM per encoded bit
    int32_t no_reservoir = 0; // 1 from 320 kbit/s up: no bit reservoir
    int32_t lowpass_hz = 0; // lowpass frequency chosen at set-up
    int32_t version = 0; // header version bit: 1 MPEG-1, 0 MPEG-2 or 2.5
    int32_t frame_size = 0; // samples per frame and channel: 1152 or 576
    State* state = nullptr; // owned by the handle
};

}
