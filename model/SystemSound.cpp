#include "model/SystemSound.h"

#include "audio/readers/FileReader.h"
#include "liba/Path.h"
#include "model/PlayChainFactory.h"
#include "os/PathMacros.h"
#include "platform/media/SoundPlayer.h"

#include <vector>

namespace {

// A beep, not a song: longer sounds are cut here.
constexpr std::size_t longest_sound = 4 * 1024 * 1024;

}

bool play_system_sound(std::u16string_view name)
{
    // The system's own sound first; the program brings its own for a system that has none.
    auto chain = open_play_chain(liba::join_path(os::expand_path_macros(u"%windows%"), name), nullptr);
    if (!chain)
        chain = open_play_chain(liba::join_path(os::expand_path_macros(u"%app_path%"), name), nullptr);
    if (!chain)
        return false;
    audio::PCMData first = chain->get_output()->get_data(4096);
    if (first.is_empty())
        return false;
    const platform::WaveFormat format { first.channels, first.bits_per_sample, first.sample_rate };
    std::vector<std::uint8_t> samples(first.bytes(), first.bytes() + first.size());
    while (samples.size() < longest_sound) {
        audio::PCMData next = chain->get_output()->get_data(4096);
        if (next.is_empty() || next.channels != format.channels
            || next.bits_per_sample != format.bits_per_sample || next.sample_rate != format.sample_rate)
            break;
        samples.insert(samples.end(), next.bytes(), next.bytes() + next.size());
    }
    return platform::sound_player_slot().get().play(format, samples);
}
