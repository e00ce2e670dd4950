#include "platform/core/File.h"

#include "platform/core/Utf8.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

int open_flags(FileAccess access, FileCreation creation)
{
    int flags = O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
    switch (access) {
    case FileAccess::Read:
        flags |= O_RDONLY;
        break;
    case FileAccess::Write:
        flags |= O_WRONLY;
        break;
    case FileAccess::ReadWrite:
        flags |= O_RDWR;
        break;
    }
    // Never O_TRUNC here: the share lock must be held before the contents go.
    if (creation != FileCreation::OpenExisting)
        flags |= O_CREAT;
    return flags;
}

bool take_share_lock(int fd, FileAccess access)
{
    int how = (access == FileAccess::Read ? LOCK_SH : LOCK_EX) | LOCK_NB;
    int rc;
    while ((rc = flock(fd, how)) != 0 && errno == EINTR) { }
    return rc == 0;
}

}

FileHandle open_file(std::u16string_view path, FileAccess access, FileCreation creation)
{
    if (path.empty() || path.find(u'\0') != std::u16string_view::npos)
        return no_file;
    std::string name = to_utf8(path);
    int fd;
    while ((fd = open(name.c_str(), open_flags(access, creation), 0666)) < 0 && errno == EINTR) { }
    if (fd < 0)
        return no_file;
    struct stat st;
    bool usable = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && take_share_lock(fd, access);
    if (usable && creation == FileCreation::CreateAlways)
        usable = ftruncate(fd, 0) == 0;
    // O_NONBLOCK only kept a FIFO from blocking the open; regular files ignore it.
    if (usable)
        usable = fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) == 0;
    if (!usable) {
        close(fd);
        return no_file;
    }
    return fd;
}

void close_file(FileHandle file)
{
    if (file != no_file)
        close(file);
}

std::int64_t read_file(FileHandle file, void* buffer, std::size_t count)
{
    auto* out = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        ssize_t got = read(file, out + done, count - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return done ? static_cast<std::int64_t>(done) : -1;
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    return static_cast<std::int64_t>(done);
}

std::int64_t write_file(FileHandle file, const void* buffer, std::size_t count)
{
    auto* in = static_cast<const char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        ssize_t put = write(file, in + done, count - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return done ? static_cast<std::int64_t>(done) : -1;
        done += static_cast<std::size_t>(put);
    }
    return static_cast<std::int64_t>(done);
}

std::int64_t seek_file(FileHandle file, std::int64_t distance, SeekOrigin origin)
{
    int whence = origin == SeekOrigin::Begin ? SEEK_SET : origin == SeekOrigin::Current ? SEEK_CUR : SEEK_END;
    off_t pos = lseek(file, static_cast<off_t>(distance), whence);
    return pos < 0 ? -1 : static_cast<std::int64_t>(pos);
}

std::int64_t file_size(FileHandle file)
{
    struct stat st;
    if (fstat(file, &st) != 0)
        return -1;
    return static_cast<std::int64_t>(st.st_size);
}

bool set_end_of_file(FileHandle file)
{
    off_t pos = lseek(file, 0, SEEK_CUR);
    return pos >= 0 && ftruncate(file, pos) == 0;
}

bool flush_file(FileHandle file)
{
    return fsync(file) == 0;
}

}
