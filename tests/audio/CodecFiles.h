#pragma once

#include "audio/codecs/DecoderADPCM.h"
#include "audio/codecs/DecoderGSM.h"
#include "audio/readers/FileReaderWAVADPCM.h"
#include "audio/readers/FileReaderWAVGSM.h"
#include "platform/core/Utf8.h"
#include "tests/audio/PipelineDoubles.h"
#include "tests/support/Tool.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

// Codec round trips through files made by sox and ffmpeg.
namespace test {

inline std::u16string u16(const std::string& path)
{
    return platform::from_utf8(path);
}

// Runs a tool that must succeed and returns its stdout.
inline std::string tool(const std::vector<std::string>& argv)
{
    auto result = run_tool(argv);
    EXPECT_EQ(result.exit_code, 0) << argv.front();
    return result.out;
}

inline std::string sox_decode(const std::string& path)
{
    return tool({ "sox", path, "-e", "signed", "-b", "16", "-t", "raw", "-" });
}

inline std::string ffmpeg_decode(const std::string& path, const std::string& codec = {})
{
    std::vector<std::string> argv { "ffmpeg", "-loglevel", "error" };
    if (!codec.empty())
        argv.insert(argv.end(), { "-c:a", codec });
    argv.insert(argv.end(), { "-i", path, "-f", "s16le", "-" });
    return tool(argv);
}

// Everything a reader and decoder of the given types hand out for requests
// of `frames` sample frames.
template<typename Reader, typename Decoder>
std::string decode_file(const std::string& path, std::int32_t frames = 4096)
{
    Reader reader(u16(path));
    EXPECT_TRUE(reader.is_open()) << path;
    Decoder decoder;
    audio::connect(&reader, &decoder);
    std::string out;
    for (int guard = 0; guard < 1000000; ++guard) {
        audio::PCMData chunk = decoder.get_data(frames);
        if (chunk.is_empty())
            break;
        out += bytes_of(chunk);
    }
    audio::connect(&reader, nullptr);
    return out;
}

inline std::string decode_adpcm_file(const std::string& path, std::int32_t frames = 4096)
{
    return decode_file<audio::FileReaderWAVADPCM, audio::DecoderADPCM>(path, frames);
}

inline std::string decode_gsm_file(const std::string& path, std::int32_t frames = 4096)
{
    return decode_file<audio::FileReaderWAVGSM, audio::DecoderGSM>(path, frames);
}

inline std::int16_t sample_at(const std::string& pcm, std::size_t i)
{
    return std::int16_t(std::uint8_t(pcm[2 * i]) | std::uint8_t(pcm[2 * i + 1]) << 8);
}

// Signal to noise ratio in dB of a coded copy against the original, over the
// samples both hold.
inline double snr_db(const std::string& original, const std::string& coded)
{
    std::size_t n = std::min(original.size(), coded.size()) / 2;
    double signal = 0, noise = 0;
    for (std::size_t i = 0; i < n; ++i) {
        double a = sample_at(original, i), b = sample_at(coded, i);
        signal += a * a;
        noise += (a - b) * (a - b);
    }
    return noise == 0 ? 1000 : 10 * std::log10(signal / noise);
}

inline audio::PCMData pcm_chunk(const std::string& bytes, int channels, int rate, int bits = 16)
{
    return audio::PCMData(liba::SharedBuffer(bytes.size(), bytes.data()), channels, bits, rate);
}

}
