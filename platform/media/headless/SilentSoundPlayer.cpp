#include "platform/media/headless/SilentSoundPlayer.h"

namespace platform::headless {

bool SilentSoundPlayer::play(const WaveFormat& format, std::span<const std::uint8_t> samples)
{
    std::lock_guard guard(m_lock);
    m_sounds.push_back({ format, samples.size() });
    return true;
}

std::vector<SilentSoundPlayer::Sound> SilentSoundPlayer::sounds() const
{
    std::lock_guard guard(m_lock);
    return m_sounds;
}

}
