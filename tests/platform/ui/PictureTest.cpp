#include "platform/ui/Picture.h"

#include "tests/support/TempDir.h"
#include "tests/support/Tool.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

// Picture files made by ImageMagick in the test's own folder.
class Pictures : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!test::have_tool("convert"))
            GTEST_SKIP() << "ImageMagick is missing";
    }

    std::string make(const std::string& name, std::vector<std::string> args)
    {
        std::string path = dir.file(name);
        args.insert(args.begin(), "convert");
        args.push_back(path);
        EXPECT_EQ(test::run_tool(args).exit_code, 0) << name;
        return test::read_file(path);
    }

    std::string make_bmp(const std::string& name, std::vector<std::string> args, const std::string& format = "BMP3:")
    {
        std::string path = dir.file(name);
        args.insert(args.begin(), "convert");
        args.push_back(format + path);
        EXPECT_EQ(test::run_tool(args).exit_code, 0) << name;
        return test::read_file(path);
    }

    static PictureResult decode(const std::string& bytes)
    {
        return decode_picture({ reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size() });
    }

    test::TempDir dir;
};

constexpr Pixel red = 0xFF0000, blue = 0x0000FF, white = 0xFFFFFF, black = 0;

TEST_F(Pictures, GifKeepsItsTransparentColour)
{
    auto bytes = make("t.gif", { "-size", "5x3", "xc:red", "-fill", "blue", "-draw", "point 1,1", "-transparent", "blue" });
    auto result = decode(bytes);
    ASSERT_TRUE(result.picture);
    const Bitmap& b = *result.picture->bitmap;
    EXPECT_EQ(b.size(), (Size { 5, 3 }));
    EXPECT_EQ(b.at(0, 0), red);
    ASSERT_TRUE(result.picture->transparent);
    EXPECT_EQ(b.at(1, 1), *result.picture->transparent);
    EXPECT_NE(*result.picture->transparent, red);

    auto interlaced = make("i.gif", { "-size", "3x20", "gradient:red-blue", "-interlace", "GIF" });
    auto lines = decode(interlaced);
    ASSERT_TRUE(lines.picture);
    EXPECT_EQ(lines.picture->bitmap->at(0, 0), red);
    EXPECT_EQ(lines.picture->bitmap->at(2, 19), blue);
    EXPECT_FALSE(lines.picture->transparent);
}

TEST_F(Pictures, BmpOfEveryDepth)
{
    struct Case {
        const char* name;
        std::vector<std::string> args;
        std::string format;
        int bits;
        Size size;
        Pixel at_0_0, at_1_1;
    };
    const std::vector<std::string> two_colours { "-size", "7x3", "xc:red", "-fill", "blue", "-draw", "point 1,1" };
    auto with = [&](std::initializer_list<std::string> more) {
        auto a = two_colours;
        a.insert(a.end(), more);
        return a;
    };
    const Case cases[] = {
        { "b1.bmp", { "-size", "7x3", "xc:white", "-fill", "black", "-draw", "point 1,1", "-type", "bilevel" }, "BMP3:", 1,
            { 7, 3 }, white, black },
        { "b4.bmp", with({ "-fill", "green", "-draw", "point 2,2", "-colors", "16", "-type", "palette", "-depth", "4" }),
            "BMP3:", 4, { 7, 3 }, red, blue },
        { "b8.bmp", { "-size", "3x20", "gradient:red-blue", "-rotate", "-90", "-type", "palette", "-compress", "none" },
            "BMP3:", 8, { 20, 3 }, red, 0 },
        { "b24.bmp", with({ "-type", "truecolor" }), "BMP3:", 24, { 7, 3 }, red, blue },
        { "b32.bmp", with({ "-type", "truecolormatte", "-alpha", "on" }), "BMP:", 32, { 7, 3 }, red, blue },
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto bytes = make_bmp(c.name, c.args, c.format);
        ASSERT_GT(bytes.size(), 30u);
        EXPECT_EQ(std::uint8_t(bytes[28]), c.bits);
        auto result = decode(bytes);
        ASSERT_TRUE(result.picture);
        const Bitmap& b = *result.picture->bitmap;
        EXPECT_EQ(b.size(), c.size);
        EXPECT_EQ(b.at(0, 0) & 0xFFFFFF, c.at_0_0);
        if (c.bits != 8)
            EXPECT_EQ(b.at(1, 1) & 0xFFFFFF, c.at_1_1);
        else
            EXPECT_EQ(b.at(19, 2) & 0xFFFFFF, blue); // the gradient runs left to right
    }
}

TEST_F(Pictures, RunLengthBmpIsRefusedCleanly)
{
    auto bytes = make_bmp("rle.bmp", { "-size", "3x20", "gradient:red-blue", "-type", "palette", "-compress", "rle" });
    EXPECT_EQ(decode(bytes).error, PictureError::unsupported);
}

TEST_F(Pictures, JpegBaselineAndProgressive)
{
    for (const char* interlace : { "none", "JPEG" }) {
        SCOPED_TRACE(interlace);
        auto bytes = make(std::string("q-") + interlace + ".jpg",
            { "-size", "16x8", "xc:rgb(200,100,50)", "-quality", "95", "-interlace", interlace });
        auto result = decode(bytes);
        ASSERT_TRUE(result.picture);
        Pixel p = result.picture->bitmap->at(8, 4);
        EXPECT_NEAR(int(p >> 16 & 0xFF), 200, 4);
        EXPECT_NEAR(int(p >> 8 & 0xFF), 100, 4);
        EXPECT_NEAR(int(p & 0xFF), 50, 4);
    }
}

TEST_F(Pictures, TruncatedFilesAreRefused)
{
    const std::string files[] = {
        make("t.gif", { "-size", "30x20", "gradient:red-blue" }),
        make_bmp("t.bmp", { "-size", "30x20", "gradient:red-blue", "-type", "truecolor" }),
        make("t.jpg", { "-size", "30x20", "gradient:red-blue" }),
    };
    for (auto& whole : files) {
        ASSERT_TRUE(decode(whole).picture);
        for (std::size_t keep : { std::size_t(0), std::size_t(2), std::size_t(10), whole.size() / 2, whole.size() - 3 }) {
            SCOPED_TRACE(::testing::Message() << whole.substr(0, 2) << " " << keep);
            auto result = decode(whole.substr(0, keep));
            EXPECT_FALSE(result.picture);
            if (keep >= 3)
                EXPECT_EQ(result.error, PictureError::damaged);
        }
    }
    EXPECT_EQ(decode("PNG is not ours").error, PictureError::unknown_format);
}

TEST_F(Pictures, JpegWithCorruptScanIsDamaged)
{
    // A 16x8 JPEG whose Huffman tables and scan were mangled by a fuzzer.
    std::string bytes = test::read_file(test::fixture("pictures/bad-huffman.jpg"));
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(decode(bytes).error, PictureError::damaged);
}

std::string le16(int v)
{
    return { char(v & 0xFF), char(v >> 8 & 0xFF) };
}

std::string le32(std::int64_t v)
{
    return le16(int(v & 0xFFFF)) + le16(int(v >> 16 & 0xFFFF));
}

TEST_F(Pictures, AbsurdSizesAreRefusedBeforeAllocating)
{
    // A logical screen of 65535 x 65535 with a two-colour palette and nothing else.
    std::string gif = "GIF89a" + le16(65535) + le16(65535) + std::string("\x80\x00\x00", 3) + std::string(6, '\0') + ";";
    EXPECT_EQ(decode(gif).error, PictureError::too_large);
    auto bmp = [](std::int64_t w, std::int64_t h, int bits, std::uint32_t offset) {
        return "BM" + le32(54 + 16) + le32(0) + le32(offset) + le32(40) + le32(w) + le32(h) + le16(1) + le16(bits)
            + le32(0) + le32(0) + le32(0) + le32(0) + le32(0) + le32(0) + std::string(16, '\0');
    };
    EXPECT_EQ(decode(bmp(20000, 10, 24, 54)).error, PictureError::too_large);
    EXPECT_EQ(decode(bmp(9000, 9000, 24, 54)).error, PictureError::too_large);
    EXPECT_EQ(decode(bmp(2, -2, 24, 54)).picture.has_value(), true); // top-down
    EXPECT_EQ(decode(bmp(2, 2, 24, 0xFFFFFFF0)).error, PictureError::damaged);
    EXPECT_EQ(decode(bmp(0, 2, 24, 54)).error, PictureError::damaged);
    EXPECT_EQ(decode(bmp(-5, 2, 24, 54)).error, PictureError::damaged);
}

}
