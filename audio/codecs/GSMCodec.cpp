#include "audio/codecs/GSMCodec.h"

#include <cstring>
#include <gsm.h>

namespace audio {

namespace {

// libgsm reads the first frame and the leading half byte of the second from
// bytes 0 to 32, the rest of the second from byte 33; it writes the first
// frame's 32 bytes, keeps the half byte, and writes 33 bytes from byte 32.
constexpr int second_frame_in = 33;
constexpr int second_frame_out = 32;
constexpr int frame_samples = 160;

}

GSMCodec::GSMCodec()
    : m_state(gsm_create())
{
    int on = 1;
    if (m_state)
        gsm_option(m_state, GSM_OPT_WAV49, &on);
}

GSMCodec::~GSMCodec()
{
    if (m_state)
        gsm_destroy(m_state);
}

void GSMCodec::encode_block(const std::int16_t* samples, std::uint8_t* block)
{
    if (!m_state)
        return;
    gsm_signal in[block_samples];
    std::memcpy(in, samples, sizeof in);
    gsm_encode(m_state, in, block);
    gsm_encode(m_state, in + frame_samples, block + second_frame_out);
}

void GSMCodec::decode_block(const std::uint8_t* block, std::int16_t* samples)
{
    if (!m_state)
        return;
    gsm_byte in[block_bytes];
    std::memcpy(in, block, sizeof in);
    gsm_signal out[block_samples];
    std::memset(out, 0, sizeof out);
    gsm_decode(m_state, in, out);
    gsm_decode(m_state, in + second_frame_in, out + frame_samples);
    std::memcpy(samples, out, sizeof out);
}

}
