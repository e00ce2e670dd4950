#include "bench/support/Mp3Encoders.h"

#include <algorithm>
extern "C" {
#include <shine/layer3.h>
}

namespace bench {

// Whole passes of samples; the last one padded with silence.
std::string encode_shine(const std::vector<std::int16_t>& pcm, int rate, int channels, int kbps)
{
    shine_config_t config;
    shine_set_config_mpeg_defaults(&config.mpeg);
    config.wave.channels = channels == 2 ? PCM_STEREO : PCM_MONO;
    config.wave.samplerate = rate;
    config.mpeg.bitr = kbps;
    config.mpeg.mode = channels == 2 ? JOINT_STEREO : MONO;
    shine_t shine = shine_initialise(&config);
    if (!shine)
        return {};
    const std::size_t pass = std::size_t(shine_samples_per_pass(shine)) * std::size_t(channels);
    std::vector<std::int16_t> block(pass);
    std::string mp3;
    int written = 0;
    for (std::size_t at = 0; at < pcm.size(); at += pass) {
        const std::size_t n = std::min(pass, pcm.size() - at);
        std::copy_n(pcm.begin() + std::ptrdiff_t(at), n, block.begin());
        std::fill(block.begin() + std::ptrdiff_t(n), block.end(), std::int16_t(0));
        const unsigned char* data = shine_encode_buffer_interleaved(shine, block.data(), &written);
        mp3.append(reinterpret_cast<const char*>(data), std::size_t(written));
    }
    const unsigned char* data = shine_flush(shine, &written);
    mp3.append(reinterpret_cast<const char*>(data), std::size_t(written));
    shine_close(shine);
    return mp3;
}

}
