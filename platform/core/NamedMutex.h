#pragma once

#include <memory>
#include <string_view>

namespace platform {

// A lock shared by this user's processes under a name (case-insensitive). The system
// frees it when the holder dies, so a killed holder never blocks the next one.
class NamedMutex {
public:
    // null when no lock file can be made.
    static std::unique_ptr<NamedMutex> open(std::u16string_view name);
    ~NamedMutex();
    NamedMutex(const NamedMutex&) = delete;
    NamedMutex& operator=(const NamedMutex&) = delete;

    // Waits while another holds it.
    bool lock();
    bool try_lock();
    void unlock();

    bool is_held() const { return m_held; }

private:
    explicit NamedMutex(int fd);
    int m_fd;
    bool m_held = false;
};

}
