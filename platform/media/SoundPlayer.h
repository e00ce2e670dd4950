#pragma once

#include "platform/core/Service.h"
#include "platform/media/Wave.h"

#include <cstdint>
#include <span>

namespace platform {

// Plays a short sound to its end before returning, as the handheld's
// synchronous sound call does.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;

    // Samples in the format; false when no device plays them.
    virtual bool play(const WaveFormat& format, std::span<const std::uint8_t> samples) = 0;
};

// The program's sound player: the waveform output (WaveSoundPlayer) unless
// something else is installed.
ServiceSlot<SoundPlayer>& sound_player_slot();

}
