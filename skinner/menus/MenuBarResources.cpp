#include "skinner/menus/MenuBarResources.h"

#include "platform/core/Resources.h"
#include "skinner/graphics/RawPngDecoder.h"
#include "skinner/menus/MenuBarImages.h"

#include <vector>

namespace skinner {

namespace {

constexpr std::uint8_t state_enabled = 0x04;
constexpr std::uint8_t style_auto_size = 0x10;
constexpr std::uint8_t style_drop_down = 0x08;

void put16(std::vector<std::uint8_t>& b, std::uint32_t v)
{
    b.push_back(std::uint8_t(v));
    b.push_back(std::uint8_t(v >> 8));
}

void put32(std::vector<std::uint8_t>& b, std::uint32_t v)
{
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

// The platform reads BMP, not PNG: a 24-bit bottom-up BMP of the picture.
std::vector<std::uint8_t> bmp_from_png(std::span<const std::uint8_t> png)
{
    RawPngDecoder decoder;
    decoder.decode(png.data(), png.size());
    const std::uint32_t width = std::uint32_t(decoder.width());
    const std::uint32_t height = std::uint32_t(decoder.height());
    if (width == 0 || height == 0)
        return {};
    const std::uint32_t row = (width * 3 + 3) & ~3u;
    std::vector<std::uint8_t> b;
    b.reserve(54 + row * height);
    b.insert(b.end(), { 'B', 'M' });
    put32(b, 54 + row * height);
    put32(b, 0);
    put32(b, 54);
    put32(b, 40);
    put32(b, width);
    put32(b, height);
    put16(b, 1);
    put16(b, 24);
    for (int i = 0; i < 6; ++i)
        put32(b, 0);
    for (std::uint32_t y = height; y-- > 0;) {
        const std::uint8_t* p = decoder.pixels().data() + std::size_t(y) * width * 4;
        for (std::uint32_t x = 0; x < width; ++x, p += 4)
            b.insert(b.end(), { p[2], p[1], p[0] });
        b.resize(b.size() + (row - width * 3), 0);
    }
    return b;
}

platform::MenuBarTemplate one_button_bar(std::uint32_t id)
{
    platform::MenuBarTemplateButton button;
    button.command = 40011;
    button.state = state_enabled;
    button.style = style_auto_size;
    button.text = u"Empty";
    return { id, { button } };
}

platform::MenuBarTemplate soft_key_bar(std::uint32_t id)
{
    platform::MenuBarTemplateButton left;
    left.command = 40000;
    left.state = state_enabled;
    left.style = style_auto_size;
    left.string_id = 103;
    platform::MenuBarTemplateButton right;
    right.command = 40001;
    right.state = state_enabled;
    right.style = style_drop_down | style_auto_size;
    right.string_id = 104;
    right.sub_menu = 0;
    return { id, { left, right } };
}

// The shell's own soft-key bar: the left key, then the right one.
platform::MenuBarTemplate smartphone_bar()
{
    platform::MenuBarTemplateButton left;
    left.command = menu_resources::smartphone_left_key;
    left.state = state_enabled;
    left.style = style_auto_size;
    platform::MenuBarTemplateButton right = left;
    right.command = menu_resources::smartphone_right_key;
    return { 0, { left, right } };
}

}

void add_menu_bar_resources(platform::Resources& resources)
{
    resources.add_menu_bar(menu_resources::smartphone_bar, smartphone_bar());
    for (std::uint32_t i = 0; i < menu_resources::bar_count; ++i) {
        const std::uint32_t id = menu_resources::first_bar + i;
        resources.add_menu_bar(id, one_button_bar(id));
        resources.add_menu(id, { { u"Empty", 40011, 0, {} } });
        const std::uint32_t soft = menu_resources::first_soft_key_bar + i;
        resources.add_menu_bar(soft, soft_key_bar(soft));
        resources.add_menu(soft, { { u"Menu", 0, 0, { { u"New", 40002, 0, {} } } } });
    }
    // The soft keys are blanked as soon as a bar is made.
    resources.add_string(103, u"OK");
    resources.add_string(104, u"Menu");
    resources.add_picture(menu_resources::images_16, bmp_from_png(menu_bar_png(16)));
    resources.add_picture(menu_resources::images_32, bmp_from_png(menu_bar_png(32)));
}

}
