#pragma once

#include "audio/MP3Data.h"
#include "audio/Provider.h"
#include "audio/readers/FileReader.h"
#include "audio/readers/MpegHeader.h"
#include "audio/readers/VbrHeader.h"
#include "audio/filters/OutputBuffer.h"
#include "liba/Mutex.h"
#include "os/File.h"

#include <array>
#include <functional>
#include <string>

namespace audio {

// Hands out an MPEG audio file one frame per get_data. A stream starts with
// a frame near the start of the file (after any ID3v2 tag, or at the data of
// a RIFF WAVE file that says it holds MPEG audio) followed by frames that
// agree with it; later frames must agree with it too, and tags and damaged
// stretches are stepped over. Positions count bytes of the file. Times assume
// the first frame's bitrate throughout, unless a VBR header frame (which is
// not played) gives the frame count and a table of offsets.
class FileReaderMP3 : public Provider<MP3Data>, public FileReader {
public:
    static constexpr std::int32_t buffer_size = 10000;
    // Unread bytes kept buffered while the file lasts; also a block's size.
    static constexpr std::int32_t block_size = 2000;
    // How far after its start (or its tag) a stream's first frame may lie.
    static constexpr std::int32_t search_span = 65536;

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
    // Where the search for the first frame begins: after ID3v2 tags, or at
    // the data of an MPEG RIFF WAVE file; -1 for a RIFF file of another kind.
    std::int64_t stream_start();
    // Looks for the first frame from start on; false when there is none near.
    bool find_stream(std::int64_t start);
    // Keeps at least wanted unread bytes buffered while the file lasts.
    void refill(std::int32_t wanted = block_size);
    // Moves to the next position where a header parses; false (everything
    // buffered given up) when there is none.
    bool find_frame(MpegHeader& header);
    // Pulls frames and pushes them to the consumer while the span is not
    // covered; false when the frames ran out first.
    bool push_frames_while(const std::function<bool()>& short_of_span);

    std::int64_t position() const { return m_read_offset - m_fill + m_index; }

    // A VBR header frame's table gives the times.
    bool timed_by_header() const { return m_vbr.duration() > 0; }

    bool at_end() const { return position() >= m_length; }

    // Nothing left to search: the file is used up or no longer reads.
    bool exhausted() const { return at_end() || m_fill - m_index <= 4; }

    os::File m_file;
    std::int64_t m_length = 0;
    MpegHeader m_first;
    // The first frame that plays, and the VBR header frame before it, if any.
    std::int64_t m_audio_start = 0;
    std::int64_t m_header_frame = 0;
    VbrHeader m_vbr;
    std::int64_t m_read_offset = 0;
    bool m_open = false;
    liba::Mutex m_lock;
    std::array<std::uint8_t, buffer_size> m_buffer {};
    std::int32_t m_fill = 0;
    std::int32_t m_index = 0;
    OutputBuffer m_output;
};

}
