#include "audio/filters/LevelMeter.h"

#include "audio/SampleFormat.h"

#include <algorithm>

namespace audio {

namespace {

// Readings the ring keeps: about fifteen a second of the history, and one
// more for each chunk (a chunk's last reading may cover less than a step).
constexpr std::size_t level_capacity = 2 * (LevelMeter::history_entries + 128);

template<typename Format>
double peak_of(const PCMData& input, std::int32_t from, std::int32_t to)
{
    const std::uint8_t* p = input.bytes();
    std::int32_t stride = input.bytes_per_frame();
    std::int32_t peak = 0;
    for (std::int32_t i = from; i < to; ++i)
        peak = std::max(peak, Format::load(p + std::size_t(i) * stride));
    return peak;
}

}

LevelMeter::LevelMeter()
    : m_history(history_entries)
    , m_levels(level_capacity)
{
}

// Below 15 Hz a step of 0 frames would never advance.
std::int32_t LevelMeter::step_of(std::int32_t rate) const
{
    return std::max(std::int32_t(rate / m_time_scale), std::int32_t(1));
}

double LevelMeter::now() const { return m_paused ? m_frozen : m_stopwatch.elapsed(); }

void LevelMeter::drop_oldest(bool heard)
{
    const Entry& oldest = m_history[m_oldest];
    if (heard)
        m_offset += oldest.duration;
    m_held -= oldest.duration;
    m_first_level = (m_first_level + oldest.levels) % m_levels.size();
    m_level_count -= oldest.levels;
    m_oldest = (m_oldest + 1) % m_history.size();
    --m_count;
}

LevelMeter::Entry& LevelMeter::add_entry(std::size_t levels)
{
    while (m_count > 0 && (m_count == m_history.size() || m_level_count + levels > m_levels.size()))
        drop_oldest(false);
    Entry& entry = m_history[(m_oldest + m_count) % m_history.size()];
    ++m_count;
    // A chunk of many minutes keeps the readings of its start.
    entry.levels = std::min(levels, m_levels.size() - m_level_count);
    entry.first = (m_first_level + m_level_count) % m_levels.size();
    m_level_count += entry.levels;
    return entry;
}

double& LevelMeter::level(const Entry& entry, std::size_t index)
{
    return m_levels[(entry.first + index) % m_levels.size()];
}

bool LevelMeter::expire(double now)
{
    while (m_count > 0 && now >= m_offset + m_history[m_oldest].duration)
        drop_oldest(true);
    if (m_count > 0)
        return false;
    m_held = 0;
    m_offset = 0;
    m_frozen = 0;
    m_stopwatch.restart();
    return true;
}

PCMData LevelMeter::process(const PCMData& input)
{
    expire(now());
    std::int32_t frames = input.get_frames();
    if (frames <= 0 || input.sample_rate <= 0)
        return input;
    double duration = double(frames) / input.sample_rate;
    // Audio pulled faster than it plays: the oldest is forgotten, and the
    // clock goes on from the oldest kept.
    while (m_count > 0 && m_held + duration > history_seconds)
        drop_oldest(false);
    std::int32_t step = step_of(input.sample_rate);
    Entry& entry = add_entry(std::size_t((frames + step - 1) / step));
    entry.sample_rate = input.sample_rate;
    entry.duration = duration;
    m_held += duration;
    for (std::size_t i = 0; i < entry.levels; ++i) {
        std::int32_t from = std::int32_t(i) * step;
        std::int32_t to = std::min(frames, from + step);
        level(entry, i) = input.bits_per_sample == 8 ? peak_of<Samples8>(input, from, to) / 128.0
                                                     : peak_of<Samples16>(input, from, to) / 32768.0;
    }
    return input;
}

double LevelMeter::get_level()
{
    liba::MutexLock lock(get_lock());
    double time = now();
    expire(time);
    if (m_count == 0 || m_history[m_oldest].levels == 0)
        return 0.0;
    const Entry& oldest = m_history[m_oldest];
    double index = (time - m_offset) * oldest.sample_rate / step_of(oldest.sample_rate);
    auto last = std::int64_t(oldest.levels) - 1;
    return level(oldest, std::size_t(std::clamp(std::int64_t(index), std::int64_t(0), last)));
}

void LevelMeter::set_paused(bool paused)
{
    liba::MutexLock lock(get_lock());
    if (paused == m_paused)
        return;
    m_paused = paused;
    if (paused)
        m_frozen = m_stopwatch.elapsed();
    else
        m_offset += m_stopwatch.elapsed() - m_frozen;
}

}
