#include "audio/readers/WAVInfoADPCM.h"
#include "audio/readers/WAVInfoGSM.h"
#include "audio/readers/WAVInfoPCM.h"
#include "os/File.h"
#include "platform/core/Utf8.h"
#include "tests/audio/WavBytes.h"
#include "tests/support/TempDir.h"
#include "tests/support/Tool.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

enum class Kind { PCM, ADPCM, GSM };

std::unique_ptr<audio::WAVInfo> make_info(Kind kind)
{
    switch (kind) {
    case Kind::PCM:
        return std::make_unique<audio::WAVInfoPCM>();
    case Kind::ADPCM:
        return std::make_unique<audio::WAVInfoADPCM>();
    case Kind::GSM:
        return std::make_unique<audio::WAVInfoGSM>();
    }
    return nullptr;
}

bool reads(Kind kind, const std::string& path, audio::WAVInfo* out = nullptr)
{
    os::File file(platform::from_utf8(path), os::File::Mode::read);
    auto info = make_info(kind);
    bool ok = info->read(file);
    if (ok && out)
        *out = *info;
    if (ok) {
        EXPECT_EQ(static_cast<std::int64_t>(file.tell()), info->data_offset) << path;
    }
    return ok;
}

bool reads_bytes(Kind kind, const std::string& bytes)
{
    test::TempDir dir;
    return reads(kind, dir.write("t.wav", bytes));
}

std::string fixture_bytes(const std::string& name)
{
    return test::read_file(test::fixture("wav/" + name));
}

}

TEST(WAVInfo, ReadsTheFixturesOfBothTools)
{
    struct Case {
        const char* file;
        Kind kind;
        int tag, channels, rate, bits, align;
        std::int64_t data_offset;
        std::uint32_t data_size;
    } cases[] = {
        { "pcm16_stereo.wav", Kind::PCM, 1, 2, 8000, 16, 4, 44, 9600 },
        { "pcm8_mono.wav", Kind::PCM, 1, 1, 11025, 8, 1, 44, 2315 },
        { "pcm16_mono_list.wav", Kind::PCM, 1, 1, 22050, 16, 2, 94, 13230 },
        { "adpcm_mono.wav", Kind::ADPCM, 2, 1, 8000, 4, 256, 90, 2048 },
        { "adpcm_stereo.wav", Kind::ADPCM, 2, 2, 44100, 4, 1024, 124, 9216 },
        { "gsm_sox.wav", Kind::GSM, 49, 1, 8000, 0, 65, 60, 846 },
        { "gsm_ffmpeg.wav", Kind::GSM, 49, 1, 8000, 0, 65, 94, 845 },
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        for (Kind other : { Kind::PCM, Kind::ADPCM, Kind::GSM }) {
            auto info = make_info(other);
            os::File file(platform::from_utf8(test::fixture(std::string("wav/") + c.file)), os::File::Mode::read);
            ASSERT_EQ(info->read(file), other == c.kind);
            if (other != c.kind)
                continue;
            EXPECT_EQ(info->format_tag, c.tag);
            EXPECT_EQ(info->channels, c.channels);
            EXPECT_EQ(info->sample_rate, c.rate);
            EXPECT_EQ(info->bits_per_sample, c.bits);
            EXPECT_EQ(info->block_align, c.align);
            EXPECT_EQ(info->data_offset, c.data_offset);
            EXPECT_EQ(info->data_size, c.data_size);
        }
    }
    audio::WAVInfoADPCM adpcm;
    os::File file(platform::from_utf8(test::fixture("wav/adpcm_mono.wav")), os::File::Mode::read);
    ASSERT_TRUE(adpcm.read(file));
    EXPECT_EQ(adpcm.samples_per_block, 500);
    EXPECT_EQ(adpcm.fact_samples, 4000u);
    ASSERT_EQ(adpcm.coefficients.size(), 7u);
    EXPECT_EQ(adpcm.coefficients[1].coef1, 512);
    EXPECT_EQ(adpcm.coefficients[1].coef2, -256);
    EXPECT_EQ(adpcm.coefficients[6].coef2, -232);
}

TEST(WAVInfo, RefusesDamagedAndHostileHeaders)
{
    const std::string pcm = fixture_bytes("pcm16_stereo.wav");
    const std::string adpcm = fixture_bytes("adpcm_mono.wav");
    const std::string gsm = fixture_bytes("gsm_sox.wav");
    const std::string junk = test::chunk("junk", "abcd");

    struct Case {
        const char* what;
        Kind kind;
        std::string bytes;
        bool accepted;
    } cases[] = {
        // clang-format off
        { "not RIFF", Kind::PCM, test::patched(pcm, 0, "RIFX"), false },
        { "not WAVE", Kind::PCM, test::patched(pcm, 8, "AVI "), false },
        { "chunk before fmt", Kind::PCM, test::inserted(pcm, 12, junk), false },
        { "PCM without channels", Kind::PCM, test::patched(pcm, 22, test::le16(0)), false },
        { "PCM at 0 Hz", Kind::PCM, test::patched(pcm, 24, test::le32(0)), false },
        { "PCM without block align", Kind::PCM, test::patched(pcm, 32, test::le16(0)), false },
        { "PCM of 0 bits", Kind::PCM, test::patched(pcm, 34, test::le16(0)), false },
        { "PCM without data", Kind::PCM, test::patched(pcm, 36, "DATA"), false },
        { "ADPCM in 3 channels", Kind::ADPCM, test::patched(adpcm, 22, test::le16(3)), false },
        { "ADPCM in 2 channels", Kind::ADPCM, test::patched(adpcm, 22, test::le16(2)), true },
        { "ADPCM with odd coefficients", Kind::ADPCM, test::patched(adpcm, 42, std::string(28, '\x7f')), true },
        { "ADPCM of 3 bits", Kind::ADPCM, test::patched(adpcm, 34, test::le16(3)), false },
        { "ADPCM with 6 pairs", Kind::ADPCM, test::patched(adpcm, 40, test::le16(6)), false },
        { "ADPCM without fact", Kind::ADPCM, test::patched(adpcm, 70, "junk"), true },
        { "ADPCM at 0 Hz", Kind::ADPCM, test::patched(adpcm, 24, test::le32(0)), false },
        { "ADPCM of 0 samples a block", Kind::ADPCM, test::patched(adpcm, 38, test::le16(0)), false },
        { "ADPCM block smaller than its header", Kind::ADPCM, test::patched(adpcm, 32, test::le16(6)), false },
        { "GSM at 11025 Hz", Kind::GSM, test::patched(gsm, 24, test::le32(11025)), false },
        { "GSM blocks of 64", Kind::GSM, test::patched(gsm, 32, test::le16(64)), false },
        { "GSM of 321 samples a block", Kind::GSM, test::patched(gsm, 38, test::le16(321)), false },
        { "GSM in stereo", Kind::GSM, test::patched(gsm, 22, test::le16(2)), false },
        { "GSM without fact", Kind::GSM, test::patched(gsm, 40, "junk"), true },
        { "chunk claiming 4 GB", Kind::PCM, test::inserted(pcm, 36, "LIST" + test::le32(0xFFFFFFF0)), false },
        // clang-format on
    };

    for (const auto& c : cases)
        EXPECT_EQ(reads_bytes(c.kind, c.bytes), c.accepted) << c.what;
}

TEST(WAVInfo, RefusesEveryTruncatedHeader)
{
    struct Case {
        const char* file;
        Kind kind;
    } cases[] = {
        { "pcm16_mono_list.wav", Kind::PCM },
        { "adpcm_stereo.wav", Kind::ADPCM },
        { "gsm_ffmpeg.wav", Kind::GSM },
    };

    test::TempDir dir;
    for (const auto& c : cases) {
        const std::string bytes = fixture_bytes(c.file);
        audio::WAVInfo info;
        ASSERT_TRUE(reads(c.kind, test::fixture(std::string("wav/") + c.file), &info));
        for (std::size_t n = 0; n < std::size_t(info.data_offset); ++n)
            EXPECT_FALSE(reads(c.kind, dir.write("cut.wav", bytes.substr(0, n))))
                << c.file << " cut at " << n;
        EXPECT_TRUE(reads(c.kind, dir.write("cut.wav", bytes.substr(0, info.data_offset)))) << c.file;
    }
}

TEST(WAVInfo, WalksOddChunksWithOrWithoutThePadByte)
{
    const std::string pcm = fixture_bytes("pcm16_stereo.wav");
    for (bool pad : { false, true }) {
        std::string odd = test::chunk("junk", "abc", pad);
        test::TempDir dir;
        audio::WAVInfo info;
        ASSERT_TRUE(reads(Kind::PCM, dir.write("odd.wav", test::inserted(pcm, 36, odd)), &info)) << pad;
        EXPECT_EQ(info.data_offset, 44 + std::int64_t(odd.size()));
        EXPECT_EQ(info.data_size, 9600u);
    }
}

TEST(WAVInfo, SkipsLongerFmtAndFactChunks)
{
    // An 18-byte PCM "fmt " chunk (with an empty extension) and an 8-byte "fact".
    std::string pcm = fixture_bytes("pcm16_stereo.wav");
    pcm = test::patched(test::inserted(pcm, 36, test::le16(0)), 16, test::le32(18));
    EXPECT_TRUE(reads_bytes(Kind::PCM, pcm));

    std::string gsm = fixture_bytes("gsm_sox.wav");
    gsm = test::patched(test::inserted(gsm, 52, test::le32(7)), 44, test::le32(8));
    audio::WAVInfoGSM info;
    test::TempDir dir;
    os::File file(platform::from_utf8(dir.write("gsm.wav", gsm)), os::File::Mode::read);
    ASSERT_TRUE(info.read(file));
    EXPECT_EQ(info.fact_samples, 4000u);
    EXPECT_EQ(info.data_offset, 64);
}

namespace {

// Reads the fixture's header, writes it again in the standard layout around
// the same audio data, and returns the new file's bytes.
std::string rewritten(const std::string& name, audio::WAVInfo& info, const test::TempDir& dir)
{
    os::File in(platform::from_utf8(test::fixture("wav/" + name)), os::File::Mode::read);
    EXPECT_TRUE(info.read(in));
    std::string data = fixture_bytes(name).substr(info.data_offset, info.data_size);
    std::string path = dir.file("rewritten.wav");
    {
        os::File out(platform::from_utf8(path), os::File::Mode::write);
        EXPECT_TRUE(info.write(out));
        EXPECT_EQ(out.write(data.data(), std::uint32_t(data.size())), data.size());
    }
    return test::read_file(path);
}

}

TEST(WAVInfo, WritesTheStandardLayoutThatReadsBack)
{
    struct Case {
        const char* file;
        Kind kind;
        std::size_t header;
        std::size_t fact_at; // 0: none
    } cases[] = {
        { "pcm16_mono_list.wav", Kind::PCM, 44, 0 },
        { "adpcm_stereo.wav", Kind::ADPCM, 90, 70 },
        { "gsm_ffmpeg.wav", Kind::GSM, 60, 40 },
    };

    test::TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        auto info = make_info(c.kind);
        std::string bytes = rewritten(c.file, *info, dir);
        EXPECT_EQ(bytes.substr(c.header - 8, 4), "data");
        if (c.fact_at) {
            EXPECT_EQ(bytes.substr(c.fact_at, 8), "fact" + test::le32(4));
        }

        auto back = make_info(c.kind);
        ASSERT_TRUE(reads(c.kind, dir.file("rewritten.wav"), back.get()));
        EXPECT_EQ(back->data_offset, std::int64_t(c.header));
        for (auto field :
            { &audio::WAVInfo::channels, &audio::WAVInfo::bits_per_sample, &audio::WAVInfo::sample_rate })
            EXPECT_EQ(info.get()->*field, back.get()->*field);
        EXPECT_EQ(back->block_align, info->block_align);
        EXPECT_EQ(back->avg_bytes_per_sec, info->avg_bytes_per_sec);
        EXPECT_EQ(back->data_size, info->data_size);

        // sox decodes the rewritten file exactly as it decodes the original.
        if (!test::have_tool("sox"))
            continue;
        auto ours = test::run_tool({ "sox", dir.file("rewritten.wav"), "-t", "raw", "-" });
        auto theirs
            = test::run_tool({ "sox", test::fixture(std::string("wav/") + c.file), "-t", "raw", "-" });
        EXPECT_EQ(ours.exit_code, 0);
        EXPECT_FALSE(ours.out.empty());
        EXPECT_EQ(ours.out, theirs.out);
    }
}

TEST(WAVInfo, ExtensionFieldsRoundTrip)
{
    audio::WAVInfoADPCM adpcm = test::adpcm_info(1, 8000, 256, 500, 123456);
    adpcm.coefficients
        = { { 256, 0 }, { 512, -256 }, { 0, 0 }, { 192, 64 }, { 240, 0 }, { 460, -208 }, { 392, -232 } };
    adpcm.data_size = 0;
    test::TempDir dir;
    std::string path = dir.file("a.wav");
    {
        os::File out(platform::from_utf8(path), os::File::Mode::write);
        ASSERT_TRUE(adpcm.write(out));
    }
    std::string bytes = test::read_file(path);
    EXPECT_EQ(bytes.size(), 90u);
    EXPECT_EQ(test::read_le16(bytes, 36), 32); // extension size for 7 pairs
    EXPECT_EQ(test::read_le16(bytes, 48), std::uint16_t(-256)); // second pair's coef2

    audio::WAVInfoADPCM back;
    os::File in(platform::from_utf8(path), os::File::Mode::read);
    ASSERT_TRUE(back.read(in));
    EXPECT_EQ(back.samples_per_block, 500);
    EXPECT_EQ(back.fact_samples, 123456u);
    ASSERT_EQ(back.coefficients.size(), 7u);
    for (std::size_t i = 0; i < 7; ++i) {
        EXPECT_EQ(back.coefficients[i].coef1, adpcm.coefficients[i].coef1);
        EXPECT_EQ(back.coefficients[i].coef2, adpcm.coefficients[i].coef2);
    }
}
