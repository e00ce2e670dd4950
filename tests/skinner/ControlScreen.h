#pragma once

#include "platform/core/Service.h"
#include "platform/core/Utf8.h"
#include "platform/core/headless/FakeClock.h"
#include "platform/ui/headless/HeadlessDisplay.h"
#include "platform/ui/Font.h"
#include "platform/ui/WindowManager.h"
#include "skinner/core/Form.h"
#include "skinner/skin/Properties.h"
#include "tests/skinner/graphics/PictureFiles.h"
#include "tools/skinc/SkinLayout.h"
#include "tools/skinc/SkinSource.h"

#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>
#include <vector>

// Controls on a form of a skin that each test compiles from its own source,
// beside the pictures it makes, on a headless screen with a fake clock. The
// font face "Pinned" is DejaVu Sans, so that texts measure the same anywhere.
namespace test {

class ControlScreen : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(
            platform::register_font_file(u"Pinned", "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"));
    }

    // The skin made of the source's inner elements: a 240 x 320 Pocket PC skin.
    skinner::Properties& load_skin(const std::string& elements)
    {
        const std::string xml
            = "<skin name=\"Orvanta_500\" devices=\"PS\"><size width=\"240\" height=\"320\"/>" + elements
            + "</skin>";
        const skinc::ParseResult parsed = skinc::parse_skin(xml, dir.path());
        EXPECT_EQ(parsed.error, "");
        const skinc::LayoutResult laid_out = skinc::lay_out(parsed.skin);
        EXPECT_EQ(laid_out.error, "");
        const std::string path = dir.write("test.skin", { laid_out.bytes.begin(), laid_out.bytes.end() });
        properties
            = std::make_unique<skinner::Properties>(platform::from_utf8(path), skinner::Size { 240, 320 });
        EXPECT_TRUE(properties->check_version(u"", { 240, 320 }));
        return *properties;
    }

    // A picture file of the test's folder, one pixel per character by the legend.
    void make_picture(const std::string& file, const std::vector<std::string>& rows,
        const std::map<char, platform::ColorRef>& legend) const
    {
        test::make_picture(dir, file, rows, legend);
    }

    void run() { screen->run_until_idle(); }

    platform::ColorRef pixel_at(const skinner::Form& form, skinner::Point client) const
    {
        return screen->pixel(platform::client_to_screen(form.window().handle(), { client.x, client.y }));
    }

    // The area of the form's client, one character per pixel by the legend ('?' for others).
    std::vector<std::string> pixels(const skinner::Form& form, skinner::Point at, skinner::Size size,
        const std::map<char, platform::ColorRef>& legend) const
    {
        std::vector<std::string> rows;
        for (std::int32_t y = at.y; y < at.y + size.height; ++y) {
            std::string row;
            for (std::int32_t x = at.x; x < at.x + size.width; ++x) {
                char shown = '?';
                for (const auto& [c, color] : legend)
                    if (color == pixel_at(form, { x, y }))
                        shown = c;
                row += shown;
            }
            rows.push_back(row);
        }
        return rows;
    }

    // The bounding box (client coordinates, exclusive) of the pixels in the area not of the colour.
    platform::Rect ink(
        const skinner::Form& form, skinner::Point at, skinner::Size size, platform::ColorRef paper) const
    {
        platform::Rect box;
        for (std::int32_t y = at.y; y < at.y + size.height; ++y)
            for (std::int32_t x = at.x; x < at.x + size.width; ++x)
                if (pixel_at(form, { x, y }) != paper)
                    box = box.unite({ x, y, x + 1, y + 1 });
        return box;
    }

    platform::ScopedService<platform::Clock, platform::headless::FakeClock> clock { platform::clock_slot(),
        10000 };
    platform::ScopedService<platform::Display, platform::headless::HeadlessDisplay> screen {
        platform::display_slot(), platform::ScreenMode {}
    };
    test::TempDir dir;
    std::unique_ptr<skinner::Properties> properties;
};

// Records the value events that reach a form.
class ValueListener : public skinner::Listener {
public:
    bool on_value_changed(skinner::Control&, double value) override
    {
        changed.push_back(value);
        return true;
    }

    bool on_value_set(skinner::Control&, double value) override
    {
        set.push_back(value);
        return true;
    }

    bool on_scroll(skinner::Control&, std::int32_t position) override
    {
        scrolled.push_back(position);
        return true;
    }

    std::vector<double> changed;
    std::vector<double> set;
    std::vector<std::int32_t> scrolled;
};

}
