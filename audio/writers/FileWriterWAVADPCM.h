#pragma once

#include "audio/ADPCMData.h"
#include "audio/writers/FileWriterWAV.h"
#include "audio/readers/WAVInfoADPCM.h"

namespace audio {

// Stores Microsoft ADPCM blocks (format tag 2) with the standard coefficient
// table. Positions and sizes count blocks.
class FileWriterWAVADPCM : public FileWriterWAV<WAVInfoADPCM, ADPCMData> {
public:
    explicit FileWriterWAVADPCM(const std::u16string& path, bool append = false, Opener opener = {});

protected:
    bool set_format(const ADPCMData& chunk) override;
    bool accepts(const ADPCMData& chunk) const override;
};

}
