#include "audio/codecs/EncoderMP3.h"

#include "os/Log.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace audio {

static_assert(std::endian::native == std::endian::little, "16-bit PCM is handed to the core in place");

EncoderMP3::EncoderMP3(std::int32_t bitrate, EncoderMP3Core::Factory core_factory)
    : m_core_factory(
        core_factory ? std::move(core_factory) : EncoderMP3Core::Factory(&EncoderMP3Core::create))
    , m_bitrate(bitrate)
{
}

EncoderMP3::~EncoderMP3()
{
    liba::MutexLock lock(get_lock());
    finish_stream();
}

bool EncoderMP3::takes(const PCMData& format)
{
    return format.sample_rate > 0 && format.bits_per_sample > 0 && format.bits_per_sample <= 16
        && (format.channels == 1 || format.channels == 2);
}

void EncoderMP3::on_data(const PCMData& chunk)
{
    liba::MutexLock lock(get_lock());
    if (chunk.is_empty() || !takes(chunk))
        return;
    const std::int32_t sample_bytes = (chunk.bits_per_sample + 7) / 8;

    if (chunk.channels != m_channels || chunk.sample_rate != m_sample_rate) {
        finish_stream();
        m_channels = chunk.channels;
        m_sample_rate = chunk.sample_rate;
    } else if (sample_bytes != m_sample_bytes && m_fill > 0) {
        // The collected samples are of the old width: hand them over first.
        encode_collected(m_fill / (m_channels * m_sample_bytes));
        m_fill = 0;
    }
    m_sample_bytes = sample_bytes;
    if (!m_core && !start_core())
        return;

    const std::int32_t frame = frame_bytes();
    auto* collected = reinterpret_cast<std::uint8_t*>(m_collected.data());
    const std::uint8_t* bytes = chunk.bytes();
    std::size_t left = chunk.size();
    while (left > std::size_t(frame - m_fill)) {
        const std::size_t room = frame - m_fill;
        std::memcpy(collected + m_fill, bytes, room);
        bytes += room;
        left -= room;
        m_fill = 0;
        encode_collected(m_frame_samples);
    }
    std::memcpy(collected + m_fill, bytes, left);
    m_fill += std::int32_t(left);
}

bool EncoderMP3::start_core()
{
    m_fill = 0;
    m_core = m_core_factory(m_sample_rate, m_channels, m_bitrate / 1000);
    if (!m_core)
        return false;
    m_frame_samples = m_core->frame_size();
    if (m_frame_samples <= 0 || m_frame_samples > max_frame_samples) {
        m_core.reset();
        return false;
    }
    m_output.assign(std::max(m_core->max_encode_bytes(), m_core->max_flush_bytes()), 0);
    return true;
}

void EncoderMP3::finish_stream()
{
    if (!m_core)
        return;
    if (m_fill > 0)
        encode_collected(m_fill / (m_channels * m_sample_bytes));
    m_fill = 0;
    const std::int32_t count = m_core->flush(m_output.data(), std::int32_t(m_output.size()));
    if (count < 0)
        os::log() << "EncoderMP3: flushing the encoder failed (" << count << "), the last frames are lost\n";
    else
        push_output(count);
    m_core.reset();
}

void EncoderMP3::encode_collected(std::int32_t samples)
{
    if (samples <= 0)
        return;
    const std::int16_t* left = m_left.data();
    if (m_sample_bytes == 1) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(m_collected.data());
        for (std::int32_t i = 0; i < samples; ++i) {
            m_left[i] = std::int16_t((bytes[i * m_channels] - 128) * 256);
            if (m_channels == 2)
                m_right[i] = std::int16_t((bytes[i * 2 + 1] - 128) * 256);
        }
    } else if (m_channels == 2) {
        for (std::int32_t i = 0; i < samples; ++i) {
            m_left[i] = m_collected[i * 2];
            m_right[i] = m_collected[i * 2 + 1];
        }
    } else {
        left = m_collected.data();
    }
    if (m_channels == 1)
        std::fill_n(m_right.begin(), samples, std::int16_t(0));
    const std::int32_t count
        = m_core->encode(left, m_right.data(), samples, m_output.data(), std::int32_t(m_output.size()));
    if (count < 0)
        os::log() << "EncoderMP3: encoding a frame failed (" << count << ")\n";
    else
        push_output(count);
}

void EncoderMP3::push_output(std::int32_t count)
{
    MP3Data data;
    data.buffer = liba::SharedBuffer(std::size_t(count), m_output.data());
    data.frame_length = count;
    push(data);
}

}
