#include "dialogs/CompleteForm.h"

#include "audio/devices/ActiveBuffer.h"
#include "platform/core/Clock.h"

CompleteForm::CompleteForm(skinner::Form* parent, skinner::Properties& properties, audio::ActiveBuffer& buffer)
    : Form(parent, properties, u"SaveActiveBuffer")
    , m_progress(*this, u"pbProgress")
    , m_buffer(buffer)
    , m_initial_chunks(buffer.get_queued_chunks())
    , m_last_chunks(m_initial_chunks)
    , m_last_progress_tick(platform::tick_count())
{
    m_timer_id = set_timer(0.1);
}

CompleteForm::~CompleteForm()
{
    stop_timer();
}

void CompleteForm::stop_timer()
{
    if (m_timer_id != 0)
        kill_timer(m_timer_id);
    m_timer_id = 0;
}

void CompleteForm::on_timer_broadcast(std::uint32_t timer_id)
{
    if (timer_id == 0 || timer_id != m_timer_id) {
        Form::on_timer_broadcast(timer_id);
        return;
    }
    const std::int32_t queued = m_buffer.get_queued_chunks();
    m_progress.set_value_in_range(0, m_initial_chunks, m_initial_chunks - queued);
    if (queued == 0) {
        stop_timer();
        close();
        return;
    }
    const std::uint32_t now = platform::tick_count();
    if (queued < m_last_chunks) {
        m_last_chunks = queued;
        m_last_progress_tick = now;
    } else if (now - m_last_progress_tick >= stall_timeout_ms) {
        m_drained = false;
        stop_timer();
        close();
    }
}
