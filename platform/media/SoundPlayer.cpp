#include "platform/media/SoundPlayer.h"

#include "platform/media/WaveSoundPlayer.h"

namespace platform {

ServiceSlot<SoundPlayer>& sound_player_slot()
{
    static ServiceSlot<SoundPlayer> slot(make_backend<SoundPlayer, WaveSoundPlayer>);
    return slot;
}

}
