#include "platform/core/NamedMutex.h"

#include "platform/core/RuntimeDirectory.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

std::unique_ptr<NamedMutex> NamedMutex::open(std::u16string_view name)
{
    std::string path = runtime_file("mutex-", name);
    if (path.empty())
        return nullptr;
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return nullptr;
    return std::unique_ptr<NamedMutex>(new NamedMutex(fd));
}

NamedMutex::NamedMutex(int fd)
    : m_fd(fd)
{
}

NamedMutex::~NamedMutex()
{
    close(m_fd);
}

bool NamedMutex::lock()
{
    int rc;
    while ((rc = flock(m_fd, LOCK_EX)) != 0 && errno == EINTR) { }
    m_held = rc == 0;
    return m_held;
}

bool NamedMutex::try_lock()
{
    int rc;
    while ((rc = flock(m_fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) { }
    m_held = rc == 0;
    return m_held;
}

void NamedMutex::unlock()
{
    if (m_held)
        flock(m_fd, LOCK_UN);
    m_held = false;
}

}
