#include "platform/ui/Icon.h"

#include "platform/core/Utf8.h"
#include "platform/core/detail/MessageState.h"
#include "platform/ui/DeviceContext.h"
#include "platform/ui/Picture.h"
#include "platform/ui/Screen.h"
#include "platform/ui/ShellLook.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace platform {

namespace {

constexpr Pixel key_colour = 0xFF00FF;
constexpr std::uintmax_t largest_icon_file = 16 * 1024 * 1024;

std::unique_ptr<Bitmap> scaled_copy(const Bitmap& source, Size size)
{
    auto out = Bitmap::create(size.width, size.height);
    if (!out)
        return nullptr;
    for (std::int32_t y = 0; y < size.height; ++y) {
        const Pixel* row = source.row(std::int32_t(std::int64_t(y) * source.height() / size.height));
        for (std::int32_t x = 0; x < size.width; ++x)
            out->row(y)[x] = row[std::int64_t(x) * source.width() / size.width];
    }
    return out;
}

// A built-in icon drawn on the key colour, turned into an icon.
template<typename Draw>
std::unique_ptr<Icon> drawn_icon(Draw draw)
{
    std::int32_t side = small_icon_side();
    auto canvas = Bitmap::create(side, side);
    if (!canvas)
        return nullptr;
    canvas->fill(key_colour);
    DeviceContext dc = DeviceContext::memory();
    dc.select_bitmap(canvas.get());
    draw(dc, side);
    dc.select_bitmap(nullptr);
    return Icon::from_bitmap(*canvas, canvas->bounds(), key_colour);
}

std::unique_ptr<Icon> button_icon(int number)
{
    return drawn_icon([number](DeviceContext& dc, std::int32_t side) {
        Rect r { 1, 1, side - 1, side - 1 };
        dc.fill_rect({ r.left + 1, r.top, r.right - 1, r.bottom }, look::frame);
        dc.fill_rect({ r.left, r.top + 1, r.right, r.bottom - 1 }, look::frame);
        look::prepare_text(dc, look::highlight_text, true);
        char16_t digit[] = { char16_t(u'0' + number), 0 };
        dc.draw_text(digit, r, dt::center | dt::vcenter | dt::single_line | dt::no_prefix);
    });
}

std::unique_ptr<Icon> document_icon()
{
    return drawn_icon([](DeviceContext& dc, std::int32_t side) {
        std::int32_t fold = side / 4;
        Rect page { side / 8, 0, side - side / 8, side };
        dc.fill_rect({ page.left, page.top, page.right - fold, page.bottom }, look::window);
        dc.fill_rect({ page.right - fold, page.top + fold, page.right, page.bottom }, look::window);
        Point outline[] = { { page.left, page.top }, { page.right - fold - 1, page.top },
            { page.right - 1, page.top + fold }, { page.right - 1, page.bottom - 1 },
            { page.left, page.bottom - 1 }, { page.left, page.top } };
        dc.polyline(outline, look::frame);
    });
}

std::optional<std::vector<std::uint8_t>> read_small_file(std::u16string_view path)
{
    std::u16string native(path);
    for (auto& c : native) {
        if (c == u'\\')
            c = u'/';
    }
    std::ifstream in(to_utf8(native), std::ios::binary);
    if (!in)
        return std::nullopt;
    std::vector<std::uint8_t> bytes;
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        bytes.insert(bytes.end(), buffer, buffer + in.gcount());
        if (bytes.size() > largest_icon_file)
            return std::nullopt;
    }
    return bytes;
}


}

Icon::Icon(std::unique_ptr<Bitmap> image, std::unique_ptr<Bitmap> mask)
    : m_image(std::move(image))
    , m_mask(std::move(mask))
{
}

std::unique_ptr<Icon> Icon::from_bitmap(const Bitmap& source, const Rect& part, Pixel key)
{
    Rect r = part.intersect(source.bounds());
    auto image = Bitmap::create(r.width(), r.height());
    auto mask = Bitmap::create(r.width(), r.height());
    if (!image || !mask)
        return nullptr;
    for (std::int32_t y = 0; y < r.height(); ++y) {
        for (std::int32_t x = 0; x < r.width(); ++x) {
            Pixel p = source.at(r.left + x, r.top + y) & 0xFFFFFF;
            bool clear = p == (key & 0xFFFFFF);
            image->row(y)[x] = clear ? 0 : p;
            mask->row(y)[x] = clear ? 0xFFFFFF : 0;
        }
    }
    return std::unique_ptr<Icon>(new Icon(std::move(image), std::move(mask)));
}

std::unique_ptr<Icon> Icon::greyed() const
{
    auto image = Bitmap::create(m_image->width(), m_image->height());
    auto mask = Bitmap::create(m_mask->width(), m_mask->height());
    if (!image || !mask)
        return nullptr;
    std::copy(m_mask->pixels().begin(), m_mask->pixels().end(), mask->pixels().begin());
    for (std::size_t i = 0; i < image->pixels().size(); ++i) {
        if (m_mask->pixels()[i] & 0xFFFFFF)
            continue; // transparent: black in the image, as the mask wants
        Pixel p = m_image->pixels()[i];
        std::uint32_t brightness = (299 * ((p >> 16) & 0xFF) + 587 * ((p >> 8) & 0xFF) + 114 * (p & 0xFF)) / 1000;
        // Half the contrast, from the grey of disabled text up to white.
        std::uint32_t grey = 128 + brightness / 2;
        image->pixels()[i] = grey << 16 | grey << 8 | grey;
    }
    return std::unique_ptr<Icon>(new Icon(std::move(image), std::move(mask)));
}

std::unique_ptr<Icon> Icon::from_picture(std::span<const std::uint8_t> bytes, Size size)
{
    if (size.width < 1 || size.height < 1)
        return nullptr;
    PictureResult decoded = decode_picture(bytes);
    if (!decoded.picture)
        return nullptr;
    const Bitmap& bitmap = *decoded.picture->bitmap;
    Pixel key = decoded.picture->transparent.value_or(bitmap.at(0, 0)) & 0xFFFFFF;
    auto scaled = scaled_copy(bitmap, size);
    return scaled ? from_bitmap(*scaled, scaled->bounds(), key) : nullptr;
}

void draw_icon(DeviceContext& dc, Point at, const Icon& icon)
{
    Rect target = Rect::from(at, icon.size());
    for (auto [bitmap, rop] :
        { std::pair(&icon.mask(), rop::source_and), std::pair(&icon.image(), rop::source_paint) }) {
        DeviceContext source = DeviceContext::memory();
        // Selecting only reads the pixels: the icon stays as it is.
        source.select_bitmap(const_cast<Bitmap*>(bitmap));
        dc.bit_blt(target, source, {}, rop);
        source.select_bitmap(nullptr);
    }
}

std::int32_t small_icon_side()
{
    return look::scaled(16);
}

std::unique_ptr<Icon> small_file_icon(std::u16string_view path)
{
    if (path.empty())
        return nullptr;
    std::u16string folded = detail::fold_case(path);
    for (int n = 1; n <= 6; ++n) {
        if (folded == u"applicationbutton" + std::u16string(1, char16_t(u'0' + n)))
            return button_icon(n);
    }
    if (auto bytes = read_small_file(path)) {
        if (auto icon = Icon::from_picture(*bytes, { small_icon_side(), small_icon_side() }))
            return icon;
    }
    return document_icon();
}

}
