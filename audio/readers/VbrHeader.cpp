#include "audio/readers/VbrHeader.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace audio {

namespace {

std::uint32_t big_endian(const std::uint8_t* p, int bytes)
{
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value = value << 8 | p[i];
    return value;
}

// Where the tag follows the side information, which Layer III sizes by
// version and channels.
std::size_t xing_offset(const MpegHeader& header)
{
    if (header.version == 1)
        return 4 + (header.channels == 2 ? 32 : 17);
    return 4 + (header.channels == 2 ? 17 : 9);
}

constexpr std::size_t vbri_offset = 4 + 32;

}

bool VbrHeader::read(
    const std::uint8_t* frame, std::size_t size, const MpegHeader& header, std::int64_t available)
{
    *this = {};
    if (header.layer != 3 || header.sample_rate <= 0)
        return false;
    size = std::min(size, std::size_t(std::max(header.frame_length, 0)));
    m_frame_seconds = double(header.samples_per_frame) / header.sample_rate;
    const std::uint8_t* end = frame + size;
    std::size_t at = xing_offset(header);
    if (at + 8 <= size
        && (std::memcmp(frame + at, "Xing", 4) == 0 || std::memcmp(frame + at, "Info", 4) == 0))
        return read_xing(frame + at + 4, end, available);
    if (vbri_offset + 26 <= size && std::memcmp(frame + vbri_offset, "VBRI", 4) == 0)
        return read_vbri(frame + vbri_offset + 4, end, available);
    return false;
}

bool VbrHeader::read_xing(const std::uint8_t* p, const std::uint8_t* end, std::int64_t available)
{
    std::uint32_t flags = big_endian(p, 4);
    p += 4;
    std::uint32_t frames = 0;
    if (flags & 1 && end - p >= 4) {
        frames = big_endian(p, 4);
        p += 4;
    }
    m_bytes = available;
    if (flags & 2 && end - p >= 4) {
        std::uint32_t bytes = big_endian(p, 4);
        p += 4;
        if (bytes > 0)
            m_bytes = std::min<std::int64_t>(bytes, available);
    }
    m_duration = frames * m_frame_seconds;
    if (m_duration > 0 && flags & 4 && end - p >= 100) {
        // A hundred entries: at each percent of the time, the offset in 256ths of the stream.
        for (int i = 0; i < 100; ++i)
            m_points.push_back({ m_duration * i / 100, double(p[i]) * double(m_bytes) / 256 });
    }
    finish_table();
    return true;
}

bool VbrHeader::read_vbri(const std::uint8_t* p, const std::uint8_t* end, std::int64_t available)
{
    // Version, delay and quality, then the sizes and the table's shape.
    p += 6;
    std::uint32_t bytes = big_endian(p, 4);
    std::uint32_t frames = big_endian(p + 4, 4);
    std::uint32_t entries = big_endian(p + 8, 2);
    std::uint32_t scale = big_endian(p + 10, 2);
    int entry_bytes = int(big_endian(p + 12, 2));
    std::uint32_t frames_per_entry = big_endian(p + 14, 2);
    p += 16;
    m_bytes = bytes > 0 ? std::min<std::int64_t>(bytes, available) : available;
    m_duration = frames * m_frame_seconds;
    if (m_duration > 0 && entry_bytes >= 1 && entry_bytes <= 4 && frames_per_entry > 0) {
        // Each entry is the size of the next stretch of frames.
        double offset = 0;
        for (std::uint32_t i = 0; i < entries && end - p >= entry_bytes; ++i, p += entry_bytes) {
            double seconds = double(i) * frames_per_entry * m_frame_seconds;
            if (seconds >= m_duration)
                break;
            m_points.push_back({ seconds, offset });
            offset += double(big_endian(p, entry_bytes)) * scale;
        }
    }
    finish_table();
    return true;
}

// Starts at the beginning and ends at the stream's end; offsets never go
// back nor beyond the stream, whatever a damaged table says.
void VbrHeader::finish_table()
{
    m_bytes = std::max<std::int64_t>(m_bytes, 0);
    if (m_points.empty() || m_points.front().seconds > 0)
        m_points.insert(m_points.begin(), { 0, 0 });
    // Time 0 is the stream's first byte, whatever a damaged first entry says.
    m_points.front().offset = 0;
    m_points.push_back({ m_duration, double(m_bytes) });
    double last = 0;
    for (Point& point : m_points) {
        point.offset = std::clamp(point.offset, last, double(m_bytes));
        last = point.offset;
    }
}

std::int64_t VbrHeader::offset_at(double seconds) const
{
    if (m_points.size() < 2 || m_duration <= 0)
        return 0;
    seconds = std::clamp(seconds, 0.0, m_duration);
    auto next = std::upper_bound(
        m_points.begin(), m_points.end(), seconds, [](double s, const Point& p) { return s < p.seconds; });
    if (next == m_points.end())
        return std::llround(m_points.back().offset);
    const Point& a = *(next - 1);
    const Point& b = *next;
    double span = b.seconds - a.seconds;
    double f = span > 0 ? (seconds - a.seconds) / span : 0;
    return std::llround(a.offset + f * (b.offset - a.offset));
}

double VbrHeader::time_at(std::int64_t offset) const
{
    if (m_points.size() < 2 || m_duration <= 0)
        return 0;
    double at = std::clamp(double(offset), 0.0, double(m_bytes));
    auto next = std::upper_bound(
        m_points.begin(), m_points.end(), at, [](double o, const Point& p) { return o < p.offset; });
    if (next == m_points.end())
        return m_duration;
    if (next == m_points.begin())
        return 0;
    const Point& a = *(next - 1);
    const Point& b = *next;
    double span = b.offset - a.offset;
    double f = span > 0 ? (at - a.offset) / span : 0;
    return a.seconds + f * (b.seconds - a.seconds);
}

}
