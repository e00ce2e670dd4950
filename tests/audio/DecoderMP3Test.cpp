#include "audio/codecs/DecoderMP3.h"

#include "audio/readers/FileReaderMP3.h"
#include "audio/codecs/MadState.h"
#include "platform/core/Utf8.h"
#include "tests/audio/PipelineDoubles.h"
#include "tests/support/TempDir.h"
#include "tests/support/Tool.h"

#include <cmath>
#include <gtest/gtest.h>

using audio::MP3Data;
using audio::PCMData;

namespace {

constexpr std::int32_t one = 0x10000000; // 1.0 in libmad's fixed point

std::u16string fixture_path(const std::string& name)
{
    return platform::from_utf8(test::fixture("mp3/" + name));
}

std::vector<std::int16_t> samples_of(const std::string& bytes)
{
    std::vector<std::int16_t> out(bytes.size() / 2);
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = std::int16_t(std::uint8_t(bytes[2 * i]) | std::uint8_t(bytes[2 * i + 1]) << 8);
    return out;
}

std::vector<std::int32_t> converted(std::vector<std::int32_t> left, int bits)
{
    std::vector<std::uint8_t> out(left.size() * 4);
    std::size_t n = audio::pcm_from_mad(left.data(), nullptr, 1, int(left.size()), bits, out.data());
    EXPECT_EQ(n, left.size() * std::size_t(bits / 8));
    std::vector<std::int32_t> values;
    for (std::size_t at = 0; at + std::size_t(bits / 8) <= n; at += std::size_t(bits / 8)) {
        std::uint32_t v = 0;
        for (int b = bits / 8 - 1; b >= 0; --b)
            v = v << 8 | out[at + std::size_t(b)];
        // Sign-extend; 8-bit stays unsigned.
        if (bits > 8 && bits < 32)
            v = (v ^ (1u << (bits - 1))) - (1u << (bits - 1));
        values.push_back(std::int32_t(v));
    }
    return values;
}

struct Decoded {
    std::string bytes;
    std::vector<PCMData> blocks;
};

// The file through reader and decoder, in requests of the given size.
Decoded decode_file(const std::string& name, std::int32_t request)
{
    audio::FileReaderMP3 reader(fixture_path(name));
    EXPECT_TRUE(reader.is_open());
    audio::DecoderMP3 decoder;
    audio::connect<MP3Data>(&reader, &decoder);
    Decoded out;
    for (int guard = 0; guard < 100000; ++guard) {
        PCMData chunk = decoder.get_data(request);
        if (chunk.is_empty())
            break;
        out.bytes += test::bytes_of(chunk);
        out.blocks.push_back(chunk);
    }
    audio::connect<MP3Data>(&reader, nullptr);
    return out;
}

std::vector<MP3Data> frames_of(const std::string& name)
{
    audio::FileReaderMP3 reader(fixture_path(name));
    std::vector<MP3Data> frames;
    for (MP3Data f = reader.get_data(1); !f.is_empty(); f = reader.get_data(1))
        frames.push_back(f);
    return frames;
}

struct Stream {
    const char* file;
    int channels, rate, samples_per_frame;
};

const Stream streams[] = {
    { "lame_mpeg1_stereo.mp3", 2, 44100, 1152 },
    { "lame_mpeg1_mono.mp3", 1, 32000, 1152 },
    { "lame_mpeg2_mono.mp3", 1, 22050, 576 },
    { "lame_mpeg25_stereo.mp3", 2, 11025, 576 },
    { "ffmpeg_mpeg1_stereo.mp3", 2, 48000, 1152 },
    { "ffmpeg_mpeg2_mono.mp3", 1, 24000, 576 },
    { "ffmpeg_mpeg25_mono.mp3", 1, 8000, 576 },
    { "ffmpeg_layer2_stereo.mp2", 2, 48000, 1152 },
};

}

TEST(MadConversion, TruncatesClampsAndLaysOutEachDepth)
{
    struct Case {
        int bits;
        std::vector<std::int32_t> in, out;
    } cases[] = {
        // clang-format off
        { 16, { one, -one, 0, one / 2, -one / 2 }, { 32767, -32768, 0, 16384, -16384 } },
        { 8, { 0, one, -one, one / 2 }, { 128, 255, 0, 192 } },
        { 24, { one, -one, 0, one / 2 }, { 0x7FFFFF, -0x800000, 0, 0x400000 } },
        { 32, { one, -one, one / 2 }, { 0x7FFFFF00, std::int32_t(0x80000000), 0x40000000 } },
        // Half a step, again and again: what truncation cuts off is carried.
        { 16, { 4096, 4096, 4096, 4096 }, { 0, 1, 0, 1 } },
        { 16, { -4096, -4096, -4096, -4096 }, { -1, 0, -1, 0 } },
        // Beyond full scale for a while, then silence: the carried error
        // stays below one step, so the silence is silent (no wrap, no click).
        { 16, { 0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF, 0, 0 }, { 32767, 32767, 32767, 32767, 0, 0 } },
        { 16, { INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN, 0, 0 }, { -32768, -32768, -32768, -32768, 0, 0 } },
        { 8, { 3 * one, 3 * one, 3 * one, 0 }, { 255, 255, 255, 128 } },
        // clang-format on
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.in) + " at " + std::to_string(c.bits));
        EXPECT_EQ(converted(c.in, c.bits), c.out);
    }

    // A long clipped run, which would overflow an error taken before clamping.
    std::vector<std::int32_t> loud(1000, 0x7FFFFFFF);
    loud.push_back(0);
    std::vector<std::int32_t> out = converted(loud, 16);
    EXPECT_EQ(out.back(), 0);

    // Channels interleave, each with its own error; other depths write nothing.
    std::int32_t left[2] = { one / 2, 4096 }, right[2] = { -one / 2, 4096 };
    std::uint8_t bytes[8] = {};
    ASSERT_EQ(audio::pcm_from_mad(left, right, 2, 2, 16, bytes), 8u);
    EXPECT_EQ(samples_of(std::string(reinterpret_cast<char*>(bytes), 8)),
        (std::vector<std::int16_t> { 16384, -16384, 0, 0 }));
    EXPECT_EQ(audio::pcm_from_mad(left, right, 2, 2, 12, bytes), 0u);
}

TEST(DecoderMP3, MatchesMadplayAndMpg123)
{
    bool madplay = test::have_tool("madplay");
    bool mpg123 = test::have_tool("mpg123");
    if (!madplay && !mpg123)
        GTEST_SKIP() << "madplay and mpg123 missing";

    for (const auto& s : streams) {
        SCOPED_TRACE(s.file);
        std::string path = test::fixture(std::string("mp3/") + s.file);
        Decoded ours = decode_file(s.file, 1000);
        ASSERT_FALSE(ours.bytes.empty());
        for (const auto& block : ours.blocks) {
            EXPECT_EQ(block.channels, s.channels);
            EXPECT_EQ(block.bits_per_sample, 16);
            EXPECT_EQ(block.sample_rate, s.rate);
        }
        // Requests of other sizes see the same samples.
        EXPECT_EQ(decode_file(s.file, 1).bytes, ours.bytes);
        EXPECT_EQ(decode_file(s.file, 100000).bytes, ours.bytes);
        std::vector<std::int16_t> got = samples_of(ours.bytes);
        EXPECT_EQ(got.size() % std::size_t(s.channels * s.samples_per_frame), 0u);

        if (madplay) {
            // The same decoder, rounding where we truncate and carry: one step apart at most.
            auto ref = test::run_tool({ "madplay", "-q", "--no-dither", "-o", "raw:-", path });
            ASSERT_EQ(ref.exit_code, 0);
            std::vector<std::int16_t> expected = samples_of(ref.out);
            ASSERT_EQ(got.size(), expected.size());
            int worst = 0;
            for (std::size_t i = 0; i < got.size(); ++i)
                worst = std::max(worst, std::abs(got[i] - expected[i]));
            EXPECT_LE(worst, 1);
        }
        if (mpg123) {
            auto ref = test::run_tool({ "mpg123", "-q", "-s", path });
            ASSERT_EQ(ref.exit_code, 0);
            std::vector<std::int16_t> expected = samples_of(ref.out);
            ASSERT_EQ(got.size(), expected.size());
            double signal = 0, noise = 0;
            for (std::size_t i = 0; i < got.size(); ++i) {
                signal += double(expected[i]) * expected[i];
                noise += double(got[i] - expected[i]) * (got[i] - expected[i]);
            }
            EXPECT_GT(10 * std::log10(signal / std::max(noise, 1.0)), 60.0);
        }
    }
}

TEST(DecoderMP3, HandsOutAFrameAcrossRequestsAndDecodesOneFramePerPull)
{
    std::vector<MP3Data> frames = frames_of("lame_mpeg1_stereo.mp3");
    ASSERT_GE(frames.size(), 3u);
    test::ScriptedProvider<MP3Data> upstream;
    upstream.script.assign(frames.begin(), frames.begin() + 3);
    audio::DecoderMP3 decoder;
    audio::connect<MP3Data>(&upstream, &decoder);

    PCMData first = decoder.get_data(1000);
    EXPECT_EQ(first.size(), 4000u);
    EXPECT_EQ(upstream.requests.size(), 1u);
    EXPECT_EQ(decoder.get_data(1000).size(), 608u);
    EXPECT_EQ(upstream.requests.size(), 1u);
    EXPECT_EQ(decoder.get_data(1000).size(), 4000u);
    EXPECT_EQ(upstream.requests, (std::vector<std::int32_t> { 1, 1 }));
    audio::connect<MP3Data>(&upstream, nullptr);

    // Pushed frames come out decoded, whole.
    test::Collector<PCMData> collector;
    audio::DecoderMP3 pushed;
    audio::connect<PCMData>(&pushed, &collector);
    pushed.on_data(frames[0]);
    ASSERT_EQ(collector.received.size(), 1u);
    EXPECT_EQ(collector.received[0].size(), 4608u);
    audio::connect<PCMData>(&pushed, nullptr);
}

TEST(DecoderMP3, SkipsWhatItCannotDecode)
{
    // 12000 Hz is a valid MPEG-2.5 rate, but not one the output takes.
    {
        audio::FileReaderMP3 reader(fixture_path("lame_mpeg25_12k.mp3"));
        ASSERT_TRUE(reader.is_open());
        EXPECT_EQ(reader.get_sample_rate(), 12000);
        audio::DecoderMP3 decoder;
        audio::connect<MP3Data>(&reader, &decoder);
        EXPECT_TRUE(decoder.get_data(1000).is_empty());
        EXPECT_TRUE(reader.is_end());
        audio::connect<MP3Data>(&reader, nullptr);
    }

    std::vector<MP3Data> frames = frames_of("lame_mpeg1_stereo.mp3");
    ASSERT_GE(frames.size(), 2u);
    auto block_of = [](const std::string& bytes) {
        MP3Data b;
        b.buffer = liba::SharedBuffer(bytes.size(), bytes.data());
        b.frame_length = std::int32_t(bytes.size());
        return b;
    };
    std::string good = test::bytes_of(frames[0]);
    std::string damaged = good;
    for (std::size_t i = 4; i < 40; ++i)
        damaged[i] = char(0xFF); // side information out of every range
    test::ScriptedProvider<MP3Data> upstream;
    // Each is skipped in turn, within one pull; then the end of the stream.
    upstream.script = { block_of("\xFF\xFB"), block_of(std::string(500, 'x')), block_of(good.substr(0, 100)),
        block_of(damaged), frames[0] };
    audio::DecoderMP3 decoder;
    audio::connect<MP3Data>(&upstream, &decoder);
    PCMData out = decoder.get_data(100000);
    EXPECT_EQ(out.size(), 4608u);
    EXPECT_TRUE(upstream.script.empty());
    EXPECT_TRUE(decoder.get_data(1).is_empty());
    audio::connect<MP3Data>(&upstream, nullptr);
}

TEST(MadDecodeFrame, ReportsEachOutcome)
{
    std::vector<MP3Data> frames = frames_of("lame_mpeg1_stereo.mp3");
    ASSERT_FALSE(frames.empty());
    // Exactly the frame, nothing after it: the guard bytes make it whole.
    std::string frame = test::bytes_of(frames[0]).substr(0, std::size_t(frames[0].frame_length));
    auto bytes = reinterpret_cast<const std::uint8_t*>(frame.data());
    std::vector<std::uint8_t> out(1152 * 2 * 4);
    std::size_t consumed = 0, written = 0;

    struct Case {
        const char* what;
        std::size_t size, output;
        int bits;
        bool half;
        int result;
        std::size_t consumed, written;
    } cases[] = {
        { "a whole frame", frame.size(), out.size(), 16, false, audio::mad_ok, frame.size(), 4608 },
        { "at half the rate", frame.size(), out.size(), 16, true, audio::mad_ok, frame.size(), 2304 },
        { "at 24 bits", frame.size(), out.size(), 24, false, audio::mad_ok, frame.size(), 6912 },
        { "at 8 bits", frame.size(), out.size(), 8, false, audio::mad_ok, frame.size(), 2304 },
        { "into too small a buffer", frame.size(), 4607, 16, false, audio::mad_output_too_small, 0, 0 },
        { "at 12 bits", frame.size(), out.size(), 12, false, audio::mad_bad_depth, 0, 0 },
        { "cut short", 100, out.size(), 16, false, audio::mad_need_more, 0, 0 },
        { "nothing", 0, out.size(), 16, false, audio::mad_need_more, 0, 0 },
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        audio::MadState* state = audio::mad_state_create();
        ASSERT_NE(state, nullptr);
        int result = audio::mad_decode_frame(
            state, bytes, c.size, out.data(), c.output, consumed, written, c.bits, c.half);
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(consumed, c.consumed);
        EXPECT_EQ(written, c.written);
        audio::mad_state_destroy(state);
    }

    // Bytes without a sync where the frame should start: a recoverable loss of sync.
    audio::MadState* state = audio::mad_state_create();
    std::string noise(600, '\x5A');
    EXPECT_EQ(audio::mad_decode_frame(state, reinterpret_cast<const std::uint8_t*>(noise.data()),
                  noise.size(), out.data(), out.size(), consumed, written, 16, false),
        audio::mad_recoverable);
    audio::mad_state_destroy(state);
}
