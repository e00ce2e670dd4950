#pragma once

#include "audio/Consumer.h"
#include "audio/writers/FileWriter.h"
#include "audio/MP3Data.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace audio {

// Stores MPEG audio frames as they come, through a large write-behind buffer
// (few large writes suit slow flash storage). Appending keeps a file's ID3v1
// trailer at the end, after the new frames.
class FileWriterMP3 : public Consumer<MP3Data>, public FileWriter {
public:
    static constexpr std::size_t buffer_size = 120000;

    explicit FileWriterMP3(const std::u16string& path, bool append = false, Opener opener = {});
    // Writes what is buffered (and the kept trailer) and closes the file.
    ~FileWriterMP3() override;

    void on_data(const MP3Data& chunk) override;
    bool is_ok() override;
    // Bytes of the file before the trailer, as the MP3 reader counts positions.
    std::int64_t get_data_size() override;

private:
    bool ok() const;
    bool write(const std::uint8_t* bytes, std::size_t count);
    bool flush_buffer();
    void write_trailer();

    std::unique_ptr<os::File> m_file;
    bool m_ok = true;
    std::int64_t m_data_size = 0;
    std::vector<std::uint8_t> m_buffer;
    std::size_t m_fill = 0;
    // Where the file's trailer stood when appending began, and its bytes.
    std::int64_t m_trailer_offset = -1;
    std::array<std::uint8_t, 128> m_trailer {};
};

}
