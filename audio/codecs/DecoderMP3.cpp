#include "audio/codecs/DecoderMP3.h"

#include "audio/codecs/MadState.h"
#include "audio/readers/MpegHeader.h"

#include <algorithm>
#include <array>

namespace audio {

namespace {

// 12000 Hz, an MPEG-2.5 rate, is not among them.
constexpr std::array<std::int32_t, 8> output_rates
    = { 8000, 11025, 16000, 22050, 24000, 32000, 44100, 48000 };

}

DecoderMP3::DecoderMP3()
    : m_state(mad_state_create())
{
}

DecoderMP3::~DecoderMP3()
{
    // Waits for a decode in flight on another thread.
    liba::MutexLock lock(get_lock());
    mad_state_destroy(m_state);
    m_state = nullptr;
}

PCMData DecoderMP3::decode(const MP3Data& block)
{
    MpegHeader header;
    if (!m_state || block.size() < 4 || !parse_mpeg_header(block.bytes(), header))
        return {};
    if (std::find(output_rates.begin(), output_rates.end(), header.sample_rate) == output_rates.end())
        return {};
    std::size_t size = std::size_t(header.channels) * header.samples_per_frame * 2;
    liba::SharedBuffer output = m_output.take(size);
    std::size_t consumed = 0;
    std::size_t written = 0;
    int result = mad_decode_frame(m_state, block.bytes(), block.size(), OutputBuffer::bytes(output), size,
        consumed, written, 16, false);
    if (result != mad_ok || written == 0)
        return {};
    return PCMData(liba::SharedBuffer(output, 0, written), header.channels, 16, header.sample_rate);
}

}
