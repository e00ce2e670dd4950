#include "audio/codecs/BlockDecoderPCM.h"
#include "audio/MP3Data.h"
#include "audio/Processor.h"
#include "tests/audio/PipelineDoubles.h"

#include <gtest/gtest.h>

using audio::PCMData;
using test::Collector;
using test::ScriptedProvider;

TEST(PCMData, FramesAreWholeFramesOfTheFormat)
{
    struct Case {
        std::size_t bytes;
        int channels, bits;
        int frames;
    } cases[] = {
        // clang-format off
        { 0, 2, 16, 0 },
        { 10, 2, 16, 2 },       // integer division drops the half frame
        { 4608, 2, 16, 1152 },
        { 7, 1, 8, 7 },
        { 12, 2, 24, 2 },
        { 9, 1, 12, 4 },        // 12-bit samples take two bytes
        // clang-format on
    };

    for (const auto& c : cases)
        EXPECT_EQ(test::counting_pcm(c.bytes, c.channels, c.bits).get_frames(), c.frames) << c.bytes;
    EXPECT_EQ(PCMData().get_frames(), 0);
    EXPECT_TRUE(PCMData().is_empty());
}

TEST(Pipeline, UnlinkedEndsDropPushesAndPullEmpty)
{
    ScriptedProvider<PCMData> provider;
    provider.push(test::counting_pcm(8)); // nobody to take it
    Collector<PCMData> consumer;
    EXPECT_TRUE(consumer.pull(100).is_empty());
    EXPECT_TRUE(provider.requests.empty());
}

TEST(Pipeline, ConnectRelinksAndDisconnects)
{
    ScriptedProvider<PCMData> p;
    Collector<PCMData> c1, c2;

    audio::connect(&p, &c1);
    EXPECT_EQ(p.get_consumer(), &c1);
    EXPECT_EQ(c1.get_provider(), &p);

    audio::connect(&p, &c2);
    EXPECT_EQ(p.get_consumer(), &c2);
    EXPECT_EQ(c1.get_provider(), nullptr);
    EXPECT_EQ(c2.get_provider(), &p);

    p.push(test::counting_pcm(4));
    EXPECT_TRUE(c1.received.empty());
    EXPECT_EQ(c2.received.size(), 1u);

    audio::connect(&p, nullptr);
    EXPECT_EQ(p.get_consumer(), nullptr);
    EXPECT_EQ(c2.get_provider(), nullptr);
}

TEST(Pipeline, DisconnectLeavesAConsumerThatMovedToAnotherProvider)
{
    ScriptedProvider<PCMData> p1, p2;
    Collector<PCMData> c;
    audio::connect(&p1, &c);
    audio::connect(&p2, &c); // p1 is not told and still names c
    EXPECT_EQ(p1.get_consumer(), &c);

    audio::connect(&p1, nullptr);
    EXPECT_EQ(p1.get_consumer(), nullptr);
    EXPECT_EQ(c.get_provider(), &p2);

    p2.script.push_back(test::counting_pcm(4));
    EXPECT_EQ(c.pull(1).size(), 4u);
}

namespace {

// Halves every byte, keeping the format: enough to see that process ran.
class Halver : public audio::Processor<PCMData, PCMData> {
public:
    PCMData process(const PCMData& input) override
    {
        PCMData out = input;
        std::uint8_t* p = out.buffer.make_unique() + out.buffer.offset();
        for (std::size_t i = 0; i < out.size(); ++i)
            p[i] = static_cast<std::uint8_t>(p[i] / 2);
        return out;
    }
};

}

TEST(Processor, TransformsPushedAndPulledChunksWithoutTouchingTheInput)
{
    ScriptedProvider<PCMData> source;
    Halver halver;
    Collector<PCMData> sink;
    audio::connect(&source, &halver);
    audio::connect(&halver, &sink);

    PCMData input = test::counting_pcm(4, 1, 8, 8000, 10);
    source.push(input);
    ASSERT_EQ(sink.received.size(), 1u);
    EXPECT_EQ(test::bytes_of(sink.received[0]), std::string("\x05\x05\x06\x06", 4));
    EXPECT_EQ(sink.received[0].sample_rate, 8000);
    EXPECT_EQ(
        test::bytes_of(input), std::string("\x0a\x0b\x0c\x0d", 4)); // the shared bytes were copied first

    source.script.push_back(test::counting_pcm(2, 1, 8, 8000, 20));
    PCMData pulled = halver.get_data(123);
    EXPECT_EQ(source.requests, std::vector<std::int32_t> { 123 });
    EXPECT_EQ(test::bytes_of(pulled), std::string("\x0a\x0a", 2));
}

namespace {

// Every input frame decodes to 1152 stereo 16-bit frames counting up from
// the frame's first byte.
class FakeDecoder : public audio::BlockDecoderPCM<audio::MP3Data> {
public:
    int decoded = 0;
    std::int32_t per_request = 1;

    PCMData decode(const audio::MP3Data& frame) override
    {
        ++decoded;
        if (frame.bytes()[0] == 0xEE)
            return {}; // a frame that cannot be decoded
        return test::counting_pcm(4608, 2, 16, 44100, frame.bytes()[0]);
    }

    std::int32_t blocks_for_size(std::int32_t) override { return per_request; }
};

audio::MP3Data frame(std::uint8_t first)
{
    audio::MP3Data f;
    f.buffer = liba::SharedBuffer(1, &first);
    f.frame_length = 1;
    return f;
}

}

TEST(BlockDecoderPCM, ServesRequestsOfAnySizeFromPendingSamples)
{
    ScriptedProvider<audio::MP3Data> reader;
    FakeDecoder decoder;
    audio::connect(&reader, &decoder);
    reader.script = { frame(0), frame(100) };

    PCMData first = decoder.get_data(100);
    EXPECT_EQ(first.get_frames(), 100);
    EXPECT_EQ(first.channels, 2);
    EXPECT_EQ(first.sample_rate, 44100);
    EXPECT_EQ(first.bytes()[0], 0);

    PCMData rest = decoder.get_data(2000); // the 1052 pending frames, no pull
    EXPECT_EQ(rest.get_frames(), 1052);
    EXPECT_EQ(rest.bytes()[0], 400 % 256);
    EXPECT_EQ(reader.requests.size(), 1u);

    PCMData next = decoder.get_data(1);
    EXPECT_EQ(next.get_frames(), 1);
    EXPECT_EQ(next.bytes()[0], 100);
    EXPECT_EQ(reader.requests.size(), 2u);
}

TEST(BlockDecoderPCM, EmptyUpstreamGivesEmptyAndIsAskedAgain)
{
    ScriptedProvider<audio::MP3Data> reader;
    FakeDecoder decoder;
    decoder.per_request = 7;
    audio::connect(&reader, &decoder);

    EXPECT_TRUE(decoder.get_data(1000).is_empty());
    reader.script = { frame(5) };
    EXPECT_EQ(decoder.get_data(1000).get_frames(), 1000);
    EXPECT_EQ(reader.requests, (std::vector<std::int32_t> { 7, 7 }));
}

TEST(BlockDecoderPCM, SkipsBlocksThatDoNotDecode)
{
    ScriptedProvider<audio::MP3Data> reader;
    FakeDecoder decoder;
    audio::connect(&reader, &decoder);
    reader.script = { frame(0xEE), frame(3) };
    PCMData out = decoder.get_data(10);
    EXPECT_EQ(out.get_frames(), 10);
    EXPECT_EQ(out.bytes()[0], 3);
    EXPECT_EQ(decoder.decoded, 2);
}

TEST(BlockDecoderPCM, PushedBlocksAreDecodedAndPassedOn)
{
    ScriptedProvider<audio::MP3Data> reader;
    FakeDecoder decoder;
    Collector<PCMData> sink;
    audio::connect(&reader, &decoder);
    audio::connect(&decoder, &sink);
    reader.push(frame(9));
    ASSERT_EQ(sink.received.size(), 1u);
    EXPECT_EQ(sink.received[0].get_frames(), 1152);
}
