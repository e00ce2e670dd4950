#pragma once

#include "audio/readers/WAVInfo.h"

namespace audio {

class WAVInfoPCM : public WAVInfo {
public:
    // Reads nothing more; accepts tag 1 with a usable format.
    bool read_extension(os::File& file) override;
};

}
