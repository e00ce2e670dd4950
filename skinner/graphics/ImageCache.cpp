#include "skinner/graphics/ImageCache.h"

#include "skinner/graphics/ImageLoader.h"
#include "skinner/graphics/SharedCache.h"

namespace skinner {

namespace {

SharedCache<ImageKey, Image>& cache()
{
    static auto* images = new SharedCache<ImageKey, Image>; // lives past every static picture
    return *images;
}

}

Image load_image(const ImageKey& key)
{
    return ImageLoader(key.base_path).load(key.name, key.scale);
}

std::shared_ptr<const Image> find_image(const ImageKey& key)
{
    return cache().find(key, load_image);
}

std::size_t images_in_use()
{
    return cache().size();
}

}
