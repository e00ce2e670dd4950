// Takes the input as a WAV (PCM, Microsoft ADPCM, GSM) or MP3 file that a
// recording goes on in, and appends to it as the record chains do. A file
// the writer refuses stays exactly as it was; one it takes opens again with
// its reader, and an MP3 file's ID3v1 trailer stays last.
#include "audio/readers/FileReaderMP3.h"
#include "audio/readers/FileReaderWAVADPCM.h"
#include "audio/readers/FileReaderWAVGSM.h"
#include "audio/readers/FileReaderWAVPCM.h"
#include "audio/readers/WAVInfoADPCM.h"
#include "audio/writers/FileWriterMP3.h"
#include "audio/writers/FileWriterWAVADPCM.h"
#include "audio/writers/FileWriterWAVGSM.h"
#include "audio/writers/FileWriterWAVPCM.h"
#include "fuzz/MemoryFile.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

const MemoryFile& file()
{
    static const MemoryFile memory("append_to_file");
    return memory;
}

liba::SharedBuffer filled(std::size_t size, std::uint8_t value)
{
    liba::SharedBuffer bytes(size);
    std::memset(bytes.make_unique(), value, size);
    return bytes;
}

// Chunks in the file's own format where it has one, and in another.
void append_pcm(std::uint8_t count)
{
    audio::PCMData own;
    {
        audio::FileReaderWAVPCM reader(file().path());
        const audio::WAVInfo& info = reader.get_wav_info();
        if (reader.is_open())
            own = audio::PCMData(filled(std::size_t(info.block_align) * 100 + 1, count), info.channels,
                info.bits_per_sample, info.sample_rate);
    }
    audio::FileWriterWAVPCM writer(file().path(), true);
    for (int i = 0; i <= count % 4; ++i) {
        writer.on_data(own);
        writer.on_data(audio::PCMData(filled(1001, 7), 2, 16, 44100));
    }
}

template<typename Reader, typename Writer, typename Data>
void append_blocks(std::uint8_t count)
{
    Data block;
    {
        Reader reader(file().path());
        const auto& info = reader.get_wav_info();
        std::size_t align = reader.is_open() ? info.block_align : 65;
        block.buffer = filled(align * (1 + count % 3), count);
        block.channels = info.channels;
        block.bits_per_sample = info.bits_per_sample;
        block.sample_rate = info.sample_rate;
        if constexpr (requires { block.block_align; })
            block.block_align = info.block_align;
    }
    Writer writer(file().path(), true);
    for (int i = 0; i <= count % 4; ++i)
        writer.on_data(block);
}

// The file's own frames where it has some (a join copies them so), and others.
void append_mp3(std::uint8_t count)
{
    std::vector<audio::MP3Data> frames;
    {
        audio::FileReaderMP3 reader(file().path());
        for (int i = 0; i <= count % 8; ++i)
            frames.push_back(reader.get_data(1));
    }
    audio::FileWriterMP3 writer(file().path(), true);
    for (audio::MP3Data& frame : frames) {
        if (frame.is_empty())
            frame.buffer = filled(417, 0x11);
        writer.on_data(frame);
    }
}

template<typename Reader>
void read_back()
{
    Reader reader(file().path());
    if (!reader.is_open())
        std::abort();
    for (int i = 0; i < 10000 && !reader.is_end(); ++i) {
        if (reader.get_data(4096).is_empty())
            break;
    }
}

bool writer_takes(std::uint8_t kind)
{
    switch (kind) {
    case 0:
        return audio::FileWriterWAVPCM(file().path(), true).is_ok();
    case 1:
        return audio::FileWriterWAVADPCM(file().path(), true).is_ok();
    case 2:
        return audio::FileWriterWAVGSM(file().path(), true).is_ok();
    default:
        return audio::FileWriterMP3(file().path(), true).is_ok();
    }
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const std::uint8_t kind = data[0] % 4;
    const std::uint8_t count = data[1];
    file().store(data + 2, size - 2);
    const std::string before = file().bytes();

    // A writer that refuses the file leaves it as it was; one that takes it
    // and is closed at once leaves the audio as it was.
    bool takes = writer_takes(kind);
    const std::string taken = file().bytes();
    if (!takes && taken != before)
        std::abort();
    file().store(data + 2, size - 2);

    switch (kind) {
    case 0:
        append_pcm(count);
        if (takes)
            read_back<audio::FileReaderWAVPCM>();
        break;
    case 1:
        append_blocks<audio::FileReaderWAVADPCM, audio::FileWriterWAVADPCM, audio::ADPCMData>(count);
        if (takes)
            read_back<audio::FileReaderWAVADPCM>();
        break;
    case 2:
        append_blocks<audio::FileReaderWAVGSM, audio::FileWriterWAVGSM, audio::GSMData>(count);
        if (takes)
            read_back<audio::FileReaderWAVGSM>();
        break;
    default: {
        append_mp3(count);
        // The trailer the file had is its last 128 bytes still.
        const std::string after = file().bytes();
        std::size_t tag = before.size() >= 128 ? before.rfind("TAG") : std::string::npos;
        if (tag != std::string::npos && tag == before.size() - 128
            && (after.size() < 128 || after.compare(after.size() - 128, 128, before, tag, 128) != 0))
            std::abort();
        break;
    }
    }
    if (!takes && file().bytes() != before)
        std::abort();
    return 0;
}
