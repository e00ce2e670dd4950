#include "audio/codecs/EncoderMP3.h"

#include "audio/writers/FileWriterMP3.h"
#include "tests/audio/DecodedAudio.h"
#include "tests/audio/PipelineDoubles.h"
#include "tests/audio/RecordedFile.h"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

// What the adapter did to its cores, in order.
struct CoreLog {
    std::vector<std::string> calls;
    std::vector<std::vector<std::int16_t>> lefts, rights;
    std::int32_t frame_size = 576;
    std::int32_t flush_result = 3;
    int refusals = 0; // creations still to refuse
};

// Answers each encode with one byte holding the call's number, and a flush
// with flush_result bytes of 0xFF.
class FakeCore : public audio::EncoderMP3Core {
public:
    FakeCore(CoreLog& log, int rate)
        : m_log(log)
        , m_rate(rate)
    {
    }

    std::int32_t frame_size() override { return m_log.frame_size; }

    std::int32_t max_encode_bytes() override { return 2500; }

    std::int32_t max_flush_bytes() override { return 2500; }

    std::int32_t encode(const std::int16_t* left, const std::int16_t* right, std::int32_t count,
        std::uint8_t* out, std::int32_t) override
    {
        m_log.calls.push_back("encode " + std::to_string(m_rate) + " " + std::to_string(count));
        m_log.lefts.emplace_back(left, left + count);
        m_log.rights.emplace_back(right, right + count);
        out[0] = std::uint8_t(m_log.calls.size());
        return 1;
    }

    std::int32_t flush(std::uint8_t* out, std::int32_t) override
    {
        m_log.calls.push_back("flush " + std::to_string(m_rate));
        for (int i = 0; i < m_log.flush_result; ++i)
            out[i] = 0xFF;
        return m_log.flush_result;
    }

private:
    CoreLog& m_log;
    int m_rate;
};

struct Rig {
    CoreLog log;
    test::Collector<audio::MP3Data> sink;
    std::unique_ptr<audio::EncoderMP3> encoder;

    explicit Rig(std::int32_t bitrate = 32000)
    {
        encoder = std::make_unique<audio::EncoderMP3>(
            bitrate, [this](std::int32_t rate, std::int32_t channels, std::int32_t kbps) {
                log.calls.push_back("create " + std::to_string(rate) + " " + std::to_string(channels) + " "
                    + std::to_string(kbps));
                if (log.refusals > 0) {
                    --log.refusals;
                    return std::unique_ptr<audio::EncoderMP3Core>();
                }
                return std::unique_ptr<audio::EncoderMP3Core>(std::make_unique<FakeCore>(log, rate));
            });
        audio::connect<audio::MP3Data>(encoder.get(), &sink);
    }

    void push(const audio::PCMData& chunk) { encoder->on_data(chunk); }

    // Deletes the encoder, as its record chain does at the end.
    void finish() { encoder.reset(); }

    std::size_t encodes() const
    {
        std::size_t n = 0;
        for (const auto& call : log.calls)
            n += call.starts_with("encode");
        return n;
    }
};

// Encodes 16-bit mono samples, pushed in chunks of 1,000, into an MP3 file.
std::string encode_to_file(
    const test::TempDir& dir, const std::vector<std::int16_t>& samples, int rate, std::int32_t bitrate)
{
    const std::string path = dir.file("out.mp3");
    audio::FileWriterMP3 writer(test::u16(path));
    audio::EncoderMP3 encoder(bitrate);
    audio::connect<audio::MP3Data>(&encoder, &writer);
    for (std::size_t at = 0; at < samples.size(); at += 1000) {
        const std::size_t n = std::min<std::size_t>(1000, samples.size() - at);
        encoder.on_data(audio::PCMData(liba::SharedBuffer(n * 2, &samples[at]), 1, 16, rate));
    }
    // The encoder goes first: its last frames reach the writer.
    return path;
}

audio::PCMData mono16(std::size_t bytes, int rate = 8000)
{
    return test::counting_pcm(bytes, 1, 16, rate);
}

}

TEST(EncoderMP3, CollectsWholeFramesAndEncodesWhatIsLeftAtTheEnd)
{
    // 16-bit mono, 576 samples a frame: 1,152 bytes.
    Rig rig;
    rig.push(mono16(10000));
    EXPECT_EQ(rig.encodes(), 8u);
    EXPECT_EQ(rig.log.calls.front(), "create 8000 1 32");
    rig.finish();
    // The 784 bytes collected are encoded before the flush, not lost.
    ASSERT_EQ(rig.log.calls.size(), 11u);
    EXPECT_EQ(rig.log.calls[9], "encode 8000 392");
    EXPECT_EQ(rig.log.calls[10], "flush 8000");
    EXPECT_EQ(rig.sink.received.back().size(), 3u);
}

TEST(EncoderMP3, SmallChunksAccumulateAndAFullFrameWaitsForMore)
{
    Rig rig;
    for (int i = 0; i < 11; ++i)
        rig.push(mono16(100));
    EXPECT_EQ(rig.encodes(), 0u);
    rig.push(mono16(100)); // 1,200 bytes: one frame and 48 over
    EXPECT_EQ(rig.encodes(), 1u);
    rig.push(mono16(1104)); // exactly the missing bytes: the frame stays full
    EXPECT_EQ(rig.encodes(), 1u);
    rig.push(mono16(2));
    EXPECT_EQ(rig.encodes(), 2u);
    // The frames hold the chunks' samples in order: bytes 0x00 0x01 are 256.
    EXPECT_EQ(rig.log.lefts[0][0], 0x0100);
    EXPECT_EQ(rig.log.lefts[0][25], 0x3332);
}

TEST(EncoderMP3, ARateChangeFlushesTheFirstStreamBeforeTheNext)
{
    Rig rig;
    rig.push(mono16(3000, 22050));
    rig.push(mono16(3000, 44100));
    rig.finish();
    const std::vector<std::string> expected = {
        "create 22050 1 32",
        "encode 22050 576",
        "encode 22050 576",
        "encode 22050 348",
        "flush 22050",
        "create 44100 1 32",
        "encode 44100 576",
        "encode 44100 576",
        "encode 44100 348",
        "flush 44100",
    };
    EXPECT_EQ(rig.log.calls, expected);
    // The flushed bytes reach the writer before the new stream's frames.
    ASSERT_EQ(rig.sink.received.size(), 8u);
    EXPECT_EQ(test::bytes_of(rig.sink.received[3]), "\xFF\xFF\xFF");
    EXPECT_EQ(test::bytes_of(rig.sink.received[4]), "\x07");
}

TEST(EncoderMP3, WidensEightBitSamplesAndSplitsStereo)
{
    Rig rig;
    rig.log.frame_size = 2;
    const std::uint8_t bytes[] = { 128, 255, 0, 1, 200, 7 };
    rig.push(audio::PCMData(liba::SharedBuffer(sizeof bytes, bytes), 2, 8, 8000));
    rig.finish();
    ASSERT_EQ(rig.log.lefts.size(), 2u);
    EXPECT_EQ(rig.log.lefts[0], (std::vector<std::int16_t> { 0, -32768 }));
    EXPECT_EQ(rig.log.rights[0], (std::vector<std::int16_t> { 32512, -32512 }));
    EXPECT_EQ(rig.log.lefts[1], (std::vector<std::int16_t> { 18432 }));
    EXPECT_EQ(rig.log.rights[1], (std::vector<std::int16_t> { -30976 }));

    Rig mono;
    mono.log.frame_size = 3;
    const std::uint8_t mono_bytes[] = { 128, 255, 0, 9 };
    mono.push(audio::PCMData(liba::SharedBuffer(sizeof mono_bytes, mono_bytes), 1, 8, 8000));
    ASSERT_EQ(mono.log.lefts.size(), 1u);
    EXPECT_EQ(mono.log.lefts[0], (std::vector<std::int16_t> { 0, 32512, -32768 }));
    EXPECT_EQ(mono.log.rights[0], (std::vector<std::int16_t> { 0, 0, 0 }));
}

TEST(EncoderMP3, IgnoresUnusableChunksAndRetriesARefusedCore)
{
    Rig rig;
    rig.push(audio::PCMData {});
    rig.push(test::counting_pcm(600, 3, 16, 8000));
    rig.push(test::counting_pcm(600, 1, 0, 8000));
    rig.push(test::counting_pcm(600, 1, 16, 0));
    rig.push(test::counting_pcm(600, 1, 24, 8000));
    EXPECT_TRUE(rig.log.calls.empty());

    rig.log.refusals = 1;
    rig.push(mono16(2000));
    rig.push(mono16(2000));
    const std::vector<std::string> expected = { "create 8000 1 32", "create 8000 1 32", "encode 8000 576" };
    EXPECT_EQ(rig.log.calls, expected);
}

TEST(EncoderMP3, AFailedFlushPushesNothing)
{
    Rig rig;
    rig.log.flush_result = -1;
    rig.push(mono16(1200));
    rig.finish();
    ASSERT_EQ(rig.sink.received.size(), 2u); // the two encodes, nothing from the flush
    EXPECT_EQ(rig.log.calls.back(), "flush 8000");
}

TEST(EncoderMP3, TheRealCoreKeepsTheEndOfARecording)
{
    if (!test::have_tool("ffmpeg"))
        GTEST_SKIP() << "ffmpeg missing";
    // One second of silence, then a loud 400-sample burst that ends inside
    // the last, partial frame.
    constexpr int rate = 8000, silence = 8000, burst = 400;
    std::vector<std::int16_t> samples(silence + burst, 0);
    for (int i = 0; i < burst; ++i)
        samples[silence + i] = std::int16_t(20000 * std::sin(i * 0.3));
    test::TempDir dir;
    const std::string path = encode_to_file(dir, samples, rate, 32000);
    auto decoded = test::decode_s16(path);
    // The stream starts with the core's 528 leading samples and ends within
    // its flush padding.
    ASSERT_GE(decoded.size(), samples.size() + 528);
    EXPECT_LE(decoded.size(), samples.size() + 528 + 1728 + 576);
    EXPECT_GT(test::rms(decoded, 528 + silence, 528 + silence + burst), 5000.0);
}

TEST(EncoderMP3, ALowRateRaisedByTheCoreKeepsEveryFrame)
{
    if (!test::have_tool("ffmpeg"))
        GTEST_SKIP() << "ffmpeg missing";
    // 2,000 Hz goes out at 8,000 Hz: each frame of input makes four frames
    // of 1,440 bytes at 160 kbit/s, more than one frame's room.
    std::vector<std::int16_t> samples(4000);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = std::int16_t(10000 * std::sin(i * 2 * M_PI * 300 / 2000));
    test::TempDir dir;
    auto decoded = test::decode_s16(encode_to_file(dir, samples, 2000, 160000));
    ASSERT_GE(decoded.size(), 16000u);
    EXPECT_GT(test::rms(decoded, 4000, 12000), 5000.0);
}

TEST(EncoderMP3, EveryInputSampleReachesTheFileWhateverTheRateConversion)
{
    if (!test::have_tool("ffmpeg"))
        GTEST_SKIP() << "ffmpeg missing";

    struct Case {
        int in_rate;
        std::int32_t bitrate;
        int out_rate;
    };

    const Case cases[] = {
        { 44100, 8000, 8000 },
        { 22050, 8000, 8000 },
        { 44100, 32000, 22050 },
        { 8000, 32000, 8000 },
        { 11025, 16000, 11025 },
        { 48000, 64000, 48000 },
        { 16000, 24000, 16000 },
        { 32000, 16000, 11025 },
        { 2000, 160000, 8000 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.in_rate << " Hz at " << c.bitrate);
        // A steady tone to the last sample: where it ends in the decode shows
        // whether the end of the input made it into the file.
        const int count = c.in_rate * 6 / 10 + 77;
        std::vector<std::int16_t> samples(std::size_t(count), 0);
        for (int i = 0; i < count; ++i)
            samples[std::size_t(i)] = std::int16_t(12000 * std::sin(i * 2 * M_PI * 300 / c.in_rate));
        test::TempDir dir;
        const std::string path = encode_to_file(dir, samples, c.in_rate, c.bitrate);
        EXPECT_EQ(test::probe_stream(path), "mp3," + std::to_string(c.out_rate) + ",1\n");
        auto decoded = test::decode_s16(path);
        std::size_t onset = 0;
        while (onset < decoded.size() && std::abs(decoded[onset]) < 3000)
            ++onset;
        const auto end = onset + std::size_t(std::int64_t(count) * c.out_rate / c.in_rate);
        const std::size_t frame = c.out_rate > 24000 ? 1152 : 576;
        ASSERT_GE(decoded.size(), end);
        EXPECT_GT(test::rms(decoded, end - c.out_rate / 50, end - c.out_rate / 200), 5000.0);
        // What follows is the core's flush padding: less than its delay and one frame.
        EXPECT_LT(decoded.size() - end, 1728 + frame);
    }
}
