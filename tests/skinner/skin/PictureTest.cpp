#include "skinner/skin/Picture.h"

#include "skinner/graphics/Font.h"
#include "tests/skinner/skin/SkinFixture.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace {

using skinner::Picture;
using skinner::Point;
using skinner::Size;

// A picture of the given points without an image.
Picture picture(Point source_tl, Point inner_tl, Point inner_br, Point source_br, bool stretch)
{
    return test::with_parts(Picture(), source_tl, inner_tl, inner_br, source_br, stretch);
}

// The source x of every destination x of a span of the width at 100.
std::vector<int> map_row(const Picture& p, int width)
{
    std::vector<int> xs;
    for (int x = 100; x < 100 + width; ++x)
        xs.push_back(p.map_point({ x, 0 }, { 100, 0 }, { width, 1 }).x);
    return xs;
}

TEST(PictureMapping, BordersKeepTheirSizeAndTheMiddleTilesOrStretches)
{
    // Borders of 2 and 1 around a middle of 3: source 10..16.
    const Point tl { 10, 0 }, itl { 12, 0 }, ibr { 15, 1 }, br { 16, 1 };
    EXPECT_EQ(map_row(picture(tl, itl, ibr, br, false), 10),
        (std::vector<int> { 10, 11, 12, 13, 14, 12, 13, 14, 12, 15 }));
    EXPECT_EQ(map_row(picture(tl, itl, ibr, br, true), 10),
        (std::vector<int> { 10, 11, 12, 12, 12, 13, 13, 14, 14, 15 }));
    // Narrower than both borders: only border columns.
    EXPECT_EQ(map_row(picture(tl, itl, ibr, br, false), 2), (std::vector<int> { 10, 11 }));
}

TEST(PictureMapping, EdgeCases)
{
    // No borders: the whole image tiles or stretches.
    const Picture whole_tiled = picture({ 0, 0 }, { 0, 0 }, { 4, 4 }, { 4, 4 }, false);
    EXPECT_EQ(map_row(whole_tiled, 6), (std::vector<int> { 0, 1, 2, 3, 0, 1 }));
    const Picture whole_stretched = picture({ 0, 0 }, { 0, 0 }, { 4, 4 }, { 4, 4 }, true);
    EXPECT_EQ(map_row(whole_stretched, 8), (std::vector<int> { 0, 0, 1, 1, 2, 2, 3, 3 }));
    // A tiled middle of width 0 maps every middle column to 0.
    const Picture no_middle = picture({ 5, 0 }, { 6, 0 }, { 6, 1 }, { 7, 1 }, false);
    EXPECT_EQ(map_row(no_middle, 5), (std::vector<int> { 5, 6, 0, 0, 6 }));
    // Outside the destination, in each axis separately.
    EXPECT_EQ(whole_tiled.map_point({ 99, 1 }, { 100, 0 }, { 6, 6 }), (Point { -1, 1 }));
    EXPECT_EQ(whole_tiled.map_point({ 101, 6 }, { 100, 0 }, { 6, 6 }), (Point { 1, -1 }));
}

TEST(PictureReferences, EmptyPicture)
{
    const Picture empty;
    EXPECT_TRUE(empty.is_empty());
    EXPECT_EQ(empty.get_image(), nullptr);
    EXPECT_EQ(empty.get_size(), (Size { 0, 0 }));
    EXPECT_EQ(empty.get_border_size(), (Size { 0, 0 }));
}

TEST(PictureReferences, OneImagePerFileSharedWhileUsed)
{
    test::TempDir dir;
    const std::u16string base = test::wide(test::copy_test_skin(dir));
    const Picture a = Picture::from_file(base, u"panel", false);
    ASSERT_NE(a.get_image(), nullptr);
    EXPECT_TRUE(a.get_image()->is_valid());
    EXPECT_EQ(a.get_size(), (Size { 24, 16 }));
    EXPECT_EQ(a.inner_bottom_right(), (Point { 24, 16 }));
    const Picture b(base, u"panel", true, 1);
    EXPECT_EQ(a.get_image(), b.get_image());
    EXPECT_TRUE(b.stretch());
    // Another scale is another image: the ready-made "_x2" file, else the plain one stretched.
    EXPECT_NE(Picture(base, u"panel", false, 2).get_image(), a.get_image());
    EXPECT_EQ(Picture(base, u"button", false, 2).get_size(), (Size { 24, 16 }));
    EXPECT_EQ(Picture(base, u"button", false, 3).get_size(), (Size { 36, 24 }));
    // A missing file gives an image that is not valid.
    const Picture missing = Picture::from_file(base, u"missing", false);
    ASSERT_NE(missing.get_image(), nullptr);
    EXPECT_FALSE(missing.get_image()->is_valid());
}

TEST(PictureReferences, AnImageNoLongerUsedIsLoadedAgain)
{
    test::TempDir dir;
    const std::u16string base = test::wide(test::copy_test_skin(dir));
    {
        EXPECT_EQ(Picture::from_file(base, u"button", false).get_size(), (Size { 12, 8 }));
    }
    dir.write("button.png", test::read_file(dir.file("panel.png")));
    EXPECT_EQ(Picture::from_file(base, u"button", false).get_size(), (Size { 24, 16 }));
}

TEST(FontReferences, OneEntryPerDescriptionAndScale)
{
    skinner::Font a(2), b(2), c(1);
    EXPECT_EQ(a.entry(), nullptr);
    a.set_description(u"14 1 0 0 Tahoma");
    b.set_description(u"14 1 0 0 Tahoma");
    c.set_description(u"14 1 0 0 Tahoma");
    EXPECT_EQ(a.entry(), b.entry());
    EXPECT_NE(a.entry(), c.entry());
    EXPECT_EQ(a.entry()->scale(), 2u);
    const skinner::Font copy = a;
    a.set_description(u"not a font");
    EXPECT_EQ(copy.entry(), b.entry());
    EXPECT_EQ(a.entry()->description(), u"not a font");
    EXPECT_EQ(skinner::Font().scale(), 1u);
}

}
