#include "platform/core/FileSystem.h"

#include "platform/core/Utf8.h"
#include "platform/core/Win32Error.h"
#include "platform/core/posix/PosixFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr int64_t ticks_per_second = 10'000'000;

uint32_t last_error()
{
    return win32_error_from_errno(errno);
}

FileTime file_time(const statx_timestamp& t)
{
    int64_t since_1970 = t.tv_sec * ticks_per_second + t.tv_nsec / 100;
    if (since_1970 < -static_cast<int64_t>(file_time_of_1970))
        return 0;
    return file_time_of_1970 + since_1970;
}

bool is_hidden(std::string_view name)
{
    return !name.empty() && name[0] == '.' && name != "." && name != "..";
}

// Describes dirfd/name (AT_FDCWD and a path work too).
uint32_t status_at(int dirfd, const char* name, std::string_view leaf, FileStatus& status)
{
    struct statx link { };

    if (statx(dirfd, name, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, STATX_BASIC_STATS | STATX_BTIME, &link)
        != 0)
        return last_error();
    uint32_t extra = 0;
    struct statx target = link;
    if (S_ISLNK(link.stx_mode)) {
        extra = file_attribute_reparse_point;
        if (statx(dirfd, name, AT_NO_AUTOMOUNT, STATX_BASIC_STATS | STATX_BTIME, &target) != 0)
            target = link;
    }
    uint32_t attributes = extra;
    if (S_ISDIR(target.stx_mode))
        attributes |= file_attribute_directory;
    if (!(target.stx_mode & S_IWUSR))
        attributes |= file_attribute_read_only;
    if (is_hidden(leaf))
        attributes |= file_attribute_hidden;
    if (attributes == 0)
        attributes = file_attribute_normal;
    status.attributes = attributes;
    status.size = S_ISDIR(target.stx_mode) ? 0 : target.stx_size;
    status.last_write_time = file_time(target.stx_mtime);
    // Not every file system keeps a birth time; the last write is the best stand-in.
    status.creation_time
        = (target.stx_mask & STATX_BTIME) ? file_time(target.stx_btime) : status.last_write_time;
    return error_success;
}

std::string_view leaf_of(std::string_view path)
{
    auto slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// Copies a regular file to a new file beside the target, then puts it in
// place without replacing anything and removes the source.
uint32_t move_by_copy(const std::string& from, const std::string& to)
{
    int in = open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (in < 0)
        return last_error();

    struct stat st { };

    if (fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(in);
        return error_not_same_device;
    }
    std::string temp;
    int out = posix::create_temp_beside(to, st.st_mode & 07777, temp);
    if (out < 0) {
        uint32_t error = last_error();
        close(in);
        return error;
    }
    uint32_t error = error_success;
    char buffer[65536];
    for (;;) {
        ssize_t got = read(in, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 || (got > 0 && !posix::write_all(out, buffer, static_cast<size_t>(got)))) {
            error = last_error();
            break;
        }
        if (got == 0)
            break;
    }
    if (error == error_success) {
        struct timespec times[2] = { st.st_atim, st.st_mtim };
        futimens(out, times);
        if (fsync(out) != 0)
            error = last_error();
    }
    if (close(out) != 0 && error == error_success)
        error = last_error();
    close(in);
    if (error == error_success
        && renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) != 0)
        error = last_error();
    if (error != error_success) {
        unlink(temp.c_str());
        return error;
    }
    posix::sync_directory_of(to);
    // As on the device, a source that cannot be removed stays; the move still happened.
    unlink(from.c_str());
    return error_success;
}

}

uint32_t file_status(std::u16string_view path, FileStatus& status)
{
    std::string native = to_utf8(path);
    uint32_t error = status_at(AT_FDCWD, native.c_str(), leaf_of(native), status);
    return error == error_file_not_found ? posix::not_found_error(native) : error;
}

uint32_t set_read_only(std::u16string_view path, bool read_only)
{
    std::string native = to_utf8(path);

    struct stat st { };

    if (stat(native.c_str(), &st) != 0)
        return last_error();
    mode_t mode = st.st_mode & 07777;
    mode = read_only ? mode & ~S_IWUSR : mode | S_IWUSR;
    return chmod(native.c_str(), mode) == 0 ? error_success : last_error();
}

uint32_t remove_file(std::u16string_view path)
{
    return unlink(to_utf8(path).c_str()) == 0 ? error_success : last_error();
}

uint32_t remove_directory(std::u16string_view path)
{
    return rmdir(to_utf8(path).c_str()) == 0 ? error_success : last_error();
}

uint32_t create_directory(std::u16string_view path)
{
    std::string native = to_utf8(path);
    if (mkdir(native.c_str(), 0777) == 0)
        return error_success;
    return errno == ENOENT ? posix::not_found_error(native) : last_error();
}

uint32_t move_file(std::u16string_view from, std::u16string_view to)
{
    std::string source = to_utf8(from), target = to_utf8(to);
    if (renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
        return error_success;
    if (errno == EXDEV)
        return move_by_copy(source, target);
    if (errno == ENOENT) {
        struct stat st { };

        return lstat(source.c_str(), &st) != 0 ? error_file_not_found : posix::not_found_error(target);
    }
    if (errno != EINVAL)
        return last_error();

    // A file system without the no-replace flag: check, then rename.
    struct stat st { };

    if (lstat(target.c_str(), &st) == 0)
        return error_already_exists;
    if (rename(source.c_str(), target.c_str()) != 0)
        return errno == EXDEV ? move_by_copy(source, target) : last_error();
    return error_success;
}

uint32_t replace_file(std::u16string_view from, std::u16string_view to)
{
    std::string source = to_utf8(from), target = to_utf8(to);
    struct stat st { };

    if (lstat(target.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char* real = realpath(target.c_str(), nullptr);
        if (!real)
            return last_error();
        target = real;
        free(real);
    }
    if (stat(target.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        return error_access_denied;
    int fd = open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return last_error();
    const bool synced = fsync(fd) == 0;
    const int sync_error = errno;
    close(fd);
    if (!synced)
        return win32_error_from_errno(sync_error);
    if (rename(source.c_str(), target.c_str()) != 0)
        return last_error();
    posix::sync_directory_of(target);
    return error_success;
}

uint32_t resolve_path(std::u16string_view path, std::u16string& resolved)
{
    char* real = realpath(to_utf8(path).c_str(), nullptr);
    if (!real)
        return last_error();
    resolved = from_utf8(real);
    free(real);
    return error_success;
}

uint32_t copy_symbolic_link(std::u16string_view from, std::u16string_view to)
{
    std::string source = to_utf8(from);

    struct stat st { };

    if (lstat(source.c_str(), &st) != 0)
        return last_error();
    if (!S_ISLNK(st.st_mode))
        return error_invalid_parameter;
    std::string link(static_cast<size_t>(st.st_size) + 1, '\0');
    ssize_t length = readlink(source.c_str(), link.data(), link.size());
    // A link that grew since lstat is caught by the full buffer.
    if (length < 0)
        return last_error();
    if (static_cast<size_t>(length) >= link.size())
        return error_invalid_parameter;
    link.resize(static_cast<size_t>(length));
    return symlink(link.c_str(), to_utf8(to).c_str()) == 0 ? error_success : last_error();
}

uint32_t free_space(std::u16string_view path, uint64_t& bytes)
{
    struct statvfs st { };

    if (statvfs(to_utf8(path).c_str(), &st) != 0)
        return last_error();
    bytes = static_cast<uint64_t>(st.f_bavail) * st.f_frsize;
    return error_success;
}

uint32_t list_directory(std::u16string_view folder, std::vector<DirectoryEntry>& entries)
{
    entries.clear();
    std::string native = folder.empty() ? "." : to_utf8(folder);
    DIR* dir = opendir(native.c_str());
    if (!dir)
        return last_error();
    int fd = dirfd(dir);
    std::vector<std::pair<std::string, DirectoryEntry>> found;
    while (dirent* entry = readdir(dir)) {
        std::string_view name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        DirectoryEntry e;
        e.name = from_utf8(name);
        FileStatus status;
        // An entry removed since readdir is simply not there any more.
        if (status_at(fd, entry->d_name, name, status) != error_success)
            continue;
        e.attributes = status.attributes;
        e.status = status;
        found.emplace_back(std::string(name), std::move(e));
    }
    closedir(dir);
    std::sort(found.begin(), found.end(), [](auto& a, auto& b) { return a.first < b.first; });
    for (auto& [key, e] : found)
        entries.push_back(std::move(e));
    return error_success;
}

FileTime local_file_time(FileTime utc_file_time)
{
    time_t seconds
        = (static_cast<int64_t>(utc_file_time) - static_cast<int64_t>(file_time_of_1970)) / ticks_per_second;

    struct tm local { };

    if (!localtime_r(&seconds, &local))
        return utc_file_time;
    int64_t shifted
        = static_cast<int64_t>(utc_file_time) + static_cast<int64_t>(local.tm_gmtoff) * ticks_per_second;
    return shifted < 0 ? 0 : static_cast<uint64_t>(shifted);
}

}
