#pragma once

#include "audio/writers/FileWriterWAV.h"
#include "audio/GSMData.h"
#include "audio/readers/WAVInfoGSM.h"

namespace audio {

// Stores 65-byte GSM 6.10 blocks (format tag 49, 8000 Hz mono, WAV49
// packing). Positions and sizes count blocks.
class FileWriterWAVGSM : public FileWriterWAV<WAVInfoGSM, GSMData> {
public:
    explicit FileWriterWAVGSM(const std::u16string& path, bool append = false, Opener opener = {});

protected:
    // The format is fixed by the coding.
    bool set_format(const GSMData&) override { return true; }
    bool accepts(const GSMData&) const override { return true; }
};

}
