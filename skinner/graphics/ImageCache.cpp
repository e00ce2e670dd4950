#include "skinner/graphics/ImageCache.h"

#include "liba/Conversion.h"
#include "liba/Path.h"
#include "os/File.h"
#include "skinner/graphics/RawPngDecoder.h"
#include "skinner/graphics/ReadBytes.h"
#include "skinner/graphics/SharedCache.h"

#include <optional>

namespace skinner {

namespace {

// No picture file of a skin comes near this.
constexpr std::uint64_t largest_picture_file = std::uint64_t { 1 } << 28;

std::optional<Image> load_png(const std::u16string& path, std::uint32_t scale)
{
    os::File file(path, os::File::mode_read);
    std::vector<std::uint8_t> bytes;
    const std::uint64_t size = file.size();
    if (!file.is_ok() || size > largest_picture_file || !read_bytes(file, size, bytes))
        return std::nullopt;
    RawPngDecoder decoder;
    decoder.decode(bytes.data(), bytes.size());
    if (decoder.width() == 0 || decoder.height() == 0)
        return std::nullopt;
    return Image(decoder.width(), decoder.height(), scale, decoder.pixels());
}

std::optional<Image> load_name(const ImageKey& key, const std::u16string& name)
{
    const std::u16string folder = liba::get_directory(key.base_path);
    return load_png(liba::join_path(folder, name + u".png"), key.scale);
}

}

Image load_image(const ImageKey& key)
{
    if (key.scale != 1) {
        std::u16string scale;
        liba::format_long(static_cast<long>(key.scale), scale);
        const std::u16string variant = key.name + u"_x" + scale;
        if (std::optional<Image> image = load_name(key, variant))
            return std::move(*image);
    }
    if (std::optional<Image> image = load_name(key, key.name))
        return std::move(*image);
    return Image();
}

std::shared_ptr<const Image> find_image(const ImageKey& key)
{
    static auto* cache = new SharedCache<ImageKey, Image>; // lives past every static picture
    return cache->find(key, load_image);
}

}
