#pragma once

#include "audio/ADPCMData.h"
#include "audio/readers/FileReaderWAVBlocks.h"
#include "audio/readers/WAVInfoADPCM.h"

namespace audio {

// Hands out the stored Microsoft ADPCM blocks of a WAV file for a decoder.
class FileReaderWAVADPCM : public FileReaderWAVBlocks<ADPCMData, WAVInfoADPCM> {
public:
    explicit FileReaderWAVADPCM(const std::u16string& path);

private:
    ADPCMData make_block(liba::SharedBuffer bytes) const override;
};

}
