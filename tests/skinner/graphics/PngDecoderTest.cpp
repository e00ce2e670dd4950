#include "skinner/graphics/RawPngDecoder.h"
#include "tests/skinner/graphics/PngBytes.h"
#include "tests/support/TempDir.h"
#include "tests/support/Tool.h"

#include <gtest/gtest.h>

namespace {

struct Decoded {
    int result = 0;
    std::int32_t width = 0, height = 0;
    std::vector<std::uint8_t> pixels;
};

Decoded decode(const std::string& bytes)
{
    skinner::RawPngDecoder decoder;
    Decoded d;
    d.result = decoder.decode(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    d.width = decoder.width();
    d.height = decoder.height();
    d.pixels = decoder.pixels();
    return d;
}

bool all_zero(const std::vector<std::uint8_t>& bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; });
}

class ImageMagick : public testing::Test {
protected:
    void SetUp() override
    {
        if (!test::have_tool("convert"))
            GTEST_SKIP() << "ImageMagick is not installed";
    }

    // Runs convert with the arguments and the output file, and returns the
    // file's bytes. A last argument such as "PNG24:" is the output's format.
    std::string make(const std::string& name, std::vector<std::string> args)
    {
        const std::string path = m_dir.file(name + ".png");
        args.insert(args.begin(), "convert");
        if (args.back().ends_with(':'))
            args.back() += path;
        else
            args.push_back(path);
        EXPECT_EQ(test::run_tool(args).exit_code, 0) << name;
        return test::read_file(path);
    }

    // ImageMagick's own decode, 8 bits a channel.
    std::vector<std::uint8_t> reference(const std::string& bytes)
    {
        const std::string path = m_dir.write("reference.png", bytes);
        const std::string out = test::run_tool({ "convert", path, "-depth", "8", "rgba:-" }).out;
        return { out.begin(), out.end() };
    }

    test::TempDir m_dir;
};

// A plasma of the given size: every channel varies from pixel to pixel.
std::vector<std::string> plasma(const std::string& size = "37x23")
{
    return { "-seed", "3", "-size", size, "plasma:" };
}

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Its grey level as the alpha.
const std::vector<std::string> grey_alpha
    = { "(", "+clone", "-colorspace", "gray", ")", "-alpha", "off", "-compose", "CopyOpacity", "-composite" };

struct Case {
    const char* name;
    std::vector<std::string> args;
    int color_type, depth, interlace;
    int tolerance = 0;
};

TEST_F(ImageMagick, EveryAcceptedKindDecodesAsImageMagickDoes)
{
    const std::vector<std::string> grey = { "-colorspace", "Gray" };
    const std::vector<std::string> grey_png = { "-define", "png:color-type=0" };
    const Case cases[] = {
        { "grey 1-bit",
            plasma() + grey + std::vector<std::string> { "-threshold", "50%" } + grey_png
                + std::vector<std::string> { "-define", "png:bit-depth=1" },
            0, 1, 0 },
        { "grey 1-bit, 3 wide",
            plasma("3x7") + grey + std::vector<std::string> { "-threshold", "50%" } + grey_png
                + std::vector<std::string> { "-define", "png:bit-depth=1" },
            0, 1, 0 },
        { "grey 1-bit interlaced",
            plasma("13x11") + grey + std::vector<std::string> { "-threshold", "50%" } + grey_png
                + std::vector<std::string> { "-define", "png:bit-depth=1", "-interlace", "PNG" },
            0, 1, 1 },
        { "grey 8-bit", plasma() + grey + std::vector<std::string> { "-depth", "8" } + grey_png, 0, 8, 0 },
        { "grey 8-bit, transparent grey",
            plasma() + grey
                + std::vector<std::string> { "-depth", "8", "-fuzz", "10%", "-transparent", "gray(50%)" }
                + grey_png,
            0, 8, 0 },
        { "RGB 8-bit", plasma() + std::vector<std::string> { "PNG24:" }, 2, 8, 0 },
        { "RGB 8-bit, transparent colour",
            plasma()
                + std::vector<std::string> { "-depth", "8", "-fill", "red", "-draw", "rectangle 3,3 9,9",
                    "-transparent", "red", "-define", "png:color-type=2", "-define", "png:bit-depth=8" },
            2, 8, 0 },
        { "RGB 16-bit", plasma() + std::vector<std::string> { "-depth", "16", "PNG48:" }, 2, 16, 0, 1 },
        { "RGB 16-bit interlaced",
            plasma("9x9") + std::vector<std::string> { "-depth", "16", "-interlace", "PNG", "PNG48:" }, 2, 16,
            1, 1 },
        { "palette 4-bit", plasma() + std::vector<std::string> { "-colors", "10", "-type", "Palette" }, 3, 4,
            0 },
        { "palette 4-bit interlaced",
            plasma() + std::vector<std::string> { "-colors", "10", "-type", "Palette", "-interlace", "PNG" },
            3, 4, 1 },
        { "palette 8-bit", plasma() + std::vector<std::string> { "-colors", "200", "PNG8:" }, 3, 8, 0 },
        { "palette 8-bit with transparency",
            plasma()
                + std::vector<std::string> { "-colors", "8", "-fill", "red", "-draw", "rectangle 3,3 9,9",
                    "-transparent", "red", "PNG8:" },
            3, 8, 0 },
        { "grey with alpha",
            plasma() + std::vector<std::string> { "-colorspace", "Gray" } + grey_alpha
                + std::vector<std::string> { "-depth", "8", "-define", "png:color-type=4" },
            4, 8, 0 },
        { "RGBA", plasma() + grey_alpha + std::vector<std::string> { "PNG32:" }, 6, 8, 0 },
        { "RGBA interlaced, 5 x 3",
            plasma("5x3") + grey_alpha + std::vector<std::string> { "-interlace", "PNG", "PNG32:" }, 6, 8,
            1 },
        { "RGB interlaced, 1 x 1", { "-size", "1x1", "xc:red", "-interlace", "PNG", "PNG24:" }, 2, 8, 1 },
        // The filters one by one (zlib level, then filter), and stored blocks.
        { "filter none, stored blocks", plasma() + std::vector<std::string> { "-quality", "00", "PNG24:" }, 2,
            8, 0 },
        { "filter Sub", plasma() + std::vector<std::string> { "-quality", "91", "PNG24:" }, 2, 8, 0 },
        { "filter Up", plasma() + std::vector<std::string> { "-quality", "92", "PNG24:" }, 2, 8, 0 },
        { "filter Average", plasma() + std::vector<std::string> { "-quality", "93", "PNG32:" }, 6, 8, 0 },
        { "filter Paeth", plasma() + std::vector<std::string> { "-quality", "94", "PNG24:" }, 2, 8, 0 },
        { "fast compression, adaptive filters",
            plasma() + std::vector<std::string> { "-quality", "15", "PNG24:" }, 2, 8, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string bytes = make("case", c.args);
        ASSERT_GT(bytes.size(), 29u);
        // The file is of the kind the case is about.
        ASSERT_EQ(bytes[24], c.depth);
        ASSERT_EQ(bytes[25], c.color_type);
        ASSERT_EQ(bytes[28], c.interlace);
        const Decoded ours = decode(bytes);
        const std::vector<std::uint8_t> theirs = reference(bytes);
        EXPECT_EQ(ours.result, 1);
        ASSERT_EQ(ours.pixels.size(), theirs.size());
        ASSERT_EQ(ours.pixels.size(), static_cast<std::size_t>(ours.width) * ours.height * 4);
        int worst = 0;
        for (std::size_t i = 0; i < theirs.size(); ++i)
            worst = std::max(worst, std::abs(ours.pixels[i] - theirs[i]));
        EXPECT_LE(worst, c.tolerance);
    }
}

TEST_F(ImageMagick, InterlacedTwinGivesTheSamePixels)
{
    const auto args = plasma("8x8") + grey_alpha;
    const Decoded plain = decode(make("plain", args + std::vector<std::string> { "PNG32:" }));
    const Decoded interlaced
        = decode(make("interlaced", args + std::vector<std::string> { "-interlace", "PNG", "PNG32:" }));
    ASSERT_EQ(plain.width, 8);
    EXPECT_EQ(plain.pixels, interlaced.pixels);
    EXPECT_FALSE(all_zero(plain.pixels));
}

struct Chunk {
    std::string type, data, crc;
};

std::vector<Chunk> chunks(const std::string& bytes)
{
    std::vector<Chunk> list;
    std::size_t at = 8;
    while (at + 12 <= bytes.size()) {
        const auto length = static_cast<std::size_t>(static_cast<std::uint8_t>(bytes[at]) << 24
            | static_cast<std::uint8_t>(bytes[at + 1]) << 16 | static_cast<std::uint8_t>(bytes[at + 2]) << 8
            | static_cast<std::uint8_t>(bytes[at + 3]));
        list.push_back(
            { bytes.substr(at + 4, 4), bytes.substr(at + 8, length), bytes.substr(at + 8 + length, 4) });
        at += 12 + length;
    }
    return list;
}

std::string join(const std::vector<Chunk>& list)
{
    std::string bytes = test::png_signature;
    for (const Chunk& c : list)
        bytes += test::big_endian(static_cast<std::uint32_t>(c.data.size())) + c.type + c.data + c.crc;
    return bytes;
}

// Every chunk's CRC replaced.
std::string with_wrong_crcs(const std::string& bytes)
{
    std::vector<Chunk> list = chunks(bytes);
    for (Chunk& c : list)
        c.crc = "\x55\x55\x55\x55";
    return join(list);
}

// The image data cut into IDAT chunks of the given size.
std::string with_idat_chunks_of(const std::string& bytes, std::size_t size)
{
    std::string data;
    std::vector<Chunk> out;
    for (const Chunk& c : chunks(bytes)) {
        if (c.type == "IDAT") {
            data += c.data;
            continue;
        }
        if (c.type == "IEND")
            for (std::size_t at = 0; at < data.size(); at += size)
                out.push_back({ "IDAT", data.substr(at, size), "\0\0\0\0" });
        out.push_back(c);
    }
    return join(out);
}

TEST_F(ImageMagick, WrongCrcsAreNotChecked)
{
    const std::string bytes = make("rgb", plasma() + std::vector<std::string> { "PNG24:" });
    const Decoded good = decode(bytes);
    const std::string broken = with_wrong_crcs(bytes);
    ASSERT_NE(broken, bytes);
    EXPECT_EQ(decode(broken).pixels, good.pixels);
}

TEST_F(ImageMagick, CutShortFileKeepsTheRowsOfItsWholeChunks)
{
    const std::string bytes = with_idat_chunks_of(
        make("rgb", plasma("40x40") + std::vector<std::string> { "-quality", "00", "PNG24:" }), 500);
    const Decoded whole = decode(bytes);
    EXPECT_FALSE(all_zero(whole.pixels));
    const Decoded cut = decode(bytes.substr(0, bytes.size() / 2));
    EXPECT_EQ(cut.result, 1);
    ASSERT_EQ(cut.width, 40);
    ASSERT_EQ(cut.height, 40);
    const std::size_t row = 40 * 4;
    // Stored blocks: the first rows are all there, the last ones never came.
    EXPECT_TRUE(std::equal(cut.pixels.begin(), cut.pixels.begin() + 10 * row, whole.pixels.begin()));
    EXPECT_TRUE(all_zero({ cut.pixels.end() - 10 * row, cut.pixels.end() }));
}

TEST_F(ImageMagick, KindsOutsideTheSubsetGiveNoImage)
{
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        { "grey 16-bit", plasma() + std::vector<std::string> { "-colorspace", "Gray", "-depth", "16" } },
        { "palette 2-bit", plasma() + std::vector<std::string> { "-colors", "3", "-type", "Palette" } },
    };
    for (const auto& [name, args] : cases) {
        SCOPED_TRACE(name);
        const Decoded d = decode(make("other", args));
        EXPECT_EQ(d.result, 1);
        EXPECT_EQ(d.width, 0);
        EXPECT_EQ(d.height, 0);
        EXPECT_TRUE(d.pixels.empty());
    }
}

// A grey 8-bit image whose image data is the given zlib stream.
std::string grey_png(std::uint32_t width, std::uint32_t height, const std::string& zlib)
{
    return test::png_signature + test::png_header(width, height, 8, 0) + test::png_chunk("IDAT", zlib)
        + test::png_chunk("IEND", "");
}

// Stored deflate data of the bytes, one final block.
std::string stored(const std::string& data)
{
    const auto n = static_cast<std::uint16_t>(data.size());
    return std::string { '\x01', static_cast<char>(n), static_cast<char>(n >> 8), static_cast<char>(~n),
        static_cast<char>(~n >> 8) }
    + data;
}

TEST(PngDecoder, ReadsHandMadeFiles)
{
    // Two rows of three grey pixels: filter none, then Up.
    const std::string rows = std::string("\0\x10\x20\x30", 4) + std::string("\x02\x01\x01\x01", 4);
    const Decoded d = decode(grey_png(3, 2, test::zlib_header + stored(rows)));
    ASSERT_EQ(d.width, 3);
    const std::vector<std::uint8_t> expected { 0x10, 0x10, 0x10, 255, 0x20, 0x20, 0x20, 255, 0x30, 0x30, 0x30,
        255, 0x11, 0x11, 0x11, 255, 0x21, 0x21, 0x21, 255, 0x31, 0x31, 0x31, 255 };
    EXPECT_EQ(d.pixels, expected);
}

TEST(PngDecoder, PaletteIndexBeyondThePaletteStaysZero)
{
    const std::string palette = test::png_chunk("PLTE", "\x0a\x0b\x0c");
    const std::string bytes = test::png_signature + test::png_header(2, 1, 8, 3) + palette
        + test::png_chunk("IDAT", test::zlib_header + stored(std::string("\0\0\x07", 3)))
        + test::png_chunk("IEND", "");
    const Decoded d = decode(bytes);
    EXPECT_EQ(d.pixels, (std::vector<std::uint8_t> { 10, 11, 12, 255, 0, 0, 0, 0 }));
}

TEST(PngDecoder, RefusedFiles)
{
    const std::string idat = test::png_chunk("IDAT", test::zlib_header + stored(std::string(8, '\0')));
    const std::string end = test::png_chunk("IEND", "");

    struct Refusal {
        const char* name;
        std::string bytes;
        int result;
    };

    const Refusal cases[] = {
        { "wrong signature", "\x89PNG\r\n\x1a\x0b" + test::png_header(1, 1, 8, 0) + idat + end, -1 },
        { "empty file", "", -1 },
        { "palette of 7 bytes",
            test::png_signature + test::png_header(1, 1, 8, 3) + test::png_chunk("PLTE", "1234567") + idat
                + end,
            -1 },
        { "no header", test::png_signature + idat + end, 1 },
        { "grey 2-bit", test::png_signature + test::png_header(1, 1, 2, 0) + idat + end, 1 },
        { "grey with alpha 16-bit", test::png_signature + test::png_header(1, 1, 16, 4) + idat + end, 1 },
        { "colour type 5", test::png_signature + test::png_header(1, 1, 8, 5) + idat + end, 1 },
        { "interlace method 2", test::png_signature + test::png_header(1, 1, 8, 0, 2) + idat + end, 1 },
        { "zero width", test::png_signature + test::png_header(0, 1, 8, 0) + idat + end, 1 },
        { "side beyond the limit", test::png_signature + test::png_header(100000, 1, 8, 0) + idat + end, 1 },
        { "width x height x 4 beyond 32 bits",
            test::png_signature + test::png_header(0xFFFFFFFF, 0xFFFFFFFF, 8, 6) + idat + end, 1 },
        { "more pixels than the limit", test::png_signature + test::png_header(4096, 1025, 8, 6) + idat + end,
            1 },
        { "header cut short",
            test::png_signature + test::png_chunk("IHDR", std::string(12, '\1')) + idat + end, 1 },
    };
    for (const Refusal& c : cases) {
        SCOPED_TRACE(c.name);
        const Decoded d = decode(c.bytes);
        EXPECT_EQ(d.result, c.result);
        EXPECT_EQ(d.width, 0);
        EXPECT_EQ(d.height, 0);
        EXPECT_TRUE(d.pixels.empty());
    }
}

// A fixed-code block of grey bytes for a one-row image of 4 pixels: filter
// 0, then the literals; extra writes more symbols after them.
std::string fixed_block(const std::vector<int>& literals, void (*extra)(test::BitWriter&) = nullptr)
{
    test::BitWriter w;
    w.bits(1, 1);
    w.bits(1, 2);
    w.fixed_symbol(0);
    for (int literal : literals)
        w.fixed_symbol(literal);
    if (extra)
        extra(w);
    w.fixed_symbol(256);
    return test::zlib_header + w.bytes();
}

TEST(PngDecoder, DamagedImageDataStopsWithTheBytesBeforeIt)
{
    struct Damage {
        const char* name;
        std::string zlib;
        std::vector<std::uint8_t> grey; // the four pixels' grey levels
    };

    const Damage cases[] = {
        { "intact", fixed_block({ 1, 2, 3, 4 }), { 1, 2, 3, 4 } },
        { "match copies earlier bytes",
            fixed_block({ 9, 8 },
                [](test::BitWriter& w) {
                    w.fixed_symbol(257); // length 3
                    w.code(1, 5); // distance 2
                }),
            { 9, 8, 9, 8 } },
        { "match reaching before the start",
            fixed_block({ 9 },
                [](test::BitWriter& w) {
                    w.fixed_symbol(257);
                    w.code(3, 5); // distance 4, but only 2 bytes came
                }),
            { 9, 0, 0, 0 } },
        { "distance code 30",
            fixed_block({ 9, 9 },
                [](test::BitWriter& w) {
                    w.fixed_symbol(257);
                    w.code(30, 5);
                }),
            { 9, 9, 0, 0 } },
        { "length code 286", fixed_block({ 7 }, [](test::BitWriter& w) { w.fixed_symbol(286); }),
            { 7, 0, 0, 0 } },
        { "block type 3", test::zlib_header + "\x07", { 0, 0, 0, 0 } },
        { "stored length and complement disagree",
            test::zlib_header + std::string("\x01\x05\x00\x00\x00\x00\x01\x02\x03\x04", 10), { 0, 0, 0, 0 } },
        { "window above 32 KiB", "\x88\x1d" + stored(std::string("\0\1\2\3\4", 5)), { 0, 0, 0, 0 } },
        { "preset dictionary", std::string("\x78\xbb\0\0\0\0", 6) + stored(std::string("\0\1\2\3\4", 5)),
            { 0, 0, 0, 0 } },
        { "not deflate", "\x77\x9c" + stored(std::string("\0\1\2\3\4", 5)), { 0, 0, 0, 0 } },
        { "unknown filter type", test::zlib_header + stored(std::string("\x05\1\2\3\4", 5)), { 0, 0, 0, 0 } },
        { "data cut short", test::zlib_header + stored(std::string("\0\1\2\3\4", 5)).substr(0, 8),
            { 1, 2, 0, 0 } },
    };
    for (const Damage& c : cases) {
        SCOPED_TRACE(c.name);
        const Decoded d = decode(grey_png(4, 1, c.zlib));
        EXPECT_EQ(d.result, 1);
        ASSERT_EQ(d.width, 4);
        std::vector<std::uint8_t> grey;
        for (std::size_t i = 0; i < d.pixels.size(); i += 4)
            grey.push_back(d.pixels[i]);
        EXPECT_EQ(grey, c.grey);
    }
}

TEST(PngDecoder, CopyToDibSwapsRedAndBlue)
{
    const std::string palette = test::png_chunk("PLTE", "\x01\x02\x03");
    const std::string bytes = test::png_signature + test::png_header(1, 1, 8, 3) + palette
        + test::png_chunk("tRNS", "\x80")
        + test::png_chunk("IDAT", test::zlib_header + stored(std::string("\0\0", 2)))
        + test::png_chunk("IEND", "");
    skinner::RawPngDecoder decoder;
    decoder.decode(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    std::uint8_t dib[4] {};
    decoder.copy_to_dib(dib);
    EXPECT_EQ(std::vector<std::uint8_t>(dib, dib + 4), (std::vector<std::uint8_t> { 3, 2, 1, 0x80 }));
}

}
