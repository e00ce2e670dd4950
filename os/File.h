#pragma once

#include "liba/Nocopy.h"
#include "liba/ResourceReaderWriterBase.h"
#include "platform/core/File.h"

#include <string_view>

namespace os {

// A file opened at construction. A file that cannot be opened records
// "can't open file"; after that, and after any other error, every operation
// does nothing and returns 0 or false. Failed reads, writes and moves record
// nothing. No buffering: each read and write is one call to the host.
class File : private liba::Nocopy, public liba::ResourceReaderWriterBase {
public:
    enum class Mode {
        read = 0, // an existing file
        write = 1, // created, or emptied when it exists
        append = 2, // created when missing, positioned at its end
        read_write = 3, // any other value too: created when missing
    };

    // Path macros are expanded first.
    File(std::u16string_view path, Mode mode);
    ~File() override;

    std::size_t read(void* buffer, std::size_t count) override;
    std::size_t write(const void* buffer, std::size_t count) override;
    // Moves from the current position; returns the distance moved, 0 on failure.
    std::int64_t skip(std::int64_t distance) override;
    std::uint64_t size() override;
    bool seek(std::uint64_t position) override;
    std::uint64_t tell() override;
    // Cuts or extends the file to the length and leaves the position there.
    bool truncate(std::uint64_t length);
    bool flush();
    void close();

private:
    platform::FileHandle m_handle = platform::no_file;
};

}
