#pragma once

#include "platform/core/Service.h"

namespace audio {
class ActiveBuffer;
}

namespace skinner {
class Form;
}

// How the document waits while a finished recording's buffer drains into its
// file. The user interface installs its own: the completion form over the
// parent form, and the wait cursor. Without one the waits only poll.
class RecordingDrain {
public:
    virtual ~RecordingDrain() = default;

    // Returns once nothing is queued; the interface shows its completion
    // form over the parent meanwhile.
    virtual void run_completion_form(skinner::Form& parent, audio::ActiveBuffer& buffer);
    // Returns once nothing is queued; the interface shows the wait cursor meanwhile.
    virtual void wait(audio::ActiveBuffer& buffer);

    // Sleeps in steps of 10 ms while chunks are queued.
    static void poll(audio::ActiveBuffer& buffer);
};

platform::ServiceSlot<RecordingDrain>& recording_drain_slot();
