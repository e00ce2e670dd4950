// Feeds arbitrary bytes to the skin picture decoder (GIF, BMP, JPEG) and
// draws what it gives, so a bitmap that lies about its size shows up.
#include "platform/ui/DeviceContext.h"
#include "platform/ui/Picture.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto result = platform::decode_picture({ data, size });
    if (!result.picture)
        return 0;
    platform::Bitmap& picture = *result.picture->bitmap;
    if (picture.pixels().size() != std::size_t(picture.width()) * std::size_t(picture.height()))
        std::abort();
    auto target = platform::Bitmap::create(64, 64);
    auto source = platform::DeviceContext::memory();
    auto dest = platform::DeviceContext::memory();
    source.select_bitmap(&picture);
    dest.select_bitmap(target.get());
    dest.stretch_blt({ 0, 0, 64, 64 }, source, picture.bounds(), platform::rop::source_copy);
    return 0;
}
