#include "platform/ui/Picture.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// The bar's buttons name images 0 to 16: five play modes, the four record
// operations, folders shown and hidden, cut, copy, paste, up, down, delete.
constexpr std::int32_t image_count = 17;
constexpr platform::Pixel key = 0xFF00FF;

TEST(MenuBarStrip, BothSizesHoldEveryImageOnTheTransparentKey)
{
    struct Case {
        const char* file;
        std::int32_t side;
    };
    for (const Case c : { Case { "menubar.bmp", 16 }, Case { "menubar_x2.bmp", 32 } }) {
        SCOPED_TRACE(c.file);
        const std::string bytes = test::read_file(std::string(ORVANTA_SOURCE_DIR) + "/app/resources/" + c.file);
        const std::vector<std::uint8_t> data(bytes.begin(), bytes.end());
        const platform::PictureResult decoded = platform::decode_picture(data);
        ASSERT_TRUE(decoded.picture.has_value());
        const platform::Bitmap& strip = *decoded.picture->bitmap;
        EXPECT_EQ(strip.width(), image_count * c.side);
        EXPECT_EQ(strip.height(), c.side);
        // every image keeps a transparent corner and draws something of its own
        for (std::int32_t i = 0; i < image_count; ++i) {
            const std::int32_t left = i * c.side;
            EXPECT_EQ(strip.row(0)[left] & 0xFFFFFF, key) << "image " << i;
            bool drawn = false;
            for (std::int32_t y = 0; y < c.side && !drawn; ++y)
                for (std::int32_t x = left; x < left + c.side && !drawn; ++x)
                    drawn = (strip.row(y)[x] & 0xFFFFFF) != key;
            EXPECT_TRUE(drawn) << "image " << i << " is empty";
        }
    }
}

}
