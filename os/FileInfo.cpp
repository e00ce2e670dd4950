#include "os/FileInfo.h"

#include "liba/Path.h"
#include "os/PathMacros.h"
#include "platform/core/FileSystem.h"
#include "platform/core/Win32Error.h"

namespace os {

namespace {

std::u16string native(std::u16string_view path)
{
    return liba::remove_trailing_separator(expand_path_macros(path));
}

}

FileInfo::FileInfo(std::u16string path)
    : m_path(std::move(path))
    , m_attributes(platform::invalid_file_attributes)
{
    platform::FileStatus status;
    m_error = platform::file_status(native(m_path), status);
    if (m_error != platform::error_success)
        return;
    m_attributes = status.attributes;
    m_size = status.size;
    m_creation_time.set_file_time(platform::local_file_time(status.creation_time));
    m_last_write_time.set_file_time(platform::local_file_time(status.last_write_time));
}

bool FileInfo::exists() const
{
    return m_attributes != platform::invalid_file_attributes;
}

bool FileInfo::is_directory() const
{
    return exists() && (m_attributes & platform::file_attribute_directory);
}

bool FileInfo::is_read_only() const
{
    return exists() && (m_attributes & platform::file_attribute_read_only);
}

bool FileInfo::is_link() const
{
    return exists() && (m_attributes & platform::file_attribute_reparse_point);
}

bool FileInfo::record(uint32_t error)
{
    m_error = error;
    return error == platform::error_success;
}

bool FileInfo::set_read_only(bool read_only)
{
    uint32_t wanted = read_only ? m_attributes | platform::file_attribute_read_only
                                : m_attributes & ~platform::file_attribute_read_only;
    if (wanted == m_attributes)
        return true;
    if (!record(platform::set_read_only(native(m_path), read_only)))
        return false;
    m_attributes = wanted;
    return true;
}

bool FileInfo::remove()
{
    if (is_directory() && !is_link())
        return record(platform::remove_directory(native(m_path)));
    return record(platform::remove_file(native(m_path)));
}

bool FileInfo::move_to(const std::u16string& new_path)
{
    return record(platform::move_file(native(m_path), native(new_path)));
}

bool FileInfo::create_directory(std::u16string_view name)
{
    return record(platform::create_directory(native(liba::join_path(m_path, name))));
}

}
