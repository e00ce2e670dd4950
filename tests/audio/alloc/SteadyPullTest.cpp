// Once playback is under way, pulling audio allocates nothing: every reader,
// decoder and filter writes into buffers it keeps.
#include "audio/chains/ChainFactory.h"
#include "audio/filters/EqualizerPCM.h"
#include "audio/filters/FastPlay.h"
#include "audio/filters/LevelFilter.h"
#include "audio/filters/LevelMeter.h"
#include "audio/filters/NullProcessor.h"
#include "audio/filters/StretchFilter.h"
#include "audio/readers/FileReaderWMA.h"
#include "tests/audio/DecodedAudio.h"
#include "tests/audio/Signals.h"
#include "tests/audio/alloc/AllocationCounter.h"

#include <cstddef>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

// What the player asks for at each pull.
constexpr std::int32_t player_pull = 16384;

// Hands out slices of one long buffer made beforehand, as a reader would
// hand out what it read; the slices allocate nothing.
class Source : public audio::Provider<audio::PCMData> {
public:
    explicit Source(audio::PCMData all)
        : m_all(std::move(all))
    {
    }

    audio::PCMData get_data(std::int32_t frames) override
    {
        std::size_t bytes = std::size_t(frames) * std::size_t(m_all.bytes_per_frame());
        bytes = std::min(bytes, m_all.size() - std::min(m_at, m_all.size()));
        audio::PCMData chunk(liba::SharedBuffer(m_all.buffer, m_at, bytes), m_all.channels,
            m_all.bits_per_sample, m_all.sample_rate);
        m_at += bytes;
        return bytes ? chunk : audio::PCMData();
    }

private:
    audio::PCMData m_all;
    std::size_t m_at = 0;
};

struct PathSettings {
    bool bands;
    double speed;
    int factor;
    bool levels;
};

// The document's play path behind a source, every filter as set, pulled as
// the player pulls.
struct PlayPath {
    audio::NullProcessor<audio::PCMData> head;
    audio::EqualizerPCM low, high;
    audio::FastPlay fast;
    audio::StretchFilter stretch;
    audio::LevelFilter levels;
    audio::LevelMeter meter;
    std::vector<audio::Provider<audio::PCMData>*> providers;

    PlayPath(audio::Provider<audio::PCMData>& source, const PathSettings& settings)
    {
        for (auto [band, hertz] : { std::pair { &low, 200.0 }, std::pair { &high, 3000.0 } }) {
            band->set_gain(6);
            band->set_frequency(hertz);
            band->set_bandwidth(1);
        }
        fast.set_speed(settings.speed);
        stretch.set_factor(settings.factor);
        if (settings.levels)
            levels.set_curve(128, 128, 128);
        providers = { &source, &head };
        std::vector<audio::Consumer<audio::PCMData>*> consumers { &head };
        if (settings.bands) {
            providers.insert(providers.end(), { &low, &high });
            consumers.insert(consumers.end(), { &low, &high });
        }
        providers.insert(providers.end(), { &fast, &stretch, &levels });
        consumers.insert(consumers.end(), { &fast, &stretch, &levels, &meter });
        for (std::size_t i = 0; i < providers.size(); ++i)
            audio::connect<audio::PCMData>(providers[i], consumers[i]);
    }

    ~PlayPath()
    {
        for (auto* provider : providers)
            audio::connect<audio::PCMData>(provider, nullptr);
    }
};

// Pulls about `seconds` of output, as the player does.
bool pull_seconds(audio::Provider<audio::PCMData>& output, double seconds)
{
    double pulled = 0;
    while (pulled < seconds) {
        audio::PCMData chunk = output.get_data(player_pull);
        if (chunk.is_empty() || chunk.sample_rate <= 0)
            return false;
        pulled += double(chunk.get_frames()) / chunk.sample_rate;
    }
    return true;
}

// Warms up long enough for every buffer to have grown (the level meter's
// history to its seconds), then counts what ten more seconds cost.
test::Allocations steady_allocations(audio::Provider<audio::PCMData>& output)
{
    EXPECT_TRUE(pull_seconds(output, 15));
    bool pulled = false;
    test::Allocations counted = test::allocations_in([&] { pulled = pull_seconds(output, 10); });
    EXPECT_TRUE(pulled) << "the file ended before the count did";
    return counted;
}

class SteadyPull : public ::testing::Test {
protected:
    // A minute of two tones that swell and fade, as a WAV file: steady
    // enough that every buffer reaches its size during the warm-up.
    std::string music(int rate = 44100, int channels = 2)
    {
        return test::make_file(dir, "music" + std::to_string(rate) + "-" + std::to_string(channels) + ".wav",
            { "sox", "-n", "-r", std::to_string(rate), "-c", std::to_string(channels), "-b", "16", "%o",
                "synth", "60", "sine", "440", "sine", "1250", "vol", "0.7", "tremolo", "2", "80" });
    }

    test::TempDir dir;
};

}

TEST_F(SteadyPull, EveryReaderAllocatesNothingOnceUnderWay)
{
    for (const char* tool : { "sox", "lame", "oggenc", "mpcenc" }) {
        if (!test::have_tool(tool))
            GTEST_SKIP() << tool << " makes the files";
    }
    const std::string wav = music();
    struct Case {
        const char* format;
        std::string file;
    } cases[] = {
        { "PCM", wav },
        { "PCM 24-bit", test::make_file(dir, "wide.wav", { "sox", wav, "-b", "24", "%o" }) },
        { "PCM 8-bit mono", test::make_file(dir, "narrow.wav", { "sox", wav, "-b", "8", "-c", "1", "%o" }) },
        { "ADPCM", test::make_file(dir, "adpcm.wav", { "sox", wav, "-e", "ms-adpcm", "%o" }) },
        { "GSM",
            test::make_file(
                dir, "gsm.wav", { "sox", wav, "-r", "8000", "-c", "1", "-e", "gsm-full-rate", "%o" }) },
        { "MP3", test::make_file(dir, "music.mp3", { "lame", "--quiet", "-b", "128", wav, "%o" }) },
        { "MP3 VBR", test::make_file(dir, "vbr.mp3", { "lame", "--quiet", "-V", "4", wav, "%o" }) },
        { "Vorbis", test::make_file(dir, "music.ogg", { "oggenc", "-Q", "-o", "%o", wav }) },
        { "Musepack", test::make_file(dir, "music.mpc", { "mpcenc", "--silent", "--overwrite", wav, "%o" }) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        auto chain = audio::create_play_chain(test::u16(c.file));
        ASSERT_TRUE(chain);
        test::Allocations counted = steady_allocations(*chain->get_output());
        EXPECT_EQ(counted.ours, 0u);
        EXPECT_EQ(counted.all, 0u);
    }
}

// FFmpeg's demuxer gives every packet a buffer of its own and its decoder
// takes a reference on a pooled frame buffer for every frame, each a malloc
// inside av_read_frame and avcodec_receive_frame that no caller can avoid:
// only the allocations of our own code count here.
TEST_F(SteadyPull, TheWmaReaderAllocatesNothingOfItsOwnOnceUnderWay)
{
    if (!test::have_tool("sox") || !test::have_tool("ffmpeg"))
        GTEST_SKIP() << "sox and ffmpeg make the file";
    const std::string file = test::make_file(
        dir, "music.wma", { "ffmpeg", "-loglevel", "error", "-i", music(), "-c:a", "wmav2", "-y", "%o" });
    audio::FileReaderWMA reader(test::u16(file));
    ASSERT_TRUE(reader.is_open());
    EXPECT_EQ(steady_allocations(reader).ours, 0u);
}

// The whole play path, from the file's chain through every filter set as the
// user may set them.
TEST_F(SteadyPull, TheWholePlayPathAllocatesNothingOnceUnderWay)
{
    if (!test::have_tool("sox") || !test::have_tool("lame"))
        GTEST_SKIP() << "sox and lame make the files";
    const std::string wav = music();
    const std::string files[] = {
        wav,
        test::make_file(dir, "music.mp3", { "lame", "--quiet", "-b", "128", wav, "%o" }),
        music(8000, 1),
    };
    const PathSettings settings[] = {
        { false, 1.0, 1, false },
        { true, 1.0, 2, true },
        { true, 1.5, 1, true },
        { false, 0.75, 3, false },
    };
    for (const std::string& file : files) {
        for (const PathSettings& s : settings) {
            SCOPED_TRACE(testing::Message()
                << file << ": bands " << s.bands << ", speed " << s.speed << ", factor " << s.factor
                << ", levels " << s.levels);
            auto chain = audio::create_play_chain(test::u16(file));
            ASSERT_TRUE(chain);
            PlayPath path(*chain->get_output(), s);
            test::Allocations counted = steady_allocations(path.meter);
            EXPECT_EQ(counted.ours, 0u);
            EXPECT_EQ(counted.all, 0u);
            audio::connect<audio::PCMData>(chain->get_output(), nullptr);
        }
    }
}

// The filters alone, over music-like sound made in memory.
TEST(SteadyPullFilters, AllocateNothingOnceUnderWay)
{
    struct Case {
        test::Format format;
        double speed;
        int factor;
    } cases[] = {
        { { 2, 16, 44100 }, 1.0, 2 },
        { { 2, 16, 44100 }, 1.5, 1 },
        { { 1, 8, 8000 }, 0.75, 3 },
    };

    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
            << c.format.channels << "x" << c.format.bits << " " << c.speed << " " << c.factor);
        test::Samples samples
            = test::golden_input(c.format.rate * 60, c.format.rate, c.format.channels, c.format.bits);
        Source source(test::chunk_of(samples, c.format.channels, c.format.bits, c.format.rate));
        PlayPath path(source, { true, c.speed, c.factor, true });
        test::Allocations counted = steady_allocations(path.meter);
        EXPECT_EQ(counted.ours, 0u);
        EXPECT_EQ(counted.all, 0u);
    }
}
