#pragma once

#include "model/RecordingDrain.h"

#include <cstdint>

namespace skinner {
class Properties;
}

// The user interface's way of waiting for a finished recording's buffer:
// the completion form over the parent, or a short poll. Neither waits for
// ever: when the writer stops taking chunks the wait ends with an error
// message, and the document closes the recording as far as it got.
class CompletionDrain : public RecordingDrain {
public:
    // The store the completion and error forms are built from (the settings skin).
    explicit CompletionDrain(skinner::Properties& properties);

    void run_completion_form(skinner::Form& parent, audio::ActiveBuffer& buffer) override;
    void wait(audio::ActiveBuffer& buffer) override;

    // Polls in steps of 10 ms; false when nothing was taken for the timeout.
    static bool poll_until_drained(audio::ActiveBuffer& buffer, std::uint32_t timeout_ms);

private:
    void report_not_drained(skinner::Form* parent);

    skinner::Properties& m_properties;
};
