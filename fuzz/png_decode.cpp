// Decodes the input as a skin picture and checks that the image is as large
// as its header says, or absent.
#include "skinner/graphics/RawPngDecoder.h"

#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    skinner::RawPngDecoder decoder;
    const int result = decoder.decode(data, size);
    if (result != 1 && result != -1)
        std::abort();
    const auto expected
        = static_cast<std::size_t>(decoder.width()) * static_cast<std::size_t>(decoder.height()) * 4;
    if (decoder.pixels().size() != expected)
        std::abort();
    std::vector<std::uint8_t> dib(expected);
    decoder.copy_to_dib(dib.data());
    return 0;
}
