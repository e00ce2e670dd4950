#include "skinner/graphics/ImageLoader.h"

#include "liba/Conversion.h"
#include "liba/Path.h"
#include "liba/ZipFile.h"
#include "os/File.h"
#include "os/Log.h"
#include "os/PathMacros.h"
#include "platform/core/FileSystem.h"
#include "platform/core/Win32Error.h"
#include "platform/ui/Picture.h"
#include "skinner/graphics/BlitContext.h"
#include "skinner/graphics/HDCSelector.h"
#include "skinner/graphics/RawPngDecoder.h"
#include "skinner/graphics/ReadBytes.h"

#include <utility>

namespace skinner {

using platform::Bitmap;

namespace {

// No picture file of a skin comes near this.
constexpr std::uint64_t largest_picture_file = std::uint64_t { 1 } << 28;
constexpr platform::Pixel white = 0xFFFFFF;

// Reads the whole stream; false when it is too large or fewer bytes came.
bool read_whole(liba::ResourceReader& stream, std::vector<std::uint8_t>& bytes)
{
    const std::uint64_t size = stream.size();
    return size <= largest_picture_file && read_bytes(stream, size, bytes);
}

std::unique_ptr<Bitmap> decode_with_platform(const std::vector<std::uint8_t>& bytes)
{
    platform::PictureResult result = platform::decode_picture(bytes);
    if (!result.picture)
        return nullptr;
    return std::move(result.picture->bitmap);
}

std::unique_ptr<Bitmap> decode_png(const std::vector<std::uint8_t>& bytes)
{
    RawPngDecoder decoder;
    decoder.decode(bytes.data(), bytes.size());
    if (decoder.width() == 0 || decoder.height() == 0)
        return nullptr;
    auto bitmap = Bitmap::create(decoder.width(), decoder.height());
    if (!bitmap)
        return nullptr;
    const std::uint8_t* rgba = decoder.pixels().data();
    for (platform::Pixel& p : bitmap->pixels()) {
        p = platform::Pixel(rgba[0]) << 16 | platform::Pixel(rgba[1]) << 8 | rgba[2];
        rgba += 4;
    }
    return bitmap;
}

// The mask's transparent parts made white in the picture, so that the
// masked copy (mask OR-ed, then picture AND-ed) leaves the canvas unchanged
// there whatever colour the file has under them.
void whiten_transparent_parts(Bitmap& color, const Bitmap& mask)
{
    const std::int32_t width = std::min(color.width(), mask.width());
    const std::int32_t height = std::min(color.height(), mask.height());
    for (std::int32_t y = 0; y < height; ++y) {
        platform::Pixel* row = color.row(y);
        const platform::Pixel* mask_row = mask.row(y);
        for (std::int32_t x = 0; x < width; ++x)
            if ((mask_row[x] & 0xFFFFFF) == 0)
                row[x] = white;
    }
}

void log_bitmap(const char16_t* prefix, const Bitmap& bitmap, bool with_size)
{
    std::u16string line = prefix;
    if (with_size)
        line += u"Width=" + liba::number_text(bitmap.width()) + u" Height="
            + liba::number_text(bitmap.height()) + u" ";
    line += u"bmBitsPixel=32 bmPlanes=1\n";
    os::log() << line;
}

// The bitmap stretched by the scale; null when it cannot be made.
std::unique_ptr<Bitmap> stretched(Bitmap& bitmap, std::uint32_t scale)
{
    auto result = Bitmap::create(static_cast<std::int32_t>(std::int64_t { bitmap.width() } * scale),
        static_cast<std::int32_t>(std::int64_t { bitmap.height() } * scale));
    if (!result)
        return nullptr;
    HDCSelector source(&bitmap);
    HDCSelector target(result.get());
    scale_blit(*target.dc(), static_cast<double>(scale), *source.dc(), bitmap.width(), bitmap.height(),
        platform::rop::source_copy);
    return result;
}

}

bool is_contained_picture_name(std::u16string_view name)
{
    if (name.empty() || liba::is_separator(name.front()))
        return false;
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = start;
        while (end < name.size() && !liba::is_separator(name[end]))
            ++end;
        if (name.substr(start, end - start) == u"..")
            return false;
        start = end + 1;
    }
    return true;
}

ImageLoader::ImageLoader(const std::u16string& skin_path)
    : m_archive(skin_path)
    , m_folder(os::expand_path_macros(liba::get_directory(skin_path)))
{
    std::u16string real;
    if (platform::resolve_path(m_folder.empty() ? u"." : m_folder, real) == platform::error_success)
        m_real_folder = real;
}

Image ImageLoader::load(const std::u16string& name, std::uint32_t scale)
{
    if (!is_contained_picture_name(name)) {
        os::log() << u"Picture {" + name + u"} refused: its name leads out of the skin's folder\n";
        return Image();
    }
    if (scale != 1) {
        Image variant = load_unscaled(name + u"_x" + liba::number_text(scale), scale);
        if (variant.is_valid())
            return variant;
    }
    Image plain = load_unscaled(name, scale);
    if (scale == 1 || !plain.is_valid())
        return plain;
    log_bitmap(u"bmp: ", *plain.color(), true);
    if (plain.mask())
        log_bitmap(u"bitmap_info_a: ", *plain.mask(), false);
    auto color = stretched(*plain.color(), scale);
    std::unique_ptr<Bitmap> mask;
    if (color && plain.mask()) {
        mask = stretched(*plain.mask(), scale);
        if (!mask)
            color.reset();
    }
    return Image(std::move(color), std::move(mask), plain.has_alpha(), scale);
}

Image ImageLoader::load_unscaled(const std::u16string& name, std::uint32_t scale)
{
    std::unique_ptr<Bitmap> color = find(name);
    if (!color)
        return Image();
    std::unique_ptr<Bitmap> mask = find(name + u"_1");
    bool alpha = false;
    if (mask)
        whiten_transparent_parts(*color, *mask);
    else if ((mask = find(name + u"_8")))
        alpha = true;
    return Image(std::move(color), std::move(mask), alpha, scale);
}

std::unique_ptr<Bitmap> ImageLoader::find(const std::u16string& name)
{
    using Lookup = Step (ImageLoader::*)(const std::u16string&, std::unique_ptr<Bitmap>&);
    static constexpr std::pair<Lookup, const char16_t*> steps[] = {
        { &ImageLoader::from_archive, u".gif" },
        { &ImageLoader::from_archive, u".bmp" },
        { &ImageLoader::from_png, u".png" },
        { &ImageLoader::from_picture_file, u".bmp" },
        { &ImageLoader::from_picture_file, u".gif" },
        { &ImageLoader::from_picture_file, u".jpg" },
    };
    for (const auto& [lookup, extension] : steps) {
        std::unique_ptr<Bitmap> bitmap;
        switch ((this->*lookup)(name + extension, bitmap)) {
        case Step::found:
            return bitmap;
        case Step::end:
            return nullptr;
        case Step::next:
            break;
        }
    }
    return nullptr;
}

ImageLoader::Step ImageLoader::from_archive(const std::u16string& member, std::unique_ptr<Bitmap>& bitmap)
{
    liba::ZipFile zip(std::make_unique<os::File>(m_archive, os::File::Mode::read));
    if (!zip.open_entry(member))
        return Step::next;
    std::vector<std::uint8_t> bytes;
    if (!read_whole(zip, bytes))
        return Step::end;
    bitmap = decode_with_platform(bytes);
    return bitmap ? Step::found : Step::end;
}

ImageLoader::Step ImageLoader::from_png(const std::u16string& file_name, std::unique_ptr<Bitmap>& bitmap)
{
    const std::u16string path = inside_folder(file_name);
    if (path.empty())
        return Step::next;
    os::File file(path, os::File::Mode::read);
    std::vector<std::uint8_t> bytes;
    if (!file.is_ok() || file.size() == 0)
        return Step::next;
    if (!read_whole(file, bytes))
        return Step::end;
    bitmap = decode_png(bytes);
    return bitmap ? Step::found : Step::next;
}

ImageLoader::Step ImageLoader::from_picture_file(
    const std::u16string& file_name, std::unique_ptr<Bitmap>& bitmap)
{
    const std::u16string path = inside_folder(file_name);
    if (path.empty())
        return Step::next;
    os::File file(path, os::File::Mode::read);
    std::vector<std::uint8_t> bytes;
    if (!file.is_ok() || !read_whole(file, bytes))
        return Step::next;
    bitmap = decode_with_platform(bytes);
    return bitmap ? Step::found : Step::next;
}

std::u16string ImageLoader::inside_folder(const std::u16string& file_name) const
{
    if (m_real_folder.empty())
        return {};
    std::u16string real;
    if (platform::resolve_path(liba::join_path(m_folder, file_name), real) != platform::error_success)
        return {};
    if (!liba::is_path_under(m_real_folder, real) || liba::paths_equal(m_real_folder, real)) {
        os::log() << u"Picture file {" + file_name + u"} refused: it lies outside the skin's folder\n";
        return {};
    }
    return real;
}

}
