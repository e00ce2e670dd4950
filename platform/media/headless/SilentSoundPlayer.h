#pragma once

#include "platform/media/SoundPlayer.h"

#include <mutex>
#include <vector>

namespace platform::headless {

// Plays nothing and keeps what it was asked to play, for tests.
class SilentSoundPlayer final : public SoundPlayer {
public:
    struct Sound {
        WaveFormat format;
        std::size_t bytes = 0;
    };

    bool play(const WaveFormat& format, std::span<const std::uint8_t> samples) override;

    std::vector<Sound> sounds() const;

private:
    mutable std::mutex m_lock;
    std::vector<Sound> m_sounds;
};

}
