#pragma once

#include "audio/readers/WAVInfo.h"

namespace audio {

class WAVInfoGSM : public WAVInfo {
public:
    bool read_extension(os::File& file) override;
    bool write_extension(os::File& file) override;

    std::uint16_t samples_per_block = 1;
    std::uint32_t fact_samples = 0;
    // Whether the file has a "fact" chunk; without one every whole block plays.
    bool has_fact = true;
};

}
