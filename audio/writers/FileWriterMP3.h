#pragma once

#include "audio/Consumer.h"
#include "audio/writers/FileWriter.h"
#include "audio/MP3Data.h"

#include <array>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace audio {

// Stores MPEG audio frames as they come, through a write-behind buffer (few
// large writes suit slow flash storage) that goes to the file at least every
// half second of audio: a killed process loses no more, and a full disk is
// seen as soon. The file ends at its last whole frame. Appending keeps a
// file's ID3v1 trailer at the end, after the new frames.
class FileWriterMP3 : public Consumer<MP3Data>, public FileWriter {
public:
    static constexpr std::size_t buffer_size = 120000;
    // The most audio the buffer holds before it is written.
    static constexpr double buffer_seconds = 0.5;

    explicit FileWriterMP3(const std::u16string& path, bool append = false, Opener opener = {});
    // Writes what is buffered (and the kept trailer after it) and closes the file.
    ~FileWriterMP3() override;

    void on_data(const MP3Data& chunk) override;
    bool is_ok() override;
    // Bytes of the file before the trailer, as the MP3 reader counts positions.
    std::int64_t get_data_size() override;

private:
    bool ok() const;
    // Writes frames that end at the given offsets; a short write leaves the
    // file at the end of the last whole one, and ok false.
    bool write_frames(const std::uint8_t* bytes, std::span<const std::size_t> frame_ends);
    // Walks the frame headers of the buffered bytes after the last whole frame.
    void find_frames();
    // Writes the whole frames buffered, or all of the buffer.
    bool flush_buffer(bool all);
    // Writes the kept trailer after the frames, the file standing before it;
    // false when the disk has no room for it there.
    bool place_trailer();

    std::unique_ptr<os::File> m_file;
    bool m_ok = true;
    std::int64_t m_data_size = 0;
    std::vector<std::uint8_t> m_buffer;
    std::size_t m_fill = 0;
    // The buffered bytes up to the end of the last whole frame, the ends of
    // those frames, and the audio they hold.
    std::size_t m_whole = 0;
    std::vector<std::size_t> m_frame_ends;
    double m_buffered_seconds = 0;
    // Where the file's trailer stood when appending began, and its bytes.
    std::int64_t m_trailer_offset = -1;
    std::array<std::uint8_t, 128> m_trailer {};
};

}
