#include "tests/support/Screenshot.h"

#include <cstdlib>
#include <memory>
#include <stb/stb_image.h>
#include <stb/stb_image_write.h>
#include <vector>

namespace test {

namespace {

std::vector<std::uint8_t> rgb_of(const platform::Bitmap& b)
{
    std::vector<std::uint8_t> rgb;
    rgb.reserve(b.pixels().size() * 3);
    for (platform::Pixel p : b.pixels()) {
        rgb.push_back(std::uint8_t(p >> 16));
        rgb.push_back(std::uint8_t(p >> 8));
        rgb.push_back(std::uint8_t(p));
    }
    return rgb;
}

bool write_png(const std::string& path, const platform::Bitmap& b)
{
    auto rgb = rgb_of(b);
    return stbi_write_png(path.c_str(), b.width(), b.height(), 3, rgb.data(), b.width() * 3) != 0;
}

}

::testing::AssertionResult matches_screenshot(
    const platform::Bitmap& shown, const std::string& name, int tolerance)
{
    std::string stored = std::string(ORVANTA_FIXTURES) + "/screenshots/" + name + ".png";
    const char* update = std::getenv("ORVANTA_UPDATE_SCREENSHOTS");
    if (update && std::string(update) == "1") {
        if (!write_png(stored, shown))
            return ::testing::AssertionFailure() << "cannot write " << stored;
        return ::testing::AssertionSuccess();
    }
    int width = 0, height = 0, channels = 0;
    std::unique_ptr<stbi_uc, void (*)(void*)> expected(
        stbi_load(stored.c_str(), &width, &height, &channels, 3), stbi_image_free);
    auto fail = [&]() {
        write_png(name + ".actual.png", shown);
        return ::testing::AssertionFailure();
    };
    if (!expected)
        return fail() << "no stored screenshot " << stored << " (ORVANTA_UPDATE_SCREENSHOTS=1 makes it)";
    if (width != shown.width() || height != shown.height())
        return fail() << name << ": size " << shown.width() << "x" << shown.height() << ", stored " << width
                      << "x" << height;
    auto actual = rgb_of(shown);
    std::size_t bad = 0, first = 0;
    for (std::size_t i = 0; i < actual.size(); ++i) {
        if (std::abs(int(actual[i]) - int(expected.get()[i])) > tolerance && bad++ == 0)
            first = i / 3;
    }
    if (bad == 0)
        return ::testing::AssertionSuccess();
    return fail() << name << ": " << bad << " channel values differ by more than " << tolerance
                  << ", the first at (" << first % std::size_t(width) << ", " << first / std::size_t(width)
                  << "); seen: " << name << ".actual.png";
}

}
