// Feeds arbitrary bytes to the WMA reader.
#include "audio/readers/FileReaderWMA.h"
#include "fuzz/ReaderFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return fuzz_reader<audio::FileReaderWMA>(data, size);
}
