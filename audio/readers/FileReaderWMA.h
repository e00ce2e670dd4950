#pragma once

#include "audio/readers/DecodingReader.h"
#include "audio/filters/OutputBuffer.h"
#include "liba/Mutex.h"
#include "liba/Nocopy.h"

#include <memory>
#include <string>

namespace platform {
class MediaDecoder;
}

namespace audio {

// WMA files, decoded by the platform's media decoder into 16-bit PCM that
// flows through the graph like every other format's. Positions count
// milliseconds; get_data hands out at most 8192 frames.
class FileReaderWMA : public DecodingReader, private liba::Nocopy {
public:
    explicit FileReaderWMA(const std::u16string& path);
    ~FileReaderWMA() override;

    PCMData get_data(std::int32_t frames) override;

    bool is_open() override;
    bool is_end() override;
    int get_channels() override;
    int get_sample_rate() override;
    int get_bitrate() override;
    std::int64_t time_to_bytes(double seconds) override;
    double bytes_to_time(std::int64_t ms) override;
    std::int64_t get_length_bytes() override;
    std::int64_t get_position_bytes() override;
    void seek_bytes(std::int64_t ms) override;
    bool skip_bytes(std::int64_t ms) override;

    // Asked by the chain's pause; the player itself holds the sound back.
    void set_paused(bool paused);
    bool is_paused();

private:
    class Source;

    std::int64_t ms_to_frames(std::int64_t ms) const;

    std::unique_ptr<Source> m_source;
    std::unique_ptr<platform::MediaDecoder> m_decoder;
    bool m_paused = false;
    liba::Mutex m_lock;
    OutputBuffer m_output;
};

}
