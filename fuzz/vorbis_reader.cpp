// Feeds arbitrary bytes to the Ogg Vorbis reader.
#include "audio/codecs/DecoderVorbis.h"
#include "fuzz/ReaderFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return fuzz_reader<audio::DecoderVorbis>(data, size);
}
