#include "model/PlayChainFactory.h"

#include "audio/readers/FileReader.h"
#include "model/RangeMarkList.h"
#include "tests/audio/DecodedAudio.h"

#include <gtest/gtest.h>

TEST(OpenPlayChain, WholeFilesAndBookmarkedSegments)
{
    if (!test::have_tool("ffmpeg") || !test::have_tool("oggenc") || !test::have_tool("sox"))
        GTEST_SKIP() << "ffmpeg, oggenc or sox missing";
    test::TempDir dir;
    const std::string wav = test::make_file(dir, "tone.wav",
        { "sox", "-n", "-r", "8000", "-c", "1", "-b", "16", "%o", "synth", "1", "sine", "440" });
    RangeMarkList segments;
    segments.insert(0, u"Bookmark", true);

    struct Case {
        std::string path;
        std::u16string whole, ranged;
    } cases[] = {
        { wav, u"PCM", u"PCM" },
        { test::fixture("wav/adpcm_mono.wav"), u"ADPCM", u"ADPCM" },
        { test::fixture("wav/gsm_ffmpeg.wav"), u"GSM", u"GSM" },
        { test::make_file(dir, "tone.ogg", { "oggenc", "-Q", "-o", "%o", wav }), u"Vorbis", u"Vorbis" },
        { test::fixture("mp3/lame_mpeg2_mono.mp3"), u"mp3", u"mp3" },
        // Neither has a reading of segments.
        { test::fixture("musepack/sv7-440hz.mpc"), u"MPC", u"none" },
        { test::make_file(
              dir, "tone.wma", { "ffmpeg", "-loglevel", "error", "-i", wav, "-c:a", "wmav2", "%o" }),
            u"WMA", u"none" },
        { dir.write("notes.txt", "not audio\n"), u"none", u"none" },
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        auto whole = open_play_chain(test::u16(c.path), nullptr);
        EXPECT_EQ(whole ? whole->get_format_name() : u"none", c.whole);
        auto ranged = open_play_chain(test::u16(c.path), &segments);
        EXPECT_EQ(ranged ? ranged->get_format_name() : u"none", c.ranged);
        for (auto* chain : { whole.get(), ranged.get() }) {
            if (!chain)
                continue;
            EXPECT_TRUE(chain->get_reader()->is_open());
            EXPECT_TRUE(chain->has_pcm_output());
            // One segment from the start covers the whole file.
            EXPECT_FALSE(chain->get_output()->get_data(500).is_empty());
        }
    }
}

TEST(OpenPlayChain, ARangedChainPlaysOnlyItsSegments)
{
    const std::u16string path = test::u16(test::fixture("wav/adpcm_mono.wav"));
    RangeMarkList list;
    list.insert(2, u"Bookmark", true);
    list.insert(4, u"Bookmark", false);
    auto chain = open_play_chain(path, &list);
    ASSERT_NE(chain, nullptr);
    // Two 256-byte blocks of 500 frames, decoded.
    std::string pcm = test::read_all(*chain->get_output(), 300, 1, 8000);
    EXPECT_EQ(pcm.size(), 2u * 500 * 2);
    EXPECT_TRUE(chain->get_reader()->is_end());
}
