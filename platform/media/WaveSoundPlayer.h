#pragma once

#include "platform/media/SoundPlayer.h"

namespace platform {

// Plays through the waveform output of the installed wave driver, so with no
// driver (as in tests) nothing sounds and play answers false.
class WaveSoundPlayer final : public SoundPlayer {
public:
    bool play(const WaveFormat& format, std::span<const std::uint8_t> samples) override;
};

}
