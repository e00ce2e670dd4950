#pragma once

#include "audio/readers/FileReader.h"
#include "audio/MP3Data.h"
#include "audio/readers/MpegHeader.h"
#include "audio/Provider.h"
#include "liba/Mutex.h"
#include "os/File.h"

#include <array>
#include <functional>
#include <string>

namespace audio {

// Hands out an MPEG audio file one frame per get_data. Frames are found by
// their sync pattern and must agree with the first frame accepted; tags and
// damaged stretches are stepped over. Positions count bytes of the file, and
// times assume the first frame's bitrate throughout.
class FileReaderMP3 : public Provider<MP3Data>, public FileReader {
public:
    static constexpr std::int32_t buffer_size = 10000;
    // Unread bytes kept buffered while the file lasts; also a block's size.
    static constexpr std::int32_t block_size = 2000;

    explicit FileReaderMP3(const std::u16string& path);

    // One frame whatever the count.
    MP3Data get_data(std::int32_t count) override;

    const MpegHeader& get_first_header() const { return m_first; }

    bool is_open() override;
    bool is_end() override;
    int get_channels() override;
    int get_bits_per_sample() override;
    int get_sample_rate() override;
    int get_bitrate() override;
    std::int64_t time_to_bytes(double seconds) override;
    double bytes_to_time(std::int64_t bytes) override;
    std::int64_t get_length_bytes() override;
    std::int64_t get_position_bytes() override;
    void seek_bytes(std::int64_t bytes) override;
    bool skip(double seconds) override;
    bool skip_bytes(std::int64_t bytes) override;

private:
    void open();
    // Keeps at least wanted unread bytes buffered while the file lasts.
    void refill(std::int32_t wanted = block_size);
    // Moves to the next position where a header parses; false (everything
    // buffered given up) when there is none.
    bool find_frame(MpegHeader& header);
    // Pulls frames and pushes them to the consumer while the span is not
    // covered; false when the frames ran out first.
    bool push_frames_while(const std::function<bool()>& short_of_span);

    std::int64_t position() const { return m_read_offset - m_fill + m_index; }

    bool at_end() const { return position() >= m_length; }

    // Nothing left to search: the file is used up or no longer reads.
    bool exhausted() const { return at_end() || m_fill - m_index <= 4; }

    os::File m_file;
    std::int64_t m_length = 0;
    MpegHeader m_first;
    std::int64_t m_read_offset = 0;
    bool m_open = false;
    liba::Mutex m_lock;
    std::array<std::uint8_t, buffer_size> m_buffer {};
    std::int32_t m_fill = 0;
    std::int32_t m_index = 0;
};

}
