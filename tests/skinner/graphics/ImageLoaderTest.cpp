#include "skinner/graphics/ImageLoader.h"

#include "platform/core/Utf8.h"
#include "skinner/graphics/ImageCache.h"
#include "skinner/skin/Picture.h"
#include "skinner/skin/PropertiesImpl.h"
#include "tests/skinner/graphics/PictureFiles.h"
#include "tests/skinner/skin/SkinFixture.h"
#include "tools/skinc/SkinLayout.h"
#include "tools/skinc/SkinSource.h"

#include <filesystem>
#include <optional>

namespace {

using platform::ColorRef;
using platform::rgb;
using skinner::Image;
using skinner::ImageKey;

constexpr ColorRef red = rgb(230, 20, 20), green = rgb(20, 230, 20), blue = rgb(20, 20, 230),
                   yellow = rgb(230, 230, 20), grey = rgb(100, 100, 100), white = rgb(255, 255, 255);

// The file of one solid colour, 4 x 4.
void make_solid(const test::TempDir& dir, const std::string& file, ColorRef color)
{
    test::make_picture(dir, file, { "cccc", "cccc", "cccc", "cccc" }, { { 'c', color } });
}

// Of the candidates, the colour the image shows (JPEG is not exact).
std::optional<ColorRef> shown_color(const Image& image)
{
    if (!image.is_valid())
        return std::nullopt;
    const ColorRef seen = platform::color_of(image.color()->at(1, 1));
    for (ColorRef c : { red, green, blue, yellow, grey, white }) {
        bool near = true;
        for (int shift : { 0, 8, 16 })
            near = near && std::abs(int(seen >> shift & 0xFF) - int(c >> shift & 0xFF)) <= 8;
        if (near)
            return c;
    }
    return seen;
}

struct File {
    const char* name;
    std::optional<ColorRef> color; // none: bytes that are no picture
};

// The archive is the skin's path; its folder holds the other files.
TEST(PictureLookup, ArchiveMembersFirstThenPngBmpGifJpegBesideTheSkin)
{
    if (!test::have_tool("zip"))
        GTEST_SKIP() << "zip is not installed";

    struct Case {
        const char* name;
        std::vector<File> archive, folder;
        std::optional<ColorRef> expected;
    };

    const Case cases[] = {
        { "every kind beside the skin", {},
            { { "logo.png", red }, { "logo.bmp", green }, { "logo.gif", blue }, { "logo.jpg", yellow } },
            red },
        { "BMP before GIF and JPEG", {},
            { { "logo.bmp", green }, { "logo.gif", blue }, { "logo.jpg", yellow } }, green },
        { "GIF before JPEG", {}, { { "logo.gif", blue }, { "logo.jpg", yellow } }, blue },
        { "JPEG", {}, { { "logo.jpg", yellow } }, yellow },
        { "an archive GIF before a PNG beside", { { "logo.gif", grey } }, { { "logo.png", red } }, grey },
        { "an archive BMP before a PNG beside", { { "logo.bmp", white } }, { { "logo.png", red } }, white },
        { "archive GIF before archive BMP", { { "logo.bmp", white }, { "logo.gif", grey } }, {}, grey },
        { "a damaged member ends the search", { { "logo.gif", std::nullopt } }, { { "logo.png", red } },
            std::nullopt },
        { "a damaged PNG lets it go on", {}, { { "logo.png", std::nullopt }, { "logo.bmp", green } }, green },
        { "an empty PNG lets it go on", {}, { { "logo.png", std::nullopt }, { "logo.gif", blue } }, blue },
        { "nothing", { { "other.gif", grey } }, { { "other.png", red } }, std::nullopt },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        std::vector<std::string> zip_args { "zip", "-q", "-0", "-j", dir.file("test.skin") };
        for (const File& f : c.archive) {
            const std::string path = "members/" + std::string(f.name);
            if (f.color)
                make_solid(dir, path, *f.color);
            else
                dir.write(path, "GIF89a damaged");
            zip_args.push_back(dir.file(path));
        }
        if (!c.archive.empty())
            ASSERT_EQ(test::run_tool(zip_args).exit_code, 0);
        for (const File& f : c.folder) {
            if (f.color)
                make_solid(dir, f.name, *f.color);
            else
                dir.write(f.name,
                    std::string_view(c.name).starts_with("an empty") ? "" : "\x89PNG\r\n\x1a\nbroken");
        }
        const Image image = skinner::load_image({ platform::from_utf8(dir.file("test.skin")), u"logo", 1 });
        EXPECT_EQ(shown_color(image), c.expected);
    }
}

// Only the skin's folder is read: names that climb out, absolute names and
// links that lead out count as missing; links within it are followed.
TEST(PictureLookup, OnlyInsideTheSkinsFolder)
{
    test::TempDir dir;
    make_solid(dir, "outside.png", red);
    make_solid(dir, "skin/sub/inner.png", green);
    dir.write("skin/test.skin", "");
    namespace fs = std::filesystem;
    fs::create_symlink(dir.file("outside.png"), dir.file("skin/out.png"));
    fs::create_symlink("sub/inner.png", dir.file("skin/in.png"));
    fs::create_directory_symlink(dir.file("skin"), dir.file("alias"));

    struct Case {
        std::string skin, name;
        std::optional<ColorRef> expected;
    };

    const Case cases[] = {
        { "skin/test.skin", "sub/inner", green },
        { "skin/test.skin", "in", green },
        { "alias/test.skin", "sub/inner", green },
        { "skin/test.skin", "../outside", std::nullopt },
        { "skin/test.skin", "sub/../../outside", std::nullopt },
        { "skin/test.skin", "sub\\..\\..\\outside", std::nullopt },
        { "skin/test.skin", dir.file("outside"), std::nullopt },
        { "skin/test.skin", "out", std::nullopt },
        { "skin/test.skin", "", std::nullopt },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Image image
            = skinner::load_image({ platform::from_utf8(dir.file(c.skin)), platform::from_utf8(c.name), 1 });
        EXPECT_EQ(shown_color(image), c.expected);
    }
}

TEST(PictureLookup, MasksAndCompanionsComeFromTheSamePlaces)
{
    test::TempDir dir;
    make_solid(dir, "icon.png", red);
    make_solid(dir, "icon_8.png", grey);
    make_solid(dir, "icon_x2.png", blue);
    make_solid(dir, "icon_x2_1.png", white);
    const std::u16string skin = platform::from_utf8(dir.file("test.skin"));
    const Image one = skinner::load_image({ skin, u"icon", 1 });
    ASSERT_TRUE(one.is_valid());
    EXPECT_TRUE(one.has_alpha());
    const Image two = skinner::load_image({ skin, u"icon", 2 });
    EXPECT_EQ(shown_color(two), blue);
    ASSERT_NE(two.mask(), nullptr);
    EXPECT_FALSE(two.has_alpha());
    // A companion that leads out of the folder is not taken.
    std::filesystem::remove(dir.file("icon_8.png"));
    make_solid(dir, "../companion_8.png", grey);
    std::filesystem::create_symlink("../companion_8.png", dir.file("icon_8.png"));
    EXPECT_EQ(skinner::load_image({ skin, u"icon", 1 }).mask(), nullptr);
}

TEST(ImageCache, OneImagePerFileAndScaleWhileHeld)
{
    test::TempDir dir;
    make_solid(dir, "a.png", red);
    const std::u16string skin = platform::from_utf8(dir.file("test.skin"));
    const std::size_t before = skinner::images_in_use();
    {
        const skinner::Picture first = skinner::Picture::from_file(skin, u"a", false);
        const skinner::Picture second(skin, u"a", true, 1);
        const skinner::Picture copy = first;
        EXPECT_EQ(first.get_image(), second.get_image());
        EXPECT_EQ(skinner::images_in_use(), before + 1);
        const skinner::Picture scaled(skin, u"a", false, 2);
        EXPECT_NE(scaled.get_image(), first.get_image());
        EXPECT_EQ(skinner::images_in_use(), before + 2);
    }
    EXPECT_EQ(skinner::images_in_use(), before);
}

// A skin whose picture cannot be had is no skin.
TEST(SkinPictures, APictureOutsideTheFolderMakesTheSkinInvalid)
{
    test::ScopedWorkArea area(skinner::work_area_slot(), skinner::Size { 240, 268 });
    test::TempDir dir;
    make_solid(dir, "outside.png", red);
    make_solid(dir, "skin/inner.png", green);
    std::filesystem::create_symlink(dir.file("outside.png"), dir.file("skin/link.png"));
    for (const char* name : { "inner", "../outside", "link", "missing" }) {
        SCOPED_TRACE(name);
        const std::string xml
            = std::string("<skin name=\"Orvanta_500\" devices=\"PS\"><size width=\"240\" height=\"320\"/>")
            + "<picture name=\"" + name + "\"/></skin>";
        const skinc::ParseResult parsed = skinc::parse_skin(xml);
        ASSERT_EQ(parsed.error, "");
        const skinc::LayoutResult laid_out = skinc::lay_out(parsed.skin);
        ASSERT_EQ(laid_out.error, "");
        const std::string path
            = dir.write("skin/test.skin", { laid_out.bytes.begin(), laid_out.bytes.end() });
        const skinner::PropertiesImpl skin(platform::from_utf8(path), { 240, 320 });
        EXPECT_EQ(skin.is_valid(), std::string(name) == "inner");
    }
}

}
