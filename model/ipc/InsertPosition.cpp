#include "model/ipc/InsertPosition.h"

#include "audio/readers/FileReaderMP3.h"
#include "audio/readers/FileReaderWAVPCM.h"
#include "audio/readers/WAVInfo.h"
#include "model/PlayChainFactory.h"

namespace {

// The last frame boundary (a frame's first byte, or the byte after its last)
// at or before the position.
std::int64_t frame_start(audio::FileReaderMP3& reader, std::int64_t position)
{
    reader.seek_bytes(0);
    std::int64_t aligned = 0;
    for (;;) {
        const audio::MP3Data frame = reader.get_data(1);
        if (frame.is_empty())
            break;
        const std::int64_t end = reader.get_position_bytes();
        const std::int64_t begin = end - frame.frame_length;
        if (begin > position)
            break;
        aligned = end <= position ? end : begin;
        if (end > position)
            break;
    }
    return aligned;
}

}

std::int64_t align_insert_position(const std::u16string& path, std::int64_t position)
{
    auto chain = open_play_chain(path, nullptr);
    if (!chain || position <= 0)
        return position;
    audio::FileReader* reader = chain->get_reader();
    if (auto* pcm = dynamic_cast<audio::FileReaderWAVPCM*>(reader)) {
        const std::int64_t align = pcm->get_wav_info().block_align;
        return align > 0 ? position - position % align : position;
    }
    if (auto* mp3 = dynamic_cast<audio::FileReaderMP3*>(reader))
        return frame_start(*mp3, position);
    return position;
}
