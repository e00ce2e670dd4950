#include "audio/filters/FastPlay.h"

#include "audio/readers/FileReaderWAVPCM.h"
#include "platform/core/Utf8.h"
#include "tests/audio/PipelineDoubles.h"
#include "tests/audio/Signals.h"
#include "tests/audio/WavBytes.h"
#include "tests/support/TempDir.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numeric>

using audio::FastPlay;
using audio::PCMData;
using test::Samples;

namespace {

// A mono 16-bit chunk whose frame i holds first + i, so the picks show.
PCMData numbered(std::int32_t frames, std::int32_t first = 0)
{
    Samples samples(static_cast<std::size_t>(frames));
    std::iota(samples.begin(), samples.end(), first);
    return test::chunk_of(samples, 1, 16, 8000);
}

Samples repeat_each(std::int32_t from, std::int32_t to, int times)
{
    Samples out;
    for (std::int32_t i = from; i < to; ++i)
        out.insert(out.end(), times, i);
    return out;
}

}

TEST(FastPlay, PicksEverySthFrameAndCarriesThePositionOn)
{
    // Two chunks numbered 0.. and 1000..: the picks run on across them.
    for (double speed : { 2.0, 3.0, 4.0, 2.5 }) {
        Samples picked;
        for (double at = 0; at < 2000; at += speed)
            picked.push_back(static_cast<std::int32_t>(std::trunc(at)));
        FastPlay fast;
        fast.set_speed(speed);
        Samples out = test::samples_of(fast.resample(numbered(1000)));
        Samples more = test::samples_of(fast.resample(numbered(1000, 1000)));
        out.insert(out.end(), more.begin(), more.end());
        EXPECT_EQ(out, picked) << speed;
    }
}

TEST(FastPlay, HalfSpeedRepeatsFramesAndTheNextChunkCatchesUp)
{
    FastPlay fast;
    fast.set_speed(0.5);
    Samples first = test::samples_of(fast.resample(numbered(1000)));
    Samples expected = repeat_each(0, 999, 2);
    expected.push_back(999);
    EXPECT_EQ(first, expected); // 1999 frames; the position is now -0.5
    Samples second = test::samples_of(fast.resample(numbered(10, 1000)));
    EXPECT_EQ(test::slice(second, 0, 4), (Samples { 1000, 1000, 1000, 1001 }));
}

TEST(FastPlay, AChunkBeforeThePositionIsSkippedWhole)
{
    test::ScriptedProvider<PCMData> source;
    FastPlay fast;
    test::Collector<PCMData> sink;
    audio::connect<PCMData>(&fast, &sink);
    fast.set_speed(10);
    fast.on_data(numbered(4, 0)); // emits frame 0, position 6
    fast.on_data(numbered(4, 4)); // nothing: position 2
    fast.on_data(numbered(4, 8)); // emits frame 10
    fast.on_data(PCMData()); // end of data goes on as it is
    ASSERT_EQ(sink.received.size(), 3u);
    EXPECT_EQ(test::samples_of(sink.received[0]), (Samples { 0 }));
    EXPECT_EQ(test::samples_of(sink.received[1]), (Samples { 10 }));
    EXPECT_TRUE(sink.received[2].is_empty());
    audio::connect<PCMData>(&fast, nullptr);
}

TEST(FastPlay, NormalSpeedPassesTheSameChunk)
{
    FastPlay fast;
    PCMData chunk = numbered(100);
    EXPECT_EQ(fast.resample(chunk).bytes(), chunk.bytes());
    EXPECT_TRUE(fast.set_speed(2));
    EXPECT_FALSE(fast.set_speed(2));
    EXPECT_TRUE(fast.set_speed(1));
    EXPECT_EQ(fast.resample(chunk).bytes(), chunk.bytes());
    for (double refused : { 0.0, -1.0, double(NAN), double(INFINITY) })
        EXPECT_FALSE(fast.set_speed(refused)) << refused;
    EXPECT_EQ(fast.get_speed(), 1);
}

TEST(FastPlay, ASpeedChangeRestartsTheWalk)
{
    FastPlay fast;
    fast.set_speed(0.5);
    fast.resample(numbered(1000)); // position -0.5
    fast.set_speed(0.25);
    EXPECT_EQ(test::slice(test::samples_of(fast.resample(numbered(10))), 0, 5), (Samples { 0, 0, 0, 0, 1 }));
}

TEST(FastPlay, PullsAsManyFramesAsTheSpeedNeeds)
{
    test::ScriptedProvider<PCMData> source;
    source.script = {
        numbered(300),
        numbered(2),
        PCMData(),
    };
    FastPlay fast;
    audio::connect<PCMData>(&source, &fast);
    fast.set_speed(3);
    EXPECT_EQ(fast.get_data(100).get_frames(), 100);
    EXPECT_EQ(fast.get_data(100).get_frames(), 1);
    EXPECT_TRUE(fast.get_data(100).is_empty());
    EXPECT_EQ(source.requests, (std::vector<std::int32_t> { 300, 300, 301 }));
    audio::connect<PCMData>(&source, nullptr);
}

TEST(FastPlay, AChunkSmallerThanAFrameIsNeverReadBefore)
{
    // 16-bit mono whose data chunk declares 11 bytes: the reader hands out
    // five frames, then the odd byte. Below normal speed the walk stands just
    // before the next chunk when that byte comes.
    test::TempDir dir;
    std::string samples;
    for (int i = 0; i < 11; ++i)
        samples += char(0x10 + i);
    audio::FileReaderWAVPCM reader(
        platform::from_utf8(dir.write("odd.wav", test::pcm_wav(1, 8000, 16, samples))));
    ASSERT_TRUE(reader.is_open());
    FastPlay fast;
    ASSERT_TRUE(fast.set_speed(0.75));
    audio::connect<PCMData>(&reader, &fast);
    Samples out;
    for (PCMData chunk = fast.get_data(7); !chunk.is_empty(); chunk = fast.get_data(7)) {
        Samples part = test::samples_of(chunk);
        out.insert(out.end(), part.begin(), part.end());
    }
    audio::connect<PCMData>(&reader, nullptr);
    // Frames 0, 0, 1, 2, 3, 4 at 0.75; the odd byte gives nothing.
    EXPECT_EQ(out.size(), 6u);

    for (double speed : { 0.5, 0.75, 1.5 }) {
        SCOPED_TRACE(speed);
        FastPlay walk;
        walk.set_speed(speed);
        walk.resample(numbered(5));
        PCMData odd(liba::SharedBuffer(1, "\x7f"), 1, 16, 8000);
        EXPECT_TRUE(walk.resample(odd).is_empty());
    }
}
