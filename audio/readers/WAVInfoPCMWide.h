#pragma once

#include "audio/readers/WAVInfoPCM.h"

namespace audio {

// The header of a PCM file as the PCM reader plays it: integer samples
// (tag 1), IEEE floats (tag 3), and either inside the extensible header
// (tag 0xFFFE) that tools write for samples wider than 16 bits, of one or
// two channels. Writers keep to plain tag 1 (WAVInfoPCM).
class WAVInfoPCMWide : public WAVInfoPCM {
public:
    bool read_extension(os::File& file) override;

    // The coding inside an extensible header, else the tag itself.
    std::uint16_t coding = 0;

    // Floats, and integers wider than 16 bits, are handed out as 16 bits.
    bool is_narrowed() const { return narrow; }

private:
    bool narrow = false;
};

}
