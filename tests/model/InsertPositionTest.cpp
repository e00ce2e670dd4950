#include "model/ipc/InsertPosition.h"

#include "tests/audio/DecodedAudio.h"

#include <cctype>
#include <gtest/gtest.h>
#include <sstream>

namespace {

class InsertPosition : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!test::have_tool("sox") || !test::have_tool("lame") || !test::have_tool("ffprobe"))
            GTEST_SKIP() << "sox, lame and ffprobe make and measure the files";
    }

    std::string wav(const std::string& name, const char* channels, const char* bits, const char* encoding)
    {
        return test::make_file(dir, name,
            { "sox", "-n", "-r", "8000", "-c", channels, "-b", bits, "-e", encoding, "%o", "synth", "1",
                "sine", "440" });
    }

    test::TempDir dir;
};

TEST_F(InsertPosition, WAVPositionsGoBackToTheStartOfTheirSampleFrame)
{
    const std::string stereo16 = wav("s16.wav", "2", "16", "signed");
    const std::string mono16 = wav("m16.wav", "1", "16", "signed");
    const std::string mono8 = wav("m8.wav", "1", "8", "unsigned");
    const std::string adpcm = wav("adpcm.wav", "1", "4", "ms-adpcm");

    const struct {
        std::string path;
        std::int64_t asked, aligned;
    } cases[] = {
        { stereo16, 1001, 1000 },
        { stereo16, 1003, 1000 },
        { stereo16, 1004, 1004 },
        { stereo16, 0, 0 },
        { mono16, 1001, 1000 },
        { mono8, 1001, 1001 },
        { adpcm, 3, 3 }, // counted in whole blocks already
        { dir.file("missing.wav"), 1001, 1001 },
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.path + " " + std::to_string(c.asked));
        EXPECT_EQ(align_insert_position(test::u16(c.path), c.asked), c.aligned);
    }
}

TEST_F(InsertPosition, MP3PositionsGoBackToTheStartOfTheirFrame)
{
    const std::string source = wav("tone.wav", "1", "16", "signed");
    const std::string mp3 = test::make_file(dir, "tone.mp3", { "lame", "--quiet", "-b", "32", source, "%o" });
    // Where ffmpeg finds each audio frame.
    std::istringstream packets(test::tool({ "ffprobe", "-v", "error", "-show_entries", "packet=pos", "-of",
        "csv=p=0", "-select_streams", "a:0", mp3 }));
    std::vector<std::int64_t> starts;
    for (std::string line; std::getline(packets, line);) {
        if (!line.empty() && std::isdigit(static_cast<unsigned char>(line[0])))
            starts.push_back(std::stoll(line));
    }
    ASSERT_GE(starts.size(), 4u);
    const std::int64_t third = starts[2], fourth = starts[3];
    EXPECT_EQ(align_insert_position(test::u16(mp3), third), third);
    EXPECT_EQ(align_insert_position(test::u16(mp3), third + 1), third);
    EXPECT_EQ(align_insert_position(test::u16(mp3), fourth - 1), third);
    EXPECT_EQ(align_insert_position(test::u16(mp3), fourth), fourth);
    // Beyond the end: the end of the last frame.
    const std::int64_t size = std::int64_t(test::read_file(mp3).size());
    EXPECT_EQ(align_insert_position(test::u16(mp3), size + 5000), size);
}

}
