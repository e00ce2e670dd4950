#include "os/File.h"

#include "os/PathMacros.h"

#include <limits>

namespace os {

namespace {

constexpr auto max_position = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());

}

File::File(std::u16string_view path, Mode mode)
{
    using platform::FileAccess;
    using platform::FileCreation;
    std::u16string expanded = expand_path_macros(path);
    switch (mode) {
    case Mode::read:
        m_handle = platform::open_file(expanded, FileAccess::Read, FileCreation::OpenExisting);
        break;
    case Mode::write:
        m_handle = platform::open_file(expanded, FileAccess::Write, FileCreation::CreateAlways);
        break;
    case Mode::append:
        m_handle = platform::open_file(expanded, FileAccess::Write, FileCreation::OpenAlways);
        if (m_handle != platform::no_file && platform::seek_file(m_handle, 0, platform::SeekOrigin::End) < 0)
            close();
        break;
    default:
        m_handle = platform::open_file(expanded, FileAccess::ReadWrite, FileCreation::OpenAlways);
        break;
    }
    // Recorded directly: a subclass's add_error is not in place yet.
    if (m_handle == platform::no_file)
        ErrorBase::add_error(u"can't open file");
}

File::~File()
{
    close();
}

std::size_t File::read(void* buffer, std::size_t count)
{
    if (!is_ok() || count == 0)
        return 0;
    std::int64_t got = platform::read_file(m_handle, buffer, count);
    return got < 0 ? 0 : static_cast<std::size_t>(got);
}

std::size_t File::write(const void* buffer, std::size_t count)
{
    if (!is_ok() || count == 0)
        return 0;
    std::int64_t put = platform::write_file(m_handle, buffer, count);
    return put < 0 ? 0 : static_cast<std::size_t>(put);
}

std::int64_t File::skip(std::int64_t distance)
{
    if (!is_ok() || distance == 0)
        return 0;
    std::int64_t old_position = platform::seek_file(m_handle, 0, platform::SeekOrigin::Current);
    if (old_position < 0)
        return 0;
    std::int64_t new_position = platform::seek_file(m_handle, distance, platform::SeekOrigin::Current);
    if (new_position < 0)
        return 0;
    return new_position - old_position;
}

std::uint64_t File::size()
{
    if (!is_ok())
        return 0;
    std::int64_t size = platform::file_size(m_handle);
    return size < 0 ? 0 : static_cast<std::uint64_t>(size);
}

bool File::seek(std::uint64_t position)
{
    if (!is_ok() || position > max_position)
        return false;
    return platform::seek_file(m_handle, static_cast<std::int64_t>(position), platform::SeekOrigin::Begin)
        >= 0;
}

std::uint64_t File::tell()
{
    if (!is_ok())
        return 0;
    std::int64_t position = platform::seek_file(m_handle, 0, platform::SeekOrigin::Current);
    return position < 0 ? 0 : static_cast<std::uint64_t>(position);
}

bool File::truncate(std::uint64_t length)
{
    return seek(length) && platform::set_end_of_file(m_handle);
}

bool File::flush()
{
    return is_ok() && platform::flush_file(m_handle);
}

void File::close()
{
    platform::close_file(m_handle);
    m_handle = platform::no_file;
}

}
