#pragma once

#include "audio/readers/FileReaderWAV.h"
#include "audio/PCMData.h"
#include "audio/Provider.h"
#include "audio/readers/WAVInfoPCMWide.h"
#include "audio/filters/OutputBuffer.h"

namespace audio {

// Hands out the PCM of a WAV file as it is stored, except that floats and
// samples wider than 16 bits come out as 16 bits (the player and the filters
// take 8 and 16). Positions count bytes of the "data" chunk as stored;
// get_data counts sample frames.
class FileReaderWAVPCM : public Provider<PCMData>, public FileReaderWAV {
public:
    explicit FileReaderWAVPCM(const std::u16string& path);

    PCMData get_data(std::int32_t frames) override;

    const WAVInfo& get_wav_info() const override { return m_info; }

    int get_bits_per_sample() override;
    std::int64_t time_to_bytes(double seconds) override;
    double bytes_to_time(std::int64_t bytes) override;
    std::int64_t get_length_bytes() override;
    std::int64_t get_position_bytes() override;
    void seek_bytes(std::int64_t bytes) override;
    bool skip(double seconds) override;
    bool skip_bytes(std::int64_t bytes) override;

private:
    PCMData narrowed(const std::uint8_t* bytes, std::size_t size);

    WAVInfoPCMWide m_info;
    std::int64_t m_length = 0;
    OutputBuffer m_output;
    OutputBuffer m_narrowed;
};

}
