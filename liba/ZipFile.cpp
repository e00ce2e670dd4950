#include "liba/ZipFile.h"

#include "liba/Conversion.h"
#include "liba/Path.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace liba {

namespace {

constexpr std::uint32_t local_header_signature = 0x04034B50;
constexpr std::uint16_t method_stored = 0;
constexpr std::uint16_t flag_data_descriptor = 1 << 3;

}

ZipFile::ZipFile(std::unique_ptr<ResourceReader> archive)
    : m_archive(std::move(archive))
{
    if (!m_archive->is_ok())
        ErrorBase::add_error(m_archive->errors().front());
}

void ZipFile::forget_member()
{
    m_member_position = 0;
    m_member_data_offset = 0;
    m_member_size = 0;
}

std::uint32_t ZipFile::read_u32()
{
    unsigned char b[4];
    if (m_archive->read(b, 4) != 4)
        return 0;
    return b[0] | b[1] << 8 | b[2] << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}

std::uint16_t ZipFile::read_u16()
{
    unsigned char b[2];
    if (m_archive->read(b, 2) != 2)
        return 0;
    return static_cast<std::uint16_t>(b[0] | b[1] << 8);
}

std::u16string ZipFile::next_entry()
{
    forget_member();
    std::uint64_t header = m_next_header;
    if (!m_archive->seek(header) || read_u32() != local_header_signature)
        return {};
    read_u16(); // version needed
    std::uint16_t flags = read_u16();
    std::uint16_t method = read_u16();
    if (m_archive->skip(8) != 8) // time, date, CRC-32
        return {};
    std::uint32_t compressed_size = read_u32();
    std::uint32_t size = read_u32();
    std::uint16_t name_length = read_u16();
    std::uint16_t extra_length = read_u16();
    std::vector<char> name(name_length);
    if (m_archive->read(name.data(), name_length) != name_length)
        return {};
    if (m_archive->skip(extra_length) != extra_length)
        return {};
    // Only stored data can be read, and only when the header gives its size.
    if (method != method_stored || compressed_size != size)
        return {};
    if ((flags & flag_data_descriptor) && size == 0)
        return {};
    std::uint64_t data_offset = m_archive->tell();
    std::uint64_t next_header = data_offset + size;
    // The name ends at its first zero byte; an empty one cannot be told from the end of the walk.
    std::u16string text
        = to_wide(std::string_view(name.data(), std::find(name.begin(), name.end(), '\0') - name.begin()));
    if (text.empty() || next_header <= header)
        return {};
    m_next_header = next_header;
    m_member_data_offset = data_offset;
    m_member_size = size;
    return text;
}

bool ZipFile::open_entry(std::u16string_view name)
{
    m_next_header = 0;
    for (;;) {
        std::u16string entry = next_entry();
        if (entry.empty())
            return false;
        if (names_equal(entry, name))
            return true;
    }
}

std::size_t ZipFile::read(void* buffer, std::size_t count)
{
    std::uint64_t left = m_member_size - m_member_position;
    std::size_t got = m_archive->read(buffer, static_cast<std::size_t>(std::min<std::uint64_t>(count, left)));
    m_member_position += got;
    return got;
}

std::int64_t ZipFile::skip(std::int64_t distance)
{
    auto forward = static_cast<std::int64_t>(m_member_size - m_member_position);
    auto backward = -static_cast<std::int64_t>(m_member_position);
    std::int64_t moved = m_archive->skip(std::clamp(distance, backward, forward));
    m_member_position = static_cast<std::uint64_t>(static_cast<std::int64_t>(m_member_position) + moved);
    return moved;
}

std::uint64_t ZipFile::size()
{
    return m_member_size;
}

bool ZipFile::seek(std::uint64_t position)
{
    m_member_position = std::min(position, m_member_size);
    return m_archive->seek(m_member_data_offset + m_member_position);
}

std::uint64_t ZipFile::tell()
{
    return m_member_position;
}

std::uint64_t ZipFile::data_offset() const
{
    return m_member_data_offset;
}

std::size_t ZipFile::write(const void*, std::size_t)
{
    return 0;
}

}
