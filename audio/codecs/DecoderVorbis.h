#pragma once

#include "audio/readers/DecodingReader.h"
#include "audio/filters/OutputBuffer.h"
#include "liba/Mutex.h"
#include "liba/Nocopy.h"
#include "os/File.h"

#include <string>
#include <tremor/ivorbisfile.h>

namespace audio {

// Ogg Vorbis through Tremor's file interface, reading through our own file.
// Positions count sample frames; get_data hands out at most 8192 frames.
class DecoderVorbis : public DecodingReader, private liba::Nocopy {
public:
    explicit DecoderVorbis(const std::u16string& path);
    ~DecoderVorbis() override;

    PCMData get_data(std::int32_t frames) override;

    bool is_open() override;
    bool is_end() override;
    int get_channels() override;
    int get_sample_rate() override;
    int get_bitrate() override;
    std::int64_t get_length_bytes() override;
    std::int64_t get_position_bytes() override;
    void seek_bytes(std::int64_t frames) override;

private:
    os::File m_file;
    OggVorbis_File m_vorbis {};
    vorbis_info* m_info = nullptr;
    int m_bitrate = 0;
    // Tremor said the stream is over, even if short of its stated length.
    bool m_ended = false;
    liba::Mutex m_lock;
    OutputBuffer m_output;
};

}
