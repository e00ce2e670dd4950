#pragma once

#include "skinner/widgets/progress/ControlProgress.h"
#include "skinner/core/Form.h"

#include <cstdint>

namespace audio {
class ActiveBuffer;
}

// Shows how far a finished recording's buffer has drained into its file and
// closes once it is empty. A writer that takes nothing for a while (a full
// disk, a dead device) ends the wait: the form closes and says so through
// drained(), so that nobody waits for ever.
class CompleteForm : public skinner::Form {
public:
    // How long the queue may stand still before the wait is given up.
    static constexpr std::uint32_t stall_timeout_ms = 10000;

    CompleteForm(skinner::Form* parent, skinner::Properties& properties, audio::ActiveBuffer& buffer);
    ~CompleteForm() override;

    // False once the wait was given up with chunks still queued.
    bool drained() const { return m_drained; }

    void on_timer_broadcast(std::uint32_t timer_id) override;

private:
    void stop_timer();

    skinner::ControlProgress m_progress;
    std::uint32_t m_timer_id = 0;
    audio::ActiveBuffer& m_buffer;
    std::int32_t m_initial_chunks;
    std::int32_t m_last_chunks;
    std::uint32_t m_last_progress_tick;
    bool m_drained = true;
};
