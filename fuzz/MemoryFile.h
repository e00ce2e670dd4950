#pragma once

#include "platform/core/Utf8.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

// A file in memory that readers and writers open by name, for targets that
// write as well as read (a disk file would cost a sync on every close).
class MemoryFile {
public:
    explicit MemoryFile(const char* name)
        : m_fd(memfd_create(name, 0))
    {
        if (m_fd < 0)
            std::abort();
        m_path = platform::from_utf8("/proc/self/fd/" + std::to_string(m_fd));
    }

    ~MemoryFile() { close(m_fd); }

    const std::u16string& path() const { return m_path; }

    void store(const std::uint8_t* data, std::size_t size) const
    {
        if (ftruncate(m_fd, 0) != 0 || (size && pwrite(m_fd, data, size, 0) != static_cast<ssize_t>(size)))
            std::abort();
    }

    std::string bytes() const
    {
        std::string out(static_cast<std::size_t>(lseek(m_fd, 0, SEEK_END)), '\0');
        if (!out.empty() && pread(m_fd, out.data(), out.size(), 0) != static_cast<ssize_t>(out.size()))
            std::abort();
        return out;
    }

private:
    int m_fd;
    std::u16string m_path;
};
