#include "model/RecordingSession.h"

#include "audio/filters/NullProcessor.h"
#include "audio/writers/FileWriter.h"
#include "liba/Path.h"
#include "model/RecordingDrain.h"
#include "model/SystemSound.h"

#include <utility>

using audio::PCMData;

namespace {

// A stopped recording with more than this still queued shows its progress.
constexpr int drain_form_bytes = 100000;

// Forgets a provider that is already gone: a stand-in takes its place in
// the consumer and is unlinked again.
void forget_provider(audio::Consumer<PCMData>& consumer)
{
    audio::NullProcessor<PCMData> stand_in;
    audio::connect<PCMData>(&stand_in, &consumer);
    audio::connect<PCMData>(&stand_in, nullptr);
}

}

RecordingSession::RecordingSession()
{
    audio::connect<PCMData>(&m_muter, &m_record_level);
    audio::connect<PCMData>(&m_record_level, &m_record_meter);
    audio::connect<PCMData>(&m_record_meter, &m_time_meter);
    audio::connect<PCMData>(&m_time_meter, &m_active_buffer);
}

RecordingDescription RecordingSession::describe()
{
    return { m_insert_position, m_active_buffer.get_queued_bytes(), m_active_buffer.get_queued_chunks(),
        m_record_meter.get_level(), m_record_meter.is_silent() };
}

bool RecordingSession::is_input_active()
{
    return m_record_level.get_consumer() != nullptr && !m_muter.is_muted();
}

void RecordingSession::link(std::unique_ptr<audio::RecorderPCM> recorder, std::unique_ptr<audio::RecordChain> chain)
{
    m_record_chain = std::move(chain);
    m_recorder = std::move(recorder);
    m_time_meter.reset();
    audio::connect<PCMData>(m_recorder.get(), &m_muter);
    audio::connect<PCMData>(&m_active_buffer, m_record_chain->get_input());
}

bool RecordingSession::start()
{
    play_system_sound(u"Voicbeep.wav");
    return m_recorder->start();
}

void RecordingSession::pause()
{
    audio::connect<PCMData>(&m_record_meter, nullptr);
}

void RecordingSession::resume()
{
    audio::connect<PCMData>(&m_record_meter, &m_time_meter);
}

bool RecordingSession::is_paused()
{
    return m_record_meter.get_consumer() == nullptr;
}

bool RecordingSession::is_ok()
{
    // A full disk stops the writer: the user hears of it as of a failed recorder.
    audio::FileWriter* writer = m_record_chain ? m_record_chain->get_writer() : nullptr;
    return m_recorder->is_recording() && m_active_buffer.is_buffering() && writer && writer->is_ok();
}

bool RecordingSession::finish(skinner::Form* parent)
{
    // Deleted while still linked, the recorder pushes what it captured last.
    m_recorder.reset();
    forget_provider(m_muter);
    audio::connect<PCMData>(&m_record_meter, &m_time_meter);
    if (m_active_buffer.get_queued_bytes() <= drain_form_bytes || !parent)
        recording_drain_slot().get().wait(m_active_buffer);
    else
        recording_drain_slot().get().run_completion_form(*parent, m_active_buffer);
    m_active_buffer.reset();
    audio::connect<PCMData>(&m_active_buffer, nullptr);
    const bool failed = m_record_chain && m_record_chain->get_writer() && !m_record_chain->get_writer()->is_ok();
    m_record_chain.reset();
    play_system_sound(u"RecEnd.wav");
    return failed;
}

void RecordingSession::set_insert(std::u16string target, std::int64_t position)
{
    m_insert_position = position;
    m_insert_target = std::move(target);
}

bool RecordingSession::is_file_in_use(const std::u16string& path) const
{
    if (!is_recording() || path.empty())
        return false;
    for (const std::u16string* busy : { &m_file, &m_insert_target }) {
        if (!busy->empty() && liba::is_path_under(path, *busy))
            return true;
    }
    return false;
}
