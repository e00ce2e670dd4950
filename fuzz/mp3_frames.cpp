// Feeds arbitrary bytes to the MP3 reader's frame synchroniser, with seeks and
// skips between pulls, and decodes what it hands out.
#include "FuzzFile.h"
#include "audio/codecs/DecoderMP3.h"
#include "audio/readers/FileReaderMP3.h"
#include "audio/Id3Tag.h"

#include <cstdint>

namespace {

class Sink : public audio::Consumer<audio::MP3Data> {
public:
    void on_data(const audio::MP3Data& frame) override
    {
        if (frame.size() < std::size_t(frame.frame_length))
            __builtin_trap();
    }
};

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzFile file(data, size);
    std::uint8_t steer = size ? data[size - 1] : 0;
    {
        audio::FileReaderMP3 reader(file.path());
        std::int64_t length = reader.get_length_bytes();
        reader.time_to_bytes(1e300);
        reader.get_length();

        audio::DecoderMP3 decoder;
        audio::connect<audio::MP3Data>(&reader, &decoder);
        for (int i = 0; i < 16; ++i) {
            audio::PCMData pcm = decoder.get_data(1 + steer * 16);
            if (pcm.is_empty())
                break;
            if (reader.get_position_bytes() > length)
                __builtin_trap();
        }
        audio::connect<audio::MP3Data>(&reader, nullptr);

        Sink sink;
        audio::connect<audio::MP3Data>(&reader, &sink);
        reader.seek_bytes(length * steer / 255);
        reader.skip_bytes(steer * 7);
        reader.seek(-1);
        reader.skip(0.05);
        reader.seek_bytes(length + 1);
        if (!reader.is_end() || !reader.get_data(1).is_empty())
            __builtin_trap();
        audio::connect<audio::MP3Data>(&reader, nullptr);
    }
    audio::Id3Tag tag(file.path());
    return 0;
}
