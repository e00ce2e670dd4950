#include "model/Router.h"

#include "audio/readers/FileReaderWAVADPCM.h"
#include "model/RangeMarkList.h"
#include "tests/audio/DecodedAudio.h"
#include "tests/audio/WavBytes.h"

#include <gtest/gtest.h>

namespace {

using PcmRouter = Router<audio::FileReaderWAVPCM>;

// Marks at the given byte positions, none played; then the play order.
RangeMarkList marks(std::initializer_list<std::int64_t> positions, std::initializer_list<int> order)
{
    RangeMarkList list;
    for (std::int64_t p : positions)
        list.insert(p, u"Bookmark", false);
    for (int index : order)
        list.append_to_play(index);
    return list;
}

// 16-bit mono whose sample n holds n, so every frame tells where it came from.
std::string counting_wav(const test::TempDir& dir, int frames)
{
    std::string raw;
    for (int n = 0; n < frames; ++n) {
        raw += char(n & 0xFF);
        raw += char((n >> 8) & 0xFF);
    }
    return dir.write("counting.wav", test::pcm_wav(1, 8000, 16, raw));
}

// The origins of the frames of each chunk, for requests of the given size.
std::vector<std::vector<int>> origins(PcmRouter& router, std::int32_t size)
{
    std::vector<std::vector<int>> chunks;
    for (audio::PCMData chunk = router.get_data(size); !chunk.is_empty(); chunk = router.get_data(size)) {
        auto samples = test::samples_of(test::bytes_of(chunk));
        chunks.emplace_back(samples.begin(), samples.end());
    }
    return chunks;
}

std::vector<int> run(int from, int to)
{
    std::vector<int> out;
    for (int n = from; n < to; ++n)
        out.push_back(n);
    return out;
}

std::vector<int> flat(const std::vector<std::vector<int>>& chunks)
{
    std::vector<int> out;
    for (const auto& c : chunks)
        out.insert(out.end(), c.begin(), c.end());
    return out;
}

class RouterPcm : public ::testing::Test {
protected:
    test::TempDir dir;
    std::u16string wav = test::u16(counting_wav(dir, 5000)); // 10,000 bytes
};

}

TEST_F(RouterPcm, PlaysTheSegmentsInPlayOrderOnly)
{
    struct Case {
        const char* what;
        RangeMarkList list;
        std::vector<int> expected;
    } cases[] = {
        { "third then first of four", marks({ 0, 2000, 4000, 6000 }, { 2, 0 }),
            [] {
                auto v = run(2000, 3000);
                auto first = run(0, 1000);
                v.insert(v.end(), first.begin(), first.end());
                return v;
            }() },
        { "adjacent segments run on", marks({ 1000, 3000, 5000 }, { 0, 1 }), run(500, 2500) },
        { "last segment to the end of the file", marks({ 0, 9000 }, { 1 }), run(4500, 5000) },
        // 1,001 bytes: the segment ends at its last whole frame.
        { "odd length", marks({ 0, 1001 }, { 0 }), run(0, 500) },
        // Two segments of one byte each in a row: both skipped, not the end.
        { "segments too short for a frame", marks({ 0, 100, 101, 200, 201, 4000 }, { 1, 3, 5 }),
            run(2000, 5000) },
        { "nothing played", marks({ 0, 4000 }, {}), {} },
        { "no marks", RangeMarkList {}, {} },
    };

    for (auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (std::int32_t size : { 16384, 300, 1 }) {
            PcmRouter router(wav, c.list);
            ASSERT_TRUE(router.is_open());
            EXPECT_EQ(router.is_end(), c.expected.empty());
            EXPECT_EQ(flat(origins(router, size)), c.expected) << "requests of " << size;
            EXPECT_TRUE(router.is_end());
            EXPECT_EQ(router.get_position_bytes(), router.get_length_bytes());
        }
    }
}

TEST_F(RouterPcm, ARequestNearTheSegmentEndStopsThere)
{
    PcmRouter router(wav, marks({ 0, 2000, 4000, 6000 }, { 0, 2 }));
    router.seek_bytes(2000 - 200);
    audio::PCMData chunk = router.get_data(16384);
    EXPECT_EQ(test::samples_of(test::bytes_of(chunk)), [] {
        std::vector<std::int16_t> v;
        for (int n = 900; n < 1000; ++n)
            v.push_back(std::int16_t(n));
        return v;
    }());
    chunk = router.get_data(16384);
    ASSERT_FALSE(chunk.is_empty());
    EXPECT_EQ(test::samples_of(test::bytes_of(chunk)).front(), 2000);
}

TEST_F(RouterPcm, ASeekOutsideTheSegmentMovesOnToTheNext)
{
    PcmRouter router(wav, marks({ 0, 2000, 4000, 6000 }, { 0, 2, 3 }));
    router.seek_bytes(1000); // inside the first segment: plays on from there
    EXPECT_EQ(test::samples_of(test::bytes_of(router.get_data(10))).front(), 500);
    router.seek_bytes(3000); // in the unplayed second segment
    EXPECT_EQ(test::samples_of(test::bytes_of(router.get_data(10))).front(), 2000);
}

TEST(RouterMp3, ASegmentEndsAfterTheLastFrameThatBeginsInIt)
{
    const std::u16string path = test::u16(test::fixture("mp3/lame_mpeg1_stereo.mp3"));
    // Where each frame begins, from a plain reader.
    std::vector<std::int64_t> starts;
    {
        audio::FileReaderMP3 plain(path);
        for (audio::MP3Data f = plain.get_data(1); !f.is_empty(); f = plain.get_data(1))
            starts.push_back(plain.get_position_bytes() - f.frame_length);
    }
    ASSERT_GT(starts.size(), 10u);
    // Segment 1 from the middle of frame 4 to the middle of frame 9, then segment 0.
    const std::int64_t a = starts[4] + 100, b = starts[9] + 100;
    Router<audio::FileReaderMP3> router(path, marks({ 0, a, b }, { 1, 0 }));
    std::vector<std::int64_t> played;
    for (audio::MP3Data f = router.get_data(5); !f.is_empty(); f = router.get_data(5))
        played.push_back(router.get_position_bytes() - f.frame_length);
    std::vector<std::int64_t> expected(starts.begin() + 5, starts.begin() + 10);
    expected.insert(expected.end(), starts.begin(), starts.begin() + 5);
    EXPECT_EQ(played, expected);
    EXPECT_TRUE(router.is_end());
}

TEST(RouterAdpcm, SegmentsCountWholeBlocks)
{
    const std::u16string path = test::u16(test::fixture("wav/adpcm_mono.wav"));
    std::vector<std::string> blocks;
    {
        audio::FileReaderWAVADPCM plain(path);
        for (audio::ADPCMData b = plain.get_data(1); !b.is_empty(); b = plain.get_data(1))
            blocks.push_back(test::bytes_of(b));
    }
    ASSERT_GE(blocks.size(), 6u);
    Router<audio::FileReaderWAVADPCM> router(path, marks({ 0, 3, 5 }, { 1, 0 }));
    std::vector<std::string> played;
    for (audio::ADPCMData b = router.get_data(100); !b.is_empty(); b = router.get_data(100)) {
        const std::string bytes = test::bytes_of(b);
        for (std::size_t at = 0; at < bytes.size(); at += blocks[0].size())
            played.push_back(bytes.substr(at, blocks[0].size()));
    }
    const std::vector<std::string> expected = { blocks[3], blocks[4], blocks[0], blocks[1], blocks[2] };
    EXPECT_TRUE(played == expected);
}
