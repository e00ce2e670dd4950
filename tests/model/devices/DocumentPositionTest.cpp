// The positions the document reports while playing are those of the audio
// being heard: the test plays the scripted device itself, so it knows exactly
// which sample of the file sounds when it asks.
#include "platform/media/headless/ScriptedWaveDriver.h"
#include "tests/audio/CodecFiles.h"
#include "tests/audio/WavBytes.h"
#include "tests/model/DocumentFixture.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <gtest/gtest.h>
#include <thread>

using platform::headless::ScriptedWaveDriver;

namespace {

constexpr int rate = 8000;
constexpr int seconds = 10;
constexpr std::int64_t frame_bytes = 4;
// 200 ms of 16-bit stereo at 8000 Hz.
constexpr std::size_t buffer_bytes = 6400;
// A bookmark lands within 100 ms of the sample heard.
constexpr std::int64_t tolerance_frames = rate / 10;

// Each frame tells its own index: the left sample counts up to 16383 (below
// the equalizer's limiter), the right one counts the wraps.
std::string counting_frames(int frames)
{
    std::string bytes;
    for (int i = 0; i < frames; ++i)
        bytes += test::le16(std::uint16_t(i % 16384)) + test::le16(std::uint16_t(i / 16384));
    return bytes;
}

std::int64_t frame_index(const std::vector<std::uint8_t>& played, std::size_t at)
{
    auto sample = [&](std::size_t i) { return std::int64_t(played[i] | played[i + 1] << 8); };
    return sample(at) + 16384 * sample(at + 2);
}

class DocumentPosition : public test::DocumentTest {
protected:
    void SetUp() override
    {
        file = dir.write("count.wav", test::pcm_wav(2, rate, 16, counting_frames(rate * seconds)));
    }

    void start(Document& document)
    {
        const int writes = driver.count("out write 6400");
        document.set_play_list(test::u16(dir.path()), test::entries({ test::u16(file) }), 0, false);
        ASSERT_TRUE(document.play_item(0));
        ASSERT_TRUE(driver.wait_for_line("out write 6400", writes + 6));
    }

    // Plays whole buffers' worth from the device, as the sound card would.
    std::vector<std::uint8_t> play(std::size_t bytes)
    {
        std::vector<std::uint8_t> all;
        while (all.size() < bytes) {
            // Counted before playing, so a write that comes in between is not waited for twice.
            const std::size_t writes = write_count(driver.log());
            std::vector<std::uint8_t> part = driver.play_queued(bytes - all.size());
            if (part.empty()) {
                // The player refills on its own thread; wait for its next write, which at the
                // end of the file is a short one.
                EXPECT_TRUE(driver.wait_for([&](const std::vector<std::string>& log) { return write_count(log) > writes; }));
                continue;
            }
            all.insert(all.end(), part.begin(), part.end());
        }
        return all;
    }

    static std::size_t write_count(const std::vector<std::string>& log)
    {
        return std::size_t(std::count_if(
            log.begin(), log.end(), [](const std::string& line) { return line.rfind("out write ", 0) == 0; }));
    }

    void seek_and_pause(Document& document, std::int64_t delay);

    std::string file;
    platform::ScopedService<platform::WaveDriver, ScriptedWaveDriver> scripted { platform::wave_driver_slot() };
    ScriptedWaveDriver& driver = *scripted;
};

}

// A user who marks what they hear: the bookmark, the clock and the progress
// are the sample just played, at any speed and with an equalizer band on.
TEST_F(DocumentPosition, ABookmarkLandsOnTheSampleBeingHeard)
{
    struct Case {
        const char* what;
        double speed;
        bool pitch_lock;
        bool band;
        // Whether the played samples still tell their frame index.
        bool readable;
    } cases[] = {
        { "normal", 1.0, false, false, true },
        { "one band", 1.0, false, true, true },
        { "fast play 2x", 2.0, false, false, true },
        { "fast play 0.5x", 0.5, false, false, true },
        { "time stretch", 0.5, true, false, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        {
            Document document;
            // A band of no width is the identity filter: only its delay shows.
            EqualizerBand& band = document.get_settings().equalizer[0];
            band = EqualizerBand { 1000, 6, 0, c.band };
            document.apply_equalizer();
            document.set_speed(c.speed, c.pitch_lock);
            start(document);

            std::vector<std::uint8_t> played = play(7 * buffer_bytes + 1000 * frame_bytes);
            std::int64_t heard = c.readable ? frame_index(played, played.size() - frame_bytes) + 1
                                            : std::int64_t(played.size() / frame_bytes) / 2;
            document.add_bookmark();
            ASSERT_EQ(document.get_bookmarks().mark_count(), 1);
            std::int64_t marked = document.get_bookmarks().mark(0).position / frame_bytes;
            EXPECT_NEAR(double(marked), double(heard), double(tolerance_frames))
                << "the reader stood at " << document.describe_playback().read_position / 4;
            EXPECT_NEAR(document.get_position_seconds(), double(heard) / rate, 0.1);
            EXPECT_NEAR(double(document.get_position()) / frame_bytes, double(heard), double(tolerance_frames));
            EXPECT_NEAR(document.get_position_fraction(), double(heard) / (rate * seconds), 0.01);
            EXPECT_NEAR(document.get_remaining_seconds(), seconds - double(heard) / rate, 0.1);
            document.stop();
        }
        std::remove((file + ".bm").c_str());
    }
}

// The position holds while paused, and a seek is heard at once: the next
// sample played is the one sought (after a band's tenth of a second of
// silence, never audio from before the seek), and the position starts from it.
TEST_F(DocumentPosition, PauseHoldsItAndASeekStartsFromTheSampleSought)
{
    for (bool band_on : { false, true }) {
        SCOPED_TRACE(band_on ? "one band" : "no band");
        Document document;
        document.get_settings().equalizer[0] = EqualizerBand { 1000, 6, 0, band_on };
        document.apply_equalizer();
        start(document);
        seek_and_pause(document, band_on ? rate / 10 : 0);
    }
}

void DocumentPosition::seek_and_pause(Document& document, std::int64_t delay)
{
    play(3 * buffer_bytes);
    const int pauses = driver.count("out pause");
    ASSERT_TRUE(document.pause());
    ASSERT_TRUE(driver.wait_for_line("out pause", pauses + 1));
    const double paused_at = document.get_position_seconds();
    EXPECT_NEAR(paused_at, 3 * 0.2 - double(delay) / rate, 1e-9);
    // A paused device plays silence and takes nothing from the queue.
    driver.play(buffer_bytes);
    EXPECT_EQ(document.get_position_seconds(), paused_at);
    const int restarts = driver.count("out restart");
    ASSERT_TRUE(document.resume());
    ASSERT_TRUE(driver.wait_for_line("out restart", restarts + 1));

    ASSERT_TRUE(document.seek(0.5));
    EXPECT_NEAR(document.get_position_seconds(), seconds / 2.0, 1e-9);
    std::vector<std::uint8_t> played = play(buffer_bytes);
    const std::size_t lead = std::size_t(delay * frame_bytes);
    EXPECT_EQ(std::vector<std::uint8_t>(played.begin(), played.begin() + std::ptrdiff_t(lead)),
        std::vector<std::uint8_t>(lead, 0));
    EXPECT_EQ(frame_index(played, lead), rate * seconds / 2) << "nothing from before the seek is played";
    EXPECT_NEAR(document.get_position_seconds(), seconds / 2.0 + 0.2 - double(delay) / rate, 1e-9);

    // A skip counts from what is heard.
    ASSERT_TRUE(document.skip(-1.0));
    played = play(lead + frame_bytes);
    EXPECT_EQ(frame_index(played, lead), rate * (seconds / 2 - 1) + rate / 5 - delay);
}

// To the end: the position never runs backwards and reaches the end exactly.
TEST_F(DocumentPosition, ThePositionRunsForwardToTheVeryEnd)
{
    Document document;
    EqualizerBand& band = document.get_settings().equalizer[0];
    band = EqualizerBand { 1000, 6, 0, true };
    document.apply_equalizer();
    start(document);
    double last = 0;
    std::size_t total = 0;
    const std::size_t file_bytes = std::size_t(rate * seconds * frame_bytes);
    // The band's delay plays out at the end: a tenth of a second more.
    const std::size_t out_bytes = file_bytes + std::size_t(rate / 10 * frame_bytes);
    while (total < out_bytes) {
        std::vector<std::uint8_t> part = play(std::min<std::size_t>(5000 * frame_bytes, out_bytes - total));
        total += part.size();
        double now = document.get_position_seconds();
        EXPECT_GE(now, last);
        last = now;
    }
    EXPECT_EQ(last, double(seconds));
    EXPECT_EQ(document.get_position(), std::int64_t(file_bytes));
    EXPECT_EQ(document.get_position_fraction(), 1.0);
}

// Recording a part to insert into the playing file puts it where the user
// heard the file when they asked.
TEST_F(DocumentPosition, AnInsertGoesWhereTheFileWasHeard)
{
    Document document;
    start(document);
    std::vector<std::uint8_t> played = play(4 * buffer_bytes);
    std::int64_t heard = frame_index(played, played.size() - frame_bytes) + 1;
    ASSERT_TRUE(document.record_insert_current());
    EXPECT_NEAR(double(document.describe_recording().insert_position) / frame_bytes, double(heard),
        double(tolerance_frames));
    document.stop();
}

namespace {

// The equalizer's held audio in the document's play path.
class DocumentPlayPath : public DocumentPosition {
protected:
    // A second of stereo tone at 1000 Hz, after `silence` seconds of silence.
    std::string tone(const std::string& name, int amplitude, double silence = 0, double length = 1.0)
    {
        std::string bytes(std::size_t(silence * rate) * frame_bytes, '\0');
        for (int i = 0; i < int(length * rate); ++i) {
            auto value = std::uint16_t(std::int16_t(amplitude * std::sin(2 * M_PI * 1000 * i / rate)));
            bytes += test::le16(value) + test::le16(value);
        }
        return dir.write(name, test::pcm_wav(2, rate, 16, bytes));
    }

    // Plays the device and ticks as the main form does until playback has
    // stopped and the device has closed; returns the left channel heard.
    std::vector<int> play_to_the_end(Document& document)
    {
        std::vector<int> heard;
        for (int i = 0; i < 20000 && (document.is_playing() || driver.has_output()); ++i) {
            std::vector<std::uint8_t> part = driver.play_queued(buffer_bytes);
            for (std::size_t at = 0; at + 4 <= part.size(); at += 4)
                heard.push_back(std::int16_t(part[at] | part[at + 1] << 8));
            if (part.empty()) // the player's thread refills, or closes the device
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            document.on_timer();
        }
        EXPECT_FALSE(document.is_playing());
        return heard;
    }

    static int loud_frames(const std::vector<int>& samples, std::size_t from = 0)
    {
        return int(std::count_if(
            samples.begin() + std::ptrdiff_t(from), samples.end(), [](int s) { return std::abs(s) > 3000; }));
    }

    void one_band(Document& document, bool on = true)
    {
        document.get_settings().equalizer[0] = EqualizerBand { 1000, 3, 1, on };
        document.apply_equalizer();
    }
};

}

// A loud file, then a quiet one: each is heard whole, and nothing of the
// loud one after the quiet one has begun, whether the list moves on by
// itself or the user picks the next file.
TEST_F(DocumentPlayPath, NoAudioOfOneFileIsCarriedIntoTheNext)
{
    const std::string loud = tone("loud.wav", 30000);
    const std::string quiet = tone("quiet.wav", 300);
    {
        Document document;
        one_band(document);
        document.set_play_mode(PlayMode::PlaylistOnce);
        document.set_play_list(test::u16(dir.path()), test::entries({ test::u16(loud), test::u16(quiet) }), 0, false);
        ASSERT_TRUE(document.play_item(0));
        std::vector<int> heard = play_to_the_end(document);
        // The quiet file begins with the first stretch of audio at its level.
        std::size_t quiet_start = 0;
        for (; quiet_start + 50 <= heard.size(); quiet_start += 50) {
            int peak = 0;
            for (std::size_t i = quiet_start; i < quiet_start + 50; ++i)
                peak = std::max(peak, std::abs(heard[i]));
            if (peak > 0 && peak < 1000)
                break;
        }
        // A tone at a quarter of the rate: three frames in four stand out.
        EXPECT_NEAR(loud_frames(heard), 0.75 * rate, 0.05 * rate) << "the loud file heard whole";
        EXPECT_EQ(loud_frames(heard, quiet_start), 0) << "nothing loud after the quiet file began";
        EXPECT_GT(std::count_if(heard.begin() + std::ptrdiff_t(quiet_start), heard.end(), [](int s) { return s != 0; }),
            0.7 * rate)
            << "the quiet file heard whole";
    }
    {
        Document document;
        one_band(document);
        document.set_play_list(test::u16(dir.path()), test::entries({ test::u16(loud), test::u16(quiet) }), 0, false);
        ASSERT_TRUE(document.play_item(0));
        play(3 * buffer_bytes);
        ASSERT_TRUE(document.play_item(1));
        std::vector<int> heard = play_to_the_end(document);
        EXPECT_EQ(loud_frames(heard), 0) << "after the user picked the quiet file";
    }
}

// The last word of a memo: a file that ends in a tenth of a second of tone
// is heard to its end with a band on.
TEST_F(DocumentPlayPath, TheEndOfTheLastFileIsHeardWithABandOn)
{
    const std::string memo = tone("memo.wav", 20000, 1.0, 0.1);
    for (bool on : { false, true }) {
        SCOPED_TRACE(on ? "one band" : "no band");
        Document document;
        one_band(document, on);
        document.set_play_list(test::u16(dir.path()), test::entries({ test::u16(memo) }), 0, false);
        ASSERT_TRUE(document.play_item(0));
        std::vector<int> heard = play_to_the_end(document);
        EXPECT_GT(loud_frames(heard), 0.6 * rate / 10);
    }
}
