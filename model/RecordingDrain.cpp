#include "model/RecordingDrain.h"

#include "audio/devices/ActiveBuffer.h"
#include "liba/Thread.h"

void RecordingDrain::run_completion_form(skinner::Form&, audio::ActiveBuffer& buffer)
{
    poll(buffer);
}

void RecordingDrain::wait(audio::ActiveBuffer& buffer)
{
    poll(buffer);
}

void RecordingDrain::poll(audio::ActiveBuffer& buffer)
{
    while (buffer.get_queued_chunks() != 0)
        liba::sleep(10);
}

platform::ServiceSlot<RecordingDrain>& recording_drain_slot()
{
    static platform::ServiceSlot<RecordingDrain> slot(
        []() -> std::unique_ptr<RecordingDrain> { return std::make_unique<RecordingDrain>(); });
    return slot;
}
