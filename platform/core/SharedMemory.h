#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace platform {

// A block of memory shared by this user's processes that open it under the same name
// (a file of mode 0600 mapped from the private runtime folder, where no other user can
// make one first). It lives while one process keeps it open: the first to open it finds
// it zeroed, even when a killed process left one behind.
//
// Another process may change the bytes at any moment: read a value once into a local,
// then check it, and never let a length found there decide how far to read or write
// before it was checked.
class SharedMemory {
public:
    // Null when it cannot be had: no runtime directory (RuntimeDirectory.h), or an object
    // of that name that is not this user's private block of this size.
    static std::unique_ptr<SharedMemory> open(std::u16string_view name, std::size_t size);
    ~SharedMemory();
    SharedMemory(const SharedMemory&) = delete;
    SharedMemory& operator=(const SharedMemory&) = delete;

    unsigned char* data() const { return m_data; }

    std::size_t size() const { return m_size; }

    // Whether this opening started the block: no other process had it open.
    bool created() const { return m_created; }

private:
    SharedMemory(std::string_view object_name, int fd, unsigned char* data, std::size_t size, bool created);

    std::string m_name;
    int m_fd;
    unsigned char* m_data;
    std::size_t m_size;
    bool m_created;
};

}
