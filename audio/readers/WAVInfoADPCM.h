#pragma once

#include "audio/readers/WAVInfo.h"

#include <vector>

namespace audio {

class WAVInfoADPCM : public WAVInfo {
public:
    struct Coefficients {
        std::int32_t coef1 = 0;
        std::int32_t coef2 = 0;
    };

    bool read_extension(os::File& file) override;
    bool write_extension(os::File& file) override;

    std::uint16_t samples_per_block = 1;
    // As stored in the file; decoding uses its own fixed table.
    std::vector<Coefficients> coefficients;
    std::uint32_t fact_samples = 0;
    // Whether the file has a "fact" chunk; without one every whole block plays.
    bool has_fact = true;
};

}
