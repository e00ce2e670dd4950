// Feeds arbitrary bytes to the Musepack reader.
#include "audio/codecs/DecoderMPC.h"
#include "fuzz/ReaderFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return fuzz_reader<audio::DecoderMPC>(data, size);
}
