#include "audio/readers/WAVInfo.h"

#include "os/File.h"

#include <cstring>

namespace audio {

namespace {

constexpr std::int64_t fmt_fields_start = 20; // after "RIFF", its size, "WAVE", "fmt " and its size

}

bool WAVInfo::read(os::File& file)
{
    return read_fmt(file) && read_extension(file) && find_data(file);
}

bool WAVInfo::write(os::File& file)
{
    return write_fmt(file) && write_extension(file) && write_data_header(file);
}

bool WAVInfo::read_extension(os::File&)
{
    return true;
}

bool WAVInfo::write_extension(os::File&)
{
    return true;
}

bool WAVInfo::read_fmt(os::File& file)
{
    if (!file.is_ok())
        return false;
    std::uint16_t tag, chans, align, bits;
    std::uint32_t rate;
    if (!expect_id(file, "RIFF") || !read_u32(file, riff_size) || !expect_id(file, "WAVE")
        || !expect_id(file, "fmt ") || !read_u32(file, fmt_size) || !read_u16(file, tag)
        || !read_u16(file, chans) || !read_u32(file, rate) || !read_u32(file, avg_bytes_per_sec)
        || !read_u16(file, align) || !read_u16(file, bits))
        return false;
    format_tag = tag;
    channels = chans;
    sample_rate = static_cast<std::int32_t>(rate);
    block_align = align;
    bits_per_sample = bits;
    return true;
}

bool WAVInfo::write_fmt(os::File& file)
{
    return write_id(file, "RIFF") && write_u32(file, riff_size) && write_id(file, "WAVE")
        && write_id(file, "fmt ") && write_u32(file, fmt_size) && write_u16(file, format_tag)
        && write_u16(file, static_cast<std::uint16_t>(channels))
        && write_u32(file, static_cast<std::uint32_t>(sample_rate)) && write_u32(file, avg_bytes_per_sec)
        && write_u16(file, block_align) && write_u16(file, static_cast<std::uint16_t>(bits_per_sample));
}

bool WAVInfo::find_data(os::File& file)
{
    if (!find_chunk(file, "data", data_size))
        return false;
    data_offset = static_cast<std::int64_t>(file.tell());
    return true;
}

bool WAVInfo::write_data_header(os::File& file)
{
    return write_id(file, "data") && write_u32(file, data_size);
}

bool WAVInfo::data_size_holds(std::uint64_t file_size) const
{
    return data_size != 0 && data_offset >= 0 && std::uint64_t(data_offset) + data_size <= file_size;
}

std::int64_t WAVInfo::data_bytes_in(std::uint64_t file_size) const
{
    if (data_size_holds(file_size))
        return data_size;
    auto end = static_cast<std::int64_t>(file_size);
    return end > data_offset ? end - data_offset : 0;
}

bool WAVInfo::expect_id(os::File& file, const char id[4])
{
    char got[4];
    return file.read(got, 4) == 4 && std::memcmp(got, id, 4) == 0;
}

bool WAVInfo::find_chunk(os::File& file, const char id[4], std::uint32_t& size)
{
    return find_chunk_before(file, id, nullptr, size) == Walk::found;
}

WAVInfo::Walk WAVInfo::find_chunk_before(
    os::File& file, const char id[4], const char stop[4], std::uint32_t& size)
{
    std::uint64_t file_size = file.size();
    for (;;) {
        char got[4];
        if (file.read(got, 4) != 4 || !read_u32(file, size))
            return Walk::failed;
        if (std::memcmp(got, id, 4) == 0)
            return Walk::found;
        if (stop && std::memcmp(got, stop, 4) == 0)
            return file.seek(file.tell() - 8) ? Walk::stopped : Walk::failed;
        std::uint64_t next = file.tell() + size;
        if (next >= file_size)
            return Walk::failed;
        // RIFF pads an odd chunk with a zero byte, though not every writer
        // does: an identifier never starts with zero, so the byte tells.
        if (size % 2 == 1) {
            std::uint8_t pad = 1;
            if (file.seek(next) && file.read(&pad, 1) == 1 && pad == 0)
                ++next;
        }
        if (!file.seek(next))
            return Walk::failed;
    }
}

bool WAVInfo::skip_rest_of_fmt(os::File& file)
{
    // Some writers give "fmt " more bytes than its format needs (a PCM chunk of
    // 18 bytes, say); the chunk walk has to start after them.
    std::int64_t fmt_end = fmt_fields_start + static_cast<std::int64_t>(fmt_size);
    if (static_cast<std::int64_t>(file.tell()) >= fmt_end)
        return true;
    return file.seek(static_cast<std::uint64_t>(fmt_end));
}

bool WAVInfo::read_fact(os::File& file, std::uint32_t& samples, bool& present)
{
    std::uint32_t size;
    Walk walk = find_chunk_before(file, "fact", "data", size);
    present = walk == Walk::found;
    samples = 0;
    if (!present)
        return walk == Walk::stopped;
    std::uint64_t end = file.tell() + size;
    if (!read_u32(file, samples))
        return false;
    return file.tell() >= end || file.seek(end);
}

bool WAVInfo::write_fact(os::File& file, std::uint32_t samples)
{
    return write_id(file, "fact") && write_u32(file, 4) && write_u32(file, samples);
}

bool WAVInfo::read_u16(os::File& file, std::uint16_t& value)
{
    std::uint8_t b[2];
    if (file.read(b, 2) != 2)
        return false;
    value = static_cast<std::uint16_t>(b[0] | b[1] << 8);
    return true;
}

bool WAVInfo::read_u32(os::File& file, std::uint32_t& value)
{
    std::uint8_t b[4];
    if (file.read(b, 4) != 4)
        return false;
    value = std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16
        | std::uint32_t(b[3]) << 24;
    return true;
}

bool WAVInfo::write_u16(os::File& file, std::uint16_t value)
{
    std::uint8_t b[2] = { std::uint8_t(value), std::uint8_t(value >> 8) };
    return file.write(b, 2) == 2;
}

bool WAVInfo::write_u32(os::File& file, std::uint32_t value)
{
    std::uint8_t b[4] = { std::uint8_t(value), std::uint8_t(value >> 8), std::uint8_t(value >> 16),
        std::uint8_t(value >> 24) };
    return file.write(b, 4) == 4;
}

bool WAVInfo::write_id(os::File& file, const char id[4])
{
    return file.write(id, 4) == 4;
}

}
