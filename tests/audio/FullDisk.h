#pragma once

#include "audio/writers/FileWriter.h"
#include "os/File.h"

#include <algorithm>
#include <cstdint>
#include <memory>

namespace test {

// A file on a disk that fills up once the file reaches `room` bytes: writes
// beyond stop short, as the host's write does on a full disk. Writes over
// bytes the file already has still succeed.
class FullDiskFile : public os::File {
public:
    FullDiskFile(const std::u16string& path, os::File::Mode mode, std::uint64_t room)
        : os::File(path, mode)
        , m_room(room)
    {
    }

    std::size_t write(const void* buffer, std::size_t count) override
    {
        std::uint64_t at = tell();
        std::uint64_t allowed = at >= m_room ? 0 : std::min<std::uint64_t>(count, m_room - at);
        return os::File::write(buffer, static_cast<std::size_t>(allowed));
    }

private:
    std::uint64_t m_room;
};

inline audio::FileWriter::Opener full_disk(std::uint64_t room)
{
    return [room](const std::u16string& path, os::File::Mode mode) -> std::unique_ptr<os::File> {
        return std::make_unique<FullDiskFile>(path, mode, room);
    };
}

}
