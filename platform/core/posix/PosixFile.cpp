#include "platform/core/posix/PosixFile.h"

#include "platform/core/Win32Error.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::posix {

uint32_t not_found_error(const std::string& path)
{
    auto slash = path.rfind('/');
    if (slash == std::string::npos || slash == 0)
        return error_file_not_found;

    struct stat st { };

    return stat(path.substr(0, slash).c_str(), &st) == 0 ? error_file_not_found : error_path_not_found;
}

bool write_all(int fd, const void* data, size_t size)
{
    auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t put = write(fd, bytes, size);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            if (put == 0)
                errno = EIO;
            return false;
        }
        bytes += put;
        size -= static_cast<size_t>(put);
    }
    return true;
}

int create_temp_beside(const std::string& target, unsigned mode, std::string& temp_path)
{
    static std::atomic<unsigned> counter { 0 };
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp_path = target + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(counter++);
        int fd = open(temp_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

std::string folder_of(const std::string& path)
{
    auto slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

bool make_folders(const std::string& folder)
{
    struct stat st { };

    if (stat(folder.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode);
    const std::string parent = folder_of(folder);
    if (parent != folder && parent != "." && !make_folders(parent))
        return false;
    return mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

void sync_directory_of(const std::string& path)
{
    int fd = open(folder_of(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    fsync(fd);
    close(fd);
}

}
