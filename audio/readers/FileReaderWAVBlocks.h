#pragma once

#include "audio/readers/FileReaderWAV.h"
#include "audio/Provider.h"
#include "liba/SharedBuffer.h"
#include "audio/filters/OutputBuffer.h"

namespace audio {

// The readers of block-coded WAV files (Microsoft ADPCM, GSM 6.10): they hand
// out whole stored blocks, and positions count blocks.
template<typename T, typename Info>
class FileReaderWAVBlocks : public Provider<T>, public FileReaderWAV {
public:
    T get_data(std::int32_t blocks) override;

    const WAVInfo& get_wav_info() const override { return m_info; }

    // The bits of the decoded output, whatever the file stores.
    int get_bits_per_sample() override { return 16; }

    std::int64_t time_to_bytes(double seconds) override;
    double bytes_to_time(std::int64_t blocks) override;
    std::int64_t get_length_bytes() override;
    std::int64_t get_position_bytes() override;
    void seek_bytes(std::int64_t block) override;
    bool skip(double seconds) override;
    bool skip_bytes(std::int64_t blocks) override;

protected:
    FileReaderWAVBlocks(const std::u16string& path, std::int32_t skip_step);

    // A chunk of whole blocks with the format fields of its coding.
    virtual T make_block(liba::SharedBuffer bytes) const = 0;

    Info m_info;

private:
    std::int64_t m_current_block = 0;
    std::int64_t m_length = 0;
    // Samples of the last block that play, when "fact" ends the stream inside it.
    std::int32_t m_last_block_samples = 0;
    std::int32_t m_skip_step;
    OutputBuffer m_output;
};

}
