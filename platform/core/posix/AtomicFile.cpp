#include "platform/core/AtomicFile.h"

#include "platform/core/Utf8.h"
#include "platform/core/Win32Error.h"
#include "platform/core/posix/PosixFile.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

uint32_t write_file_atomically(std::u16string_view path, std::string_view bytes, unsigned new_file_mode)
{
    std::string target = to_utf8(path);
    unsigned mode = new_file_mode;
    bool exists = false;

    struct stat st { };

    if (lstat(target.c_str(), &st) == 0) {
        if (S_ISLNK(st.st_mode)) {
            char resolved[PATH_MAX];
            if (!realpath(target.c_str(), resolved))
                return win32_error_from_errno(errno);
            target = resolved;
            if (stat(target.c_str(), &st) != 0)
                return win32_error_from_errno(errno);
        }
        if (S_ISDIR(st.st_mode) || !(st.st_mode & S_IWUSR))
            return error_access_denied;
        mode = st.st_mode & 07777;
        exists = true;
    }
    std::string temp;
    int fd = posix::create_temp_beside(target, mode, temp);
    if (fd < 0)
        return errno == ENOENT ? posix::not_found_error(target) : win32_error_from_errno(errno);
    int error = 0;
    if (exists && fchmod(fd, mode) != 0)
        error = errno;
    if (!error && !posix::write_all(fd, bytes.data(), bytes.size()))
        error = errno;
    if (!error && fsync(fd) != 0)
        error = errno;
    if (close(fd) != 0 && !error)
        error = errno;
    if (!error && rename(temp.c_str(), target.c_str()) != 0)
        error = errno;
    if (error) {
        unlink(temp.c_str());
        return win32_error_from_errno(error);
    }
    posix::sync_directory_of(target);
    return error_success;
}

}
