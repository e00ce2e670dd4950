// Applies bookmark lists made from the input to real files of every format
// that has a reading in segments, and plays them through to the end as the
// document does, now and then seeking as the position slider does. Playing
// must end: a list of any marks and order never makes it go round.
#include "audio/readers/FileReader.h"
#include "model/PlayChainFactory.h"
#include "model/RangeMarkList.h"
#include "platform/core/Utf8.h"

#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <string>

namespace {

const char* const media[] = {
    ORVANTA_SOURCE_DIR "/tests/fixtures/wav/pcm16_stereo.wav",
    ORVANTA_SOURCE_DIR "/tests/fixtures/wav/adpcm_part_block_mono.wav",
    ORVANTA_SOURCE_DIR "/tests/fixtures/wav/gsm_part_block.wav",
    ORVANTA_SOURCE_DIR "/tests/fixtures/mp3/lame_vbr_xing.mp3",
    ORVANTA_SOURCE_DIR "/fuzz/corpus/vorbis_reader/mono_8k",
};

struct Input {
    const std::uint8_t* data;
    std::size_t size;

    std::uint32_t take(int bytes)
    {
        std::uint32_t value = 0;
        for (int i = 0; i < bytes && size > 0; ++i, ++data, --size)
            value = value << 8 | *data;
        return value;
    }
};

// Marks at small positions, in any unit's range, or anywhere at all; played
// or not, some named twice in the play order.
RangeMarkList marks_of(Input in)
{
    RangeMarkList list;
    for (int n = 0; n < 12 && in.size >= 5; ++n) {
        std::uint32_t kind = in.take(1);
        auto raw = std::int32_t(in.take(4));
        std::int64_t position = kind % 3 == 0 ? raw % 64 : kind % 3 == 1 ? raw % 20000 : raw;
        int index = list.insert(position, u"m", kind & 4);
        if (kind & 8)
            list.append_to_play(index);
    }
    return list;
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    Input in { data, size };
    const std::int32_t request = 64 + std::int32_t(in.take(2) % 4033);
    // One file a run: playing each to its end every time made the runs slow.
    const char* const path = media[in.take(1) % std::size(media)];
    const RangeMarkList list = marks_of(in);
    {
        auto chain = open_play_chain(platform::from_utf8(path), &list);
        if (!chain)
            return 0;
        audio::FileReader* reader = chain->get_reader();
        // Each played segment is read once, and none is longer than the file
        // (the longest here has 50,000 frames).
        const int guard = (list.play_count() + 2) * (50000 / request + 100);
        int pulls = 0;
        for (; pulls < guard; ++pulls) {
            if (pulls == 5)
                reader->seek(reader->get_length() / 3);
            if (chain->get_output()->get_data(request).is_empty())
                break;
        }
        if (pulls == guard)
            std::abort();
        reader->get_position();
    }
    return 0;
}
