#pragma once

#include <cstdint>

namespace os {
class File;
}

namespace audio {

// The RIFF WAVE header of the three codings handled: PCM (tag 1), Microsoft
// ADPCM (tag 2) and GSM 6.10 (tag 49). Readers read it, writers fill and write it.
class WAVInfo {
public:
    WAVInfo() = default;
    WAVInfo(const WAVInfo&) = default;
    WAVInfo& operator=(const WAVInfo&) = default;
    virtual ~WAVInfo() = default;

    // Reads the header of a file standing at its start; on success the file
    // stands at the first byte of audio data.
    bool read(os::File& file);
    // Writes the whole header where the file stands.
    bool write(os::File& file);

    // The fields of each coding after the 16 standard "fmt " bytes, and their
    // checks. The base reads and writes nothing.
    virtual bool read_extension(os::File& file);
    virtual bool write_extension(os::File& file);

    bool read_fmt(os::File& file);
    bool write_fmt(os::File& file);
    bool find_data(os::File& file);
    bool write_data_header(os::File& file);

    // Whether the "data" size tells where the audio ends in a file of that
    // size. A size of 0 (a header whose writer never came back to it) or one
    // past the end (a file cut short, a stream) does not: the audio runs to
    // the end of the file.
    bool data_size_holds(std::uint64_t file_size) const;
    // The bytes of audio data in a file of that size, whole units or not.
    std::int64_t data_bytes_in(std::uint64_t file_size) const;

    static bool expect_id(os::File& file, const char id[4]);
    // Walks the chunks from where the file stands to the one named id and
    // leaves the file at its first data byte.
    static bool find_chunk(os::File& file, const char id[4], std::uint32_t& size);
    enum class Walk { found, stopped, failed };
    // The same, stopping before the chunk named `stop`, with the file at
    // that chunk's identifier.
    static Walk find_chunk_before(os::File& file, const char id[4], const char stop[4], std::uint32_t& size);

    std::int32_t channels = 0;
    std::int32_t bits_per_sample = 0;
    std::int32_t sample_rate = 0;
    std::uint16_t format_tag = 0;
    std::uint32_t avg_bytes_per_sec = 0;
    std::uint16_t block_align = 0;
    std::uint32_t riff_size = 0;
    std::uint32_t fmt_size = 0;
    std::uint32_t data_size = 0;
    std::int64_t data_offset = 0;

protected:
    // Moves past what is left of the "fmt " chunk after its fields were read.
    bool skip_rest_of_fmt(os::File& file);
    // Reads the sample count of a "fact" chunk before "data"; without one
    // (ffmpeg writes none to a pipe) `present` is false and the file stands
    // at the "data" chunk.
    static bool read_fact(os::File& file, std::uint32_t& samples, bool& present);
    static bool write_fact(os::File& file, std::uint32_t samples);

    static bool read_u16(os::File& file, std::uint16_t& value);
    static bool read_u32(os::File& file, std::uint32_t& value);
    static bool write_u16(os::File& file, std::uint16_t value);
    static bool write_u32(os::File& file, std::uint32_t value);
    static bool write_id(os::File& file, const char id[4]);
};

}
