#pragma once

#include "audio/readers/FileReaderWAVBlocks.h"
#include "audio/GSMData.h"
#include "audio/readers/WAVInfoGSM.h"

namespace audio {

// Hands out the stored 65-byte GSM 6.10 blocks of a WAV file for a decoder.
class FileReaderWAVGSM : public FileReaderWAVBlocks<GSMData, WAVInfoGSM> {
public:
    explicit FileReaderWAVGSM(const std::u16string& path);

private:
    GSMData make_block(liba::SharedBuffer bytes) const override;
};

}
