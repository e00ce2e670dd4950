#include "bench/support/Mp3Encoders.h"

#include <algorithm>
#include <lame/lame.h>

namespace bench {

// A frame's samples per call, as a recorder hands them over.
std::string encode_lame(const std::vector<std::int16_t>& pcm, int rate, int channels, int kbps, int quality)
{
    lame_global_flags* lame = lame_init();
    lame_set_in_samplerate(lame, rate);
    lame_set_num_channels(lame, channels);
    lame_set_mode(lame, channels == 2 ? JOINT_STEREO : MONO);
    lame_set_brate(lame, kbps);
    lame_set_VBR(lame, vbr_off);
    lame_set_quality(lame, quality);
    lame_set_bWriteVbrTag(lame, 0);
    if (lame_init_params(lame) < 0) {
        lame_close(lame);
        return {};
    }
    constexpr int per_call = 1152;
    std::vector<unsigned char> out(per_call * 5 / 4 + 7200);
    std::vector<std::int16_t> left(per_call);
    std::string mp3;
    const std::size_t ch = std::size_t(channels);
    const std::size_t frames = pcm.size() / ch;
    for (std::size_t at = 0; at < frames; at += per_call) {
        const int n = int(std::min(std::size_t(per_call), frames - at));
        int bytes;
        if (ch == 2) {
            bytes = lame_encode_buffer_interleaved(
                lame, const_cast<short*>(pcm.data() + at * 2), n, out.data(), int(out.size()));
        } else {
            std::copy_n(pcm.begin() + std::ptrdiff_t(at), n, left.begin());
            bytes = lame_encode_buffer(lame, left.data(), left.data(), n, out.data(), int(out.size()));
        }
        if (bytes > 0)
            mp3.append(reinterpret_cast<char*>(out.data()), std::size_t(bytes));
    }
    const int bytes = lame_encode_flush(lame, out.data(), int(out.size()));
    if (bytes > 0)
        mp3.append(reinterpret_cast<char*>(out.data()), std::size_t(bytes));
    lame_close(lame);
    return mp3;
}

}
