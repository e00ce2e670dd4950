#pragma once

#include "audio/readers/FileReader.h"
#include "audio/PCMData.h"
#include "audio/Provider.h"
#include "tests/audio/CodecFiles.h"
#include "tests/audio/PipelineDoubles.h"
#include "tests/support/TempDir.h"
#include "tests/support/Tool.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

// Helpers for the readers that decode: whole decodes, reference tools and
// sample comparisons.
namespace test {

// Makes a file with a tool that writes to the path given as "%o".
inline std::string make_file(const TempDir& dir, const std::string& name, std::vector<std::string> argv)
{
    std::string path = dir.file(name);
    for (auto& arg : argv) {
        if (arg == "%o")
            arg = path;
    }
    EXPECT_EQ(run_tool(argv).exit_code, 0) << "making " << name;
    return path;
}

// Everything the provider hands out for requests of the given size; every
// chunk 16-bit with the given channels and rate, and no larger than asked.
inline std::string read_all(audio::Provider<audio::PCMData>& provider, std::int32_t size, int channels, int rate)
{
    std::string out;
    for (int guard = 0; guard < 1000000; ++guard) {
        audio::PCMData chunk = provider.get_data(size);
        if (chunk.is_empty())
            break;
        EXPECT_EQ(chunk.channels, channels);
        EXPECT_EQ(chunk.bits_per_sample, 16);
        EXPECT_EQ(chunk.sample_rate, rate);
        EXPECT_LE(chunk.size(), std::size_t(size) * channels * 2);
        out += bytes_of(chunk);
    }
    return out;
}

inline std::vector<std::int16_t> samples_of(const std::string& bytes)
{
    std::vector<std::int16_t> out(bytes.size() / 2);
    std::memcpy(out.data(), bytes.data(), out.size() * 2);
    return out;
}

// The largest difference between two sample runs of equal length.
inline int max_difference(const std::string& a, const std::string& b)
{
    auto x = samples_of(a);
    auto y = samples_of(b);
    int worst = 0;
    for (std::size_t i = 0; i < std::min(x.size(), y.size()); ++i)
        worst = std::max(worst, std::abs(int(x[i]) - int(y[i])));
    return worst;
}

// An open reader's stream format, as the player and the document see it.
template<typename Reader>
void expect_format(Reader& reader, int channels, int rate)
{
    ASSERT_TRUE(reader.is_open());
    EXPECT_EQ(reader.get_channels(), channels);
    EXPECT_EQ(reader.get_sample_rate(), rate);
    EXPECT_EQ(reader.get_bits_per_sample(), 16);
    EXPECT_GT(reader.get_bitrate(), 0);
    EXPECT_FALSE(reader.is_end());
}

// A reader that refused its file answers everything harmlessly.
template<typename Reader>
void expect_refused(const std::string& path)
{
    SCOPED_TRACE(path);
    Reader reader(u16(path));
    EXPECT_FALSE(reader.is_open());
    EXPECT_TRUE(reader.is_end());
    EXPECT_EQ(reader.get_channels(), 0);
    EXPECT_TRUE(reader.get_data(1000).is_empty());
    EXPECT_EQ(reader.get_length_bytes(), 0);
    EXPECT_FALSE(reader.skip_bytes(10));
    reader.seek_bytes(100);
    EXPECT_EQ(reader.get_position_bytes(), 0);
}

struct Seek {
    std::int64_t to, lands;
};

// Each seek lands on its frame exactly: the position reads back, and what
// follows is the whole decode's from there. Stereo 44100 Hz.
template<typename Reader>
void expect_exact_seeks(Reader& reader, const std::string& whole, const std::vector<Seek>& seeks)
{
    for (const auto& s : seeks) {
        SCOPED_TRACE(s.to);
        reader.seek_bytes(s.to);
        EXPECT_EQ(reader.get_position_bytes(), s.lands);
        std::string next = read_all(reader, 1000, 2, 44100).substr(0, 4000);
        EXPECT_EQ(next, whole.substr(std::size_t(s.lands) * 4, 4000));
        EXPECT_TRUE(reader.is_end());
    }
}

}
