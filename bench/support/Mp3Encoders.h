#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The reference MP3 encoders through their libraries (their headers clash,
// so each lives in a file of its own). Interleaved 16-bit samples in, the
// stream out: constant bitrate, no VBR header frame.
namespace bench {

std::string encode_shine(const std::vector<std::int16_t>& pcm, int rate, int channels, int kbps);

// quality as LAME's -q: 3 is the lame program's default, 7 a fast setting.
std::string encode_lame(const std::vector<std::int16_t>& pcm, int rate, int channels, int kbps, int quality);

}
