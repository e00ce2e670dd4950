#include "platform/media/sdl/SdlWaveDriver.h"
#include "tests/platform/WaveMessages.h"
#include "tests/support/TempDir.h"

#include <cstdlib>
#include <gtest/gtest.h>

using namespace platform;

namespace {

// SDL's disk driver: output appends to one raw file, input reads another.
class SdlDisk : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIODELAY", "0", 1);
        setenv("SDL_DISKAUDIOFILE", dir.file("out.raw").c_str(), 1);
        setenv("SDL_DISKAUDIOFILEIN", dir.file("in.raw").c_str(), 1);
    }

    test::TempDir dir;
};

std::vector<uint8_t> pattern(size_t size)
{
    std::vector<uint8_t> bytes(size);
    uint32_t x = 12345;
    for (uint8_t& b : bytes) {
        x = x * 1103515245 + 12345;
        b = static_cast<uint8_t>(x >> 16);
    }
    return bytes;
}

}

TEST_F(SdlDisk, OutputWritesTheBuffersToTheFile)
{
    std::vector<uint8_t> audio = pattern(3 * 8820);
    test::WaveMessages messages;
    {
        sdl::SdlWaveDriver driver;
        ASSERT_TRUE(driver.is_available());
        auto out = driver.open_output({ 2, 16, 22050 }, messages.poster());
        ASSERT_TRUE(out);
        // Queued while paused, so no idle silence falls between the buffers.
        out->pause();
        WaveBuffer headers[3];
        for (int i = 0; i < 3; ++i) {
            headers[i].data = audio.data() + i * 8820;
            headers[i].length = 8820;
            out->prepare(headers[i]);
            out->write(headers[i]);
        }
        out->restart();
        ASSERT_TRUE(messages.wait_for(msg::wave_out_done, 3));
        ASSERT_TRUE(out->close());
    }
    auto numbers = messages.numbers();
    EXPECT_EQ(numbers.front(), msg::wave_out_open);
    EXPECT_EQ(numbers.back(), msg::wave_out_close);

    std::string raw = test::read_file(dir.file("out.raw"));
    std::string expected(audio.begin(), audio.end());
    size_t start = raw.find(expected);
    ASSERT_NE(start, std::string::npos);
    EXPECT_EQ(raw.find_first_not_of('\0'), start) << "only silence before the audio";
}

TEST_F(SdlDisk, InputCapturesTheFileAfterStart)
{
    std::vector<uint8_t> audio = pattern(5000);
    dir.write("in.raw", std::string(audio.begin(), audio.end()));
    test::WaveMessages messages;
    std::vector<uint8_t> captured(audio.size());
    {
        sdl::SdlWaveDriver driver;
        auto in = driver.open_input({ 1, 8, 8000 }, messages.poster());
        ASSERT_TRUE(in);
        WaveBuffer headers[2];
        headers[0].data = captured.data();
        headers[0].length = 3000;
        headers[1].data = captured.data() + 3000;
        headers[1].length = 2000;
        for (WaveBuffer& h : headers) {
            in->prepare(h);
            in->add_buffer(h);
        }
        ASSERT_TRUE(in->start());
        ASSERT_TRUE(messages.wait_for(msg::wave_in_data, 2));
        EXPECT_TRUE(in->stop());
        ASSERT_TRUE(in->close());
    }
    EXPECT_EQ(captured, audio);
    EXPECT_EQ(messages.numbers(),
        (std::vector<uint32_t> {
            msg::wave_in_open, msg::wave_in_data, msg::wave_in_data, msg::wave_in_close }));
}

TEST(SdlWave, NoDriverMeansNoDevice)
{
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    sdl::SdlWaveDriver driver;
    test::WaveMessages messages;
    EXPECT_FALSE(driver.open_output({ 2, 16, 44100 }, messages.poster()));
    EXPECT_FALSE(driver.open_input({ 1, 16, 8000 }, messages.poster()));
    EXPECT_TRUE(messages.all().empty());
}
