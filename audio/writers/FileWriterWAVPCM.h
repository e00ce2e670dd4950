#pragma once

#include "audio/codecs/Encoder.h"
#include "audio/writers/FileWriterWAV.h"
#include "audio/PCMData.h"
#include "audio/readers/WAVInfoPCM.h"

namespace audio {

// Stores PCM as it comes (format tag 1). The file takes the format of the
// first chunk; chunks of another format are skipped.
class FileWriterWAVPCM : public FileWriterWAV<WAVInfoPCM, PCMData>, public Encoder {
public:
    explicit FileWriterWAVPCM(const std::u16string& path, bool append = false, Opener opener = {});

    // The stored bits per second; 0 until the format is known.
    int get_bitrate() override;

protected:
    bool set_format(const PCMData& chunk) override;
    bool accepts(const PCMData& chunk) const override;
    // Bytes of the "data" chunk, as the PCM reader counts positions.
    std::int64_t units_to_size(std::int64_t frames) const override { return frames * m_format.block_align; }
};

}
