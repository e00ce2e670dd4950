#pragma once

#include "skinner/graphics/Image.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace skinner {

// Which picture file an image comes from: the skin (or base) path whose
// folder holds it, the picture's name without extension, and the scale.
struct ImageKey {
    std::u16string base_path;
    std::u16string name;
    std::uint32_t scale = 1;

    auto operator<=>(const ImageKey&) const = default;
};

// The program-wide cache of loaded images: one image per key, shared by all
// the references to it, and loaded again once none is left. A picture file
// that cannot be found or decoded gives an image that is not valid.
std::shared_ptr<const Image> find_image(const ImageKey& key);

// Loads an image from the skin's archive or folder (ImageLoader).
Image load_image(const ImageKey& key);

// How many images are loaded and held now.
std::size_t images_in_use();

}
