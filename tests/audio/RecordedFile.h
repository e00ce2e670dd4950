#pragma once

#include "tests/audio/DecodedAudio.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

// What ffmpeg makes of a recorded file.
namespace test {

// "codec,rate,channels" of the file's first audio stream.
inline std::string probe_stream(const std::string& path)
{
    return tool({ "ffprobe", "-v", "error", "-select_streams", "a:0", "-show_entries",
        "stream=codec_name,sample_rate,channels", "-of", "csv=p=0", path });
}

inline std::vector<std::int16_t> decode_s16(const std::string& path)
{
    return samples_of(tool({ "ffmpeg", "-loglevel", "error", "-i", path, "-f", "s16le", "-" }));
}

// The level of samples [from, to); 0 when they are not all there.
inline double rms(const std::vector<std::int16_t>& samples, std::size_t from, std::size_t to)
{
    if (to > samples.size() || from >= to)
        return 0;
    double energy = 0;
    for (std::size_t i = from; i < to; ++i)
        energy += double(samples[i]) * samples[i];
    return std::sqrt(energy / double(to - from));
}

}
