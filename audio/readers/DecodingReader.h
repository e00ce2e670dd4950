#pragma once

#include "audio/readers/FileReader.h"
#include "audio/PCMData.h"
#include "audio/Provider.h"

namespace audio {

// A reader that decodes as it reads and hands out 16-bit PCM itself, so its
// chain needs no decoder. Positions count sample frames unless a reader says
// otherwise.
class DecodingReader : public Provider<PCMData>, public FileReader {
public:
    int get_bits_per_sample() override { return 16; }
    std::int64_t time_to_bytes(double seconds) override;
    double bytes_to_time(std::int64_t frames) override;
    bool skip(double seconds) override;
    bool skip_bytes(std::int64_t frames) override;

protected:
    // Pulls the frames through get_data and pushes them on; false when the
    // data ran out first.
    bool pass_frames(std::int64_t frames);
};

}
