#include "platform/core/SharedMemory.h"

#include "platform/core/RuntimeDirectory.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

// The block is a file in the private runtime folder (0700), not a system-wide shared
// memory name: only this user can create it there, so another user cannot take the name
// first. Every process that has the block open holds a shared flock on it; whoever gets an
// exclusive one has it alone. So the first opener starts it afresh, and the last one to
// close it removes the name. A name removed while another opener waited for its lock
// is found unlinked (no links left) and opened again.
namespace platform {

namespace {

constexpr int lock_attempts = 200; // of 5 ms: another opener holds the lock only briefly
constexpr int open_attempts = 20;

bool ours(const struct stat& st)
{
    return S_ISREG(st.st_mode) && st.st_uid == geteuid() && (st.st_mode & 077) == 0;
}

bool lock_shared(int fd)
{
    for (int i = 0; i < lock_attempts; ++i) {
        if (flock(fd, LOCK_SH | LOCK_NB) == 0)
            return true;
        if (errno != EWOULDBLOCK && errno != EINTR)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

enum class Opened { ready, again, refused };

// Takes the lock, starting the block afresh when nobody else has it.
Opened take(int fd, std::size_t size, bool& created)
{
    struct stat st;
    // Another user's object is never touched; our own gets its mode set when we start it.
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != geteuid())
        return Opened::refused;
    created = flock(fd, LOCK_EX | LOCK_NB) == 0;
    if (created) {
        if (fstat(fd, &st) != 0 || st.st_nlink == 0)
            return Opened::again;
        if (fchmod(fd, 0600) != 0 || ftruncate(fd, 0) != 0 || ftruncate(fd, static_cast<off_t>(size)) != 0)
            return Opened::refused;
    }
    if (!lock_shared(fd) || fstat(fd, &st) != 0)
        return Opened::refused;
    if (st.st_nlink == 0)
        return Opened::again;
    return st.st_size == static_cast<off_t>(size) && ours(st) ? Opened::ready : Opened::refused;
}

}

std::unique_ptr<SharedMemory> SharedMemory::open(std::u16string_view name, std::size_t size)
{
    const std::string object = runtime_file("shm-", name);
    if (object.empty() || size == 0)
        return nullptr;
    for (int attempt = 0; attempt < open_attempts; ++attempt) {
        int fd = ::open(object.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0)
            return nullptr;
        bool created = false;
        Opened opened = take(fd, size, created);
        if (opened == Opened::ready) {
            void* view = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
            if (view != MAP_FAILED)
                return std::unique_ptr<SharedMemory>(
                    new SharedMemory(object, fd, static_cast<unsigned char*>(view), size, created));
            opened = Opened::refused;
        }
        close(fd);
        if (opened == Opened::refused)
            return nullptr;
    }
    return nullptr;
}

SharedMemory::SharedMemory(
    std::string_view object_name, int fd, unsigned char* data, std::size_t size, bool created)
    : m_name(object_name)
    , m_fd(fd)
    , m_data(data)
    , m_size(size)
    , m_created(created)
{
}

SharedMemory::~SharedMemory()
{
    munmap(m_data, m_size);
    if (flock(m_fd, LOCK_EX | LOCK_NB) == 0)
        unlink(m_name.c_str());
    close(m_fd);
}

}
