#include "audio/readers/FileReaderWAVPCM.h"

#include "liba/MutexLock.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace audio {

namespace {

constexpr std::int64_t skip_step_frames = 5000;

std::int16_t from_float(double value)
{
    if (!(value == value))
        return 0;
    return static_cast<std::int16_t>(std::clamp(value * 32768.0, -32768.0, 32767.0));
}

}

FileReaderWAVPCM::FileReaderWAVPCM(const std::u16string& path)
    : FileReaderWAV(path)
{
    open_with(m_info);
    if (!m_open)
        return;
    // A file cut short, or whose size was never written, ends at its last whole frame.
    std::int64_t present = data_bytes_present();
    m_length = data_size_holds() ? present : present - present % m_info.block_align;
}

int FileReaderWAVPCM::get_bits_per_sample()
{
    liba::MutexLock lock(m_lock);
    return m_info.is_narrowed() ? 16 : m_info.bits_per_sample;
}

std::int64_t FileReaderWAVPCM::time_to_bytes(double seconds)
{
    return truncate(m_info.sample_rate * seconds) * m_info.block_align;
}

double FileReaderWAVPCM::bytes_to_time(std::int64_t bytes)
{
    if (m_info.block_align == 0 || m_info.sample_rate == 0)
        return 0;
    return double(bytes) / m_info.block_align / m_info.sample_rate;
}

std::int64_t FileReaderWAVPCM::get_length_bytes()
{
    liba::MutexLock lock(m_lock);
    return m_length;
}

std::int64_t FileReaderWAVPCM::get_position_bytes()
{
    liba::MutexLock lock(m_lock);
    if (!m_open)
        return 0;
    return static_cast<std::int64_t>(m_file.tell()) - m_info.data_offset;
}

void FileReaderWAVPCM::seek_bytes(std::int64_t bytes)
{
    liba::MutexLock lock(m_lock);
    if (!m_open)
        return;
    bytes -= bytes % m_info.block_align;
    bytes = std::clamp<std::int64_t>(bytes, 0, m_length);
    m_file.seek(static_cast<std::uint64_t>(m_info.data_offset + bytes));
}

PCMData FileReaderWAVPCM::get_data(std::int32_t frames)
{
    liba::MutexLock lock(m_lock);
    if (!m_open)
        return {};
    std::int64_t wanted
        = std::min<std::int64_t>(std::int64_t(frames) * m_info.block_align, m_length - get_position_bytes());
    if (wanted <= 0)
        return {};
    auto size = static_cast<std::size_t>(wanted);
    liba::SharedBuffer bytes = m_output.take(size);
    if (m_file.read(OutputBuffer::bytes(bytes), size) != size)
        return {};
    if (m_info.is_narrowed())
        return narrowed(bytes.data(), size);
    return PCMData(std::move(bytes), m_info.channels, m_info.bits_per_sample, m_info.sample_rate);
}

PCMData FileReaderWAVPCM::narrowed(const std::uint8_t* bytes, std::size_t size)
{
    const std::size_t frames = size / m_info.block_align;
    const std::size_t width = static_cast<std::size_t>(m_info.bits_per_sample / 8);
    const auto channels = static_cast<std::size_t>(m_info.channels);
    liba::SharedBuffer out = m_narrowed.take(frames * channels * 2);
    std::uint8_t* to = OutputBuffer::bytes(out);
    for (std::size_t frame = 0; frame < frames; ++frame) {
        for (std::size_t channel = 0; channel < channels; ++channel) {
            const std::uint8_t* sample = bytes + frame * m_info.block_align + channel * width;
            std::int16_t value;
            if (m_info.coding == 3 && width == 4) {
                float f;
                std::memcpy(&f, sample, 4);
                value = from_float(f);
            } else if (m_info.coding == 3) {
                double d;
                std::memcpy(&d, sample, 8);
                value = from_float(d);
            } else {
                // The top 16 bits of a little-endian integer: the rest is finer than 16 bits hold.
                value = static_cast<std::int16_t>(sample[width - 2] | sample[width - 1] << 8);
            }
            to[0] = static_cast<std::uint8_t>(value & 0xFF);
            to[1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
            to += 2;
        }
    }
    return PCMData(std::move(out), m_info.channels, 16, m_info.sample_rate);
}

bool FileReaderWAVPCM::skip(double seconds)
{
    return skip_bytes(time_to_bytes(seconds));
}

bool FileReaderWAVPCM::skip_bytes(std::int64_t bytes)
{
    if (!is_open())
        return false;
    std::int64_t frames = bytes / m_info.block_align;
    while (frames > 0) {
        PCMData chunk = get_data(static_cast<std::int32_t>(std::min(frames, skip_step_frames)));
        if (chunk.is_empty())
            return false;
        push(chunk);
        frames -= static_cast<std::int64_t>(chunk.size()) / m_info.block_align;
    }
    return true;
}

}
