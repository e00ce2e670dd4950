#include "platform/SoundPlayer.h"

#include "platform/WaveSoundPlayer.h"

namespace platform {

ServiceSlot<SoundPlayer>& sound_player()
{
    static ServiceSlot<SoundPlayer> slot(
        []() -> std::unique_ptr<SoundPlayer> { return std::make_unique<WaveSoundPlayer>(); });
    return slot;
}

}
