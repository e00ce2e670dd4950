#include "model/PlaybackPath.h"

#include "audio/readers/FileReader.h"
#include "liba/Utility.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

using audio::PCMData;

PlaybackPath::PlaybackPath()
{
    audio::connect<PCMData>(&m_fast_play, &m_stretch_filter);
    audio::connect<PCMData>(&m_stretch_filter, &m_level_filter);
    audio::connect<PCMData>(&m_level_filter, &m_level_meter);
    audio::connect<PCMData>(&m_level_meter, &m_player);
    m_player.set_position_probe([this] { return played_through(); });
}

PlaybackPath::~PlaybackPath()
{
    m_player.set_position_probe(nullptr);
    audio::connect<PCMData>(&m_level_meter, nullptr);
}

PlayPathDescription PlaybackPath::describe()
{
    const std::pair<std::string, audio::Consumer<PCMData>*> nodes[] = {
        { "eq1", &m_equalizer[0] },
        { "eq2", &m_equalizer[1] },
        { "eq3", &m_equalizer[2] },
        { "fast", &m_fast_play },
        { "stretch", &m_stretch_filter },
        { "level", &m_level_filter },
        { "meter", &m_level_meter },
        { "player", &m_player },
    };
    const std::pair<audio::Consumer<PCMData>*, audio::Provider<PCMData>*> next[] = {
        { &m_equalizer[0], &m_equalizer[0] },
        { &m_equalizer[1], &m_equalizer[1] },
        { &m_equalizer[2], &m_equalizer[2] },
        { &m_fast_play, &m_fast_play },
        { &m_stretch_filter, &m_stretch_filter },
        { &m_level_filter, &m_level_filter },
        { &m_level_meter, &m_level_meter },
    };
    PlayPathDescription description { { "null" }, m_fast_play.get_speed(), m_stretch_filter.get_factor(), -1 };
    audio::Provider<PCMData>* at = &m_null_processor;
    while (at && description.nodes.size() < 20) {
        audio::Consumer<PCMData>* consumer = at->get_consumer();
        if (!consumer)
            break;
        std::string name = "?";
        for (const auto& node : nodes) {
            if (node.second == consumer)
                name = node.first;
        }
        description.nodes.push_back(name);
        at = nullptr;
        for (const auto& link : next) {
            if (link.first == consumer)
                at = link.second;
        }
    }
    if (auto* r = reader())
        description.read_position = r->get_position_bytes();
    return description;
}

bool PlaybackPath::set_speed(double fast, std::int32_t factor)
{
    m_stretch_filter.set_factor(factor);
    return m_fast_play.set_speed(fast);
}

void PlaybackPath::apply_equalizer(const std::array<EqualizerBand, 3>& bands)
{
    audio::Provider<PCMData>* running = &m_null_processor;
    for (std::size_t i = 0; i < std::size(m_equalizer); ++i) {
        const EqualizerBand& band = bands[i];
        if (!band.active)
            continue;
        m_equalizer[i].set_gain(band.gain);
        m_equalizer[i].set_frequency(band.frequency);
        m_equalizer[i].set_bandwidth(band.width);
        // A band linked in again must not play what it held when it left.
        if (!m_equalizer[i].get_provider())
            m_equalizer[i].restart();
        audio::connect<PCMData>(running, &m_equalizer[i]);
        running = &m_equalizer[i];
    }
    audio::connect<PCMData>(running, &m_fast_play);
}

void PlaybackPath::set_level_curve(std::int32_t booster, std::int32_t noise, std::int32_t limiter)
{
    liba::MutexLock lock(m_level_filter.get_lock());
    m_level_filter.reset();
    m_level_filter.set_curve(booster, noise, limiter);
}

audio::FileReader* PlaybackPath::reader() const
{
    return m_play_chain ? m_play_chain->get_reader() : nullptr;
}

bool PlaybackPath::has_pcm_output() const
{
    return m_play_chain && m_play_chain->has_pcm_output();
}

bool PlaybackPath::start(bool follow_on)
{
    if (has_pcm_output()) {
        {
            liba::MutexLock lock(m_player.get_lock());
            audio::connect<PCMData>(m_play_chain->get_output(), &m_null_processor);
            m_heard_chain = m_play_chain.get();
            if (follow_on)
                m_player.restart_positions();
            else
                restart_play_path();
        }
        return m_player.play();
    }
    m_play_chain->set_paused(false);
    return true;
}

void PlaybackPath::unlink_play_chain()
{
    if (!m_play_chain)
        return;
    {
        liba::MutexLock lock(m_player.get_lock());
        m_heard_chain = nullptr;
        audio::connect<PCMData>(m_play_chain->get_output(), nullptr);
    }
    m_play_chain.reset();
}

void PlaybackPath::restart_play_path()
{
    liba::MutexLock lock(m_player.get_lock());
    if (m_heard_chain)
        m_heard_chain->drop_held();
    for (auto& band : m_equalizer)
        band.restart();
    m_fast_play.restart();
    m_stretch_filter.restart();
    m_level_filter.restart();
    m_player.flush();
    m_player.restart_positions();
}

audio::PlayerPCM::StreamPoint PlaybackPath::played_through()
{
    const double speed = m_fast_play.get_speed();
    const double pace = speed / m_stretch_filter.get_factor();
    if (!m_heard_chain)
        return { std::nan(""), pace };
    double held = m_heard_chain->get_held_seconds();
    for (auto& band : m_equalizer) {
        if (band.get_provider())
            held += band.held_seconds();
    }
    // Past fast play and the stretch, audio runs at their pace, not the file's.
    held += speed * m_stretch_filter.held_seconds();
    held += pace * m_level_filter.held_seconds();
    return { m_heard_chain->get_reader()->get_position() - held, pace };
}

double PlaybackPath::heard_seconds(audio::FileReader& r)
{
    const double length = r.get_length();
    double heard = has_pcm_output() ? m_player.get_heard_position() : std::nan("");
    if (std::isnan(heard))
        heard = r.get_position();
    return liba::clamp(heard, 0.0, std::max(length, 0.0));
}

// The reader's own position less what the play path holds, so that units
// that do not count time evenly (a VBR table) stay exact where nothing is held.
std::int64_t PlaybackPath::heard_bytes(audio::FileReader& r)
{
    const std::int64_t position = r.get_position_bytes();
    const double read = r.bytes_to_time(position);
    const double heard = heard_seconds(r);
    if (heard >= read)
        return position;
    const std::int64_t held = r.time_to_bytes(read) - r.time_to_bytes(heard);
    return std::max<std::int64_t>(0, position - std::max<std::int64_t>(held, 0));
}

bool PlaybackPath::skip(double seconds)
{
    auto* r = reader();
    if (!r || !std::isfinite(seconds))
        return false;
    liba::MutexLock lock(m_player.get_lock());
    r->seek(liba::clamp(heard_seconds(*r) + seconds, 0.0, r->get_length()));
    restart_play_path();
    return true;
}

bool PlaybackPath::seek(double fraction)
{
    auto* r = reader();
    if (!r || std::isnan(fraction))
        return false;
    liba::MutexLock lock(m_player.get_lock());
    r->seek_bytes(static_cast<std::int64_t>(double(r->get_length_bytes()) * liba::clamp(fraction, 0.0, 1.0)));
    restart_play_path();
    return true;
}

bool PlaybackPath::pause()
{
    if (has_pcm_output())
        return m_player.pause();
    m_play_chain->set_paused(true);
    return true;
}

bool PlaybackPath::resume()
{
    if (has_pcm_output())
        return m_player.play();
    m_play_chain->set_paused(false);
    return true;
}

bool PlaybackPath::is_paused()
{
    return has_pcm_output() ? m_player.is_paused() : m_play_chain->is_paused();
}

void PlaybackPath::stop()
{
    unlink_play_chain();
    {
        liba::MutexLock lock(m_level_meter.get_lock());
        m_level_meter.expire(std::numeric_limits<double>::infinity());
    }
    m_player.stop();
}

bool PlaybackPath::is_ok()
{
    return reader() && reader()->is_open() && !m_player.has_failed();
}
