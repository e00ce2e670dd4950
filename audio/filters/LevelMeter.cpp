#include "audio/filters/LevelMeter.h"

#include "audio/SampleFormat.h"

#include <algorithm>

namespace audio {

namespace {

template<typename Format>
void append_levels(std::vector<double>& levels, const PCMData& input, std::int32_t step, double scale)
{
    const std::uint8_t* p = input.bytes();
    std::int32_t stride = input.bytes_per_frame();
    std::int32_t frames = input.get_frames();
    for (std::int32_t start = 0; start < frames; start += step) {
        std::int32_t peak = 0;
        for (std::int32_t i = start; i < std::min(frames, start + step); ++i)
            peak = std::max(peak, Format::load(p + std::size_t(i) * stride));
        levels.push_back(peak * scale);
    }
}

}

LevelMeter::LevelMeter() = default;

// Below 15 Hz a step of 0 frames would never advance.
std::int32_t LevelMeter::step_of(std::int32_t rate) const
{
    return std::max(std::int32_t(rate / m_time_scale), std::int32_t(1));
}

double LevelMeter::now() const { return m_paused ? m_frozen : m_stopwatch.elapsed(); }

void LevelMeter::drop_oldest(bool heard)
{
    if (heard)
        m_offset += m_history[m_oldest].duration;
    m_held -= m_history[m_oldest].duration;
    m_oldest = (m_oldest + 1) % m_history.size();
    --m_count;
}

LevelMeter::Entry& LevelMeter::add_entry()
{
    if (m_count == m_history.size()) {
        // Full: grow, the oldest first again. Each new entry gets room for
        // the levels of a chunk of a second or so at once, and keeps it.
        std::rotate(m_history.begin(), m_history.begin() + std::ptrdiff_t(m_oldest), m_history.end());
        m_oldest = 0;
        m_history.resize(std::max<std::size_t>(8, m_history.size() * 2));
        for (std::size_t i = m_count; i < m_history.size(); ++i)
            m_history[i].levels.reserve(16);
    }
    Entry& entry = m_history[(m_oldest + m_count) % m_history.size()];
    ++m_count;
    entry.levels.clear();
    return entry;
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
    while (m_count > 0 && (m_held + duration > history_seconds || m_count >= history_entries))
        drop_oldest(false);
    Entry& entry = add_entry();
    entry.sample_rate = input.sample_rate;
    entry.duration = duration;
    m_held += duration;
    std::int32_t step = step_of(input.sample_rate);
    if (input.bits_per_sample == 8)
        append_levels<Samples8>(entry.levels, input, step, 1 / 128.0);
    else
        append_levels<Samples16>(entry.levels, input, step, 1 / 32768.0);
    return input;
}

double LevelMeter::get_level()
{
    liba::MutexLock lock(get_lock());
    double time = now();
    expire(time);
    if (m_count == 0 || m_history[m_oldest].levels.empty())
        return 0.0;
    const Entry& oldest = m_history[m_oldest];
    double index = (time - m_offset) * oldest.sample_rate / step_of(oldest.sample_rate);
    auto last = std::int64_t(oldest.levels.size()) - 1;
    return oldest.levels[std::size_t(std::clamp(std::int64_t(index), std::int64_t(0), last))];
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
