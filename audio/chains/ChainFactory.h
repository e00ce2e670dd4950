#pragma once

#include "audio/chains/PlayChain.h"
#include "audio/chains/RecordChain.h"
#include "audio/writers/FileWriter.h"

#include <cstdint>
#include <memory>
#include <string>

namespace audio {

// The chain of the first reader that opens the file, tried in a fixed order
// (PCM, ADPCM and GSM WAV, Vorbis, Musepack, MP3); null when none does. The
// readers alone recognise the format, never the file's extension.
std::unique_ptr<PlayChain> create_play_chain(const std::u16string& path);

// A record chain by format name ("PCM", "mp3", "ADPCM", "GSM", case
// included); null for any other name. Appending adds to what the file holds.
// An encoder that cannot code the recording's channels, bits and rate (or,
// for MP3, the bitrate at them) gives null rather than a file that never
// comes. A target that cannot be opened still gives a chain, whose writer is
// not ok. The writer opens its file through the opener (tests fill the disk).
std::unique_ptr<RecordChain> create_record_chain(const std::u16string& path,
    const std::u16string& format_name, std::int32_t channels, std::int32_t bits_per_sample,
    std::int32_t sample_rate, std::int32_t bitrate, bool append, FileWriter::Opener opener = {});

}
