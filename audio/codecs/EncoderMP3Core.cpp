#include "audio/codecs/EncoderMP3Core.h"

#include "mp3enc/Encoder.h"

#include <algorithm>

namespace audio {

namespace {

// The largest frame of the standard's tables and the largest reservoir carry.
constexpr std::int32_t largest_frame = 1441;
constexpr std::int32_t largest_carry = 511;
// What one frame's output always fits in.
constexpr std::int32_t output_size = 2500;

class RealCore final : public EncoderMP3Core {
public:
    explicit RealCore(mp3enc::Params* handle)
        : m_handle(handle)
    {
    }

    ~RealCore() override { mp3enc::destroy(m_handle); }

    std::int32_t frame_size() override { return mp3enc::frame_size(m_handle); }

    std::int32_t max_encode_bytes() override
    {
        return std::max<std::int32_t>(
            output_size, (raised_rate_factor() + 2) * largest_frame + largest_carry);
    }

    std::int32_t max_flush_bytes() override { return (raised_rate_factor() + 1) * mp3enc::max_flush_bytes; }

    std::int32_t encode(const std::int16_t* left, const std::int16_t* right, std::int32_t count,
        std::uint8_t* out, std::int32_t out_size) override
    {
        return mp3enc::encode(m_handle, left, right, count, out, out_size);
    }

    std::int32_t flush(std::uint8_t* out, std::int32_t out_size) override
    {
        return mp3enc::flush(m_handle, out, out_size);
    }

private:
    // How many output samples one input sample may become: a rate raised to
    // the nearest standard one turns one call's samples into several frames.
    std::int32_t raised_rate_factor() const
    {
        const std::int32_t in = std::max(m_handle->in_rate, 1);
        return (m_handle->out_rate + in - 1) / in;
    }

    mp3enc::Params* m_handle;
};

}

std::unique_ptr<EncoderMP3Core> EncoderMP3Core::create(
    std::int32_t rate, std::int32_t channels, std::int32_t kbps)
{
    mp3enc::Params* handle = mp3enc::create(rate, channels, kbps);
    if (!handle)
        return nullptr;
    return std::make_unique<RealCore>(handle);
}

}
