#pragma once

#include "mp3enc/Encoder.h"
#include "mp3enc/State.h"

// An encoder handle destroyed with its scope, for tests that reach into the stages.
struct EncoderHandle {
    mp3enc::Params* params;

    EncoderHandle(int32_t rate, int32_t channels, int32_t kbps)
        : params(mp3enc::create(rate, channels, kbps))
    {
    }

    ~EncoderHandle() { mp3enc::destroy(params); }

    EncoderHandle(const EncoderHandle&) = delete;
    EncoderHandle& operator=(const EncoderHandle&) = delete;

    mp3enc::State& state() { return *params->state; }
};
