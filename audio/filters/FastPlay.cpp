#include "audio/filters/FastPlay.h"

#include "liba/MutexLock.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace audio {

bool FastPlay::set_speed(double speed)
{
    if (!std::isfinite(speed) || speed <= 0)
        return false;
    liba::MutexLock lock(m_speed_lock);
    if (speed == m_speed)
        return false;
    m_speed = speed;
    m_position = 0;
    return true;
}

double FastPlay::get_speed()
{
    liba::MutexLock lock(m_speed_lock);
    return m_speed;
}

void FastPlay::restart()
{
    liba::MutexLock lock(m_speed_lock);
    m_position = 0;
}

PCMData FastPlay::resample(const PCMData& input)
{
    liba::MutexLock lock(m_speed_lock);
    double s = m_speed;
    double& p = m_position;
    if (input.is_empty() || s == 1.0 || input.bytes_per_frame() <= 0)
        return input;
    std::int32_t frames = input.get_frames();
    // A chunk without a whole frame (the odd byte at the end of a WAV's data)
    // has nothing to pick, wherever the walk stands.
    if (frames <= 0 || frames - p <= 0) {
        p -= frames;
        return PCMData(liba::SharedBuffer(), input.channels, input.bits_per_sample, input.sample_rate);
    }
    std::size_t frame_bytes = std::size_t(input.bytes_per_frame());
    // A very slow speed would ask for more than a chunk can hold.
    double limit = double(std::numeric_limits<std::int32_t>::max() / std::int64_t(frame_bytes));
    auto count = static_cast<std::int32_t>(std::min(std::trunc((frames - p - 1) / s) + 1, limit));
    liba::SharedBuffer out = m_output.take(std::size_t(count) * frame_bytes);
    std::uint8_t* to = OutputBuffer::bytes(out);
    const std::uint8_t* from = input.bytes();
    for (std::int32_t i = 0; i < count; ++i) {
        auto frame = static_cast<std::int32_t>(std::clamp(std::trunc(i * s + p), 0.0, double(frames - 1)));
        std::memcpy(to + std::size_t(i) * frame_bytes, from + std::size_t(frame) * frame_bytes, frame_bytes);
    }
    p = p + count * s - frames;
    return PCMData(out, input.channels, input.bits_per_sample, input.sample_rate);
}

void FastPlay::on_data(const PCMData& data)
{
    if (data.is_empty()) {
        push(data);
        return;
    }
    PCMData out = resample(data);
    if (!out.is_empty())
        push(out);
}

PCMData FastPlay::get_data(std::int32_t frames)
{
    for (;;) {
        double wanted;
        {
            liba::MutexLock lock(m_speed_lock);
            wanted = std::trunc(frames * m_speed + m_position);
        }
        auto request = static_cast<std::int32_t>(
            std::clamp(wanted, 1.0, double(std::numeric_limits<std::int32_t>::max())));
        PCMData chunk = pull(request);
        if (chunk.is_empty())
            return chunk;
        PCMData out = resample(chunk);
        if (!out.is_empty())
            return out;
    }
}

}
