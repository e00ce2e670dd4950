#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace audio {

// One stream of the MP3 encoder core, behind an interface so that the adapter
// can be driven by a fake in tests. The results are the core's: byte counts,
// negative on failure.
class EncoderMP3Core {
public:
    // Input rate in Hz, channels, bitrate in kbit/s; null when the core refuses.
    using Factory = std::function<std::unique_ptr<EncoderMP3Core>(
        std::int32_t rate, std::int32_t channels, std::int32_t kbps)>;

    virtual ~EncoderMP3Core() = default;

    // Samples per channel of one frame.
    virtual std::int32_t frame_size() = 0;
    // Room that one encode call of a frame's samples may need.
    virtual std::int32_t max_encode_bytes() = 0;
    // Room that flush may need.
    virtual std::int32_t max_flush_bytes() = 0;
    virtual std::int32_t encode(const std::int16_t* left, const std::int16_t* right, std::int32_t count,
        std::uint8_t* out, std::int32_t out_size)
        = 0;
    virtual std::int32_t flush(std::uint8_t* out, std::int32_t out_size) = 0;

    // The real core.
    static std::unique_ptr<EncoderMP3Core> create(
        std::int32_t rate, std::int32_t channels, std::int32_t kbps);
};

}
