#include "dialogs/CompletionDrain.h"

#include "audio/devices/ActiveBuffer.h"
#include "dialogs/CompleteForm.h"
#include "dialogs/ErrorForm.h"
#include "liba/StringTranslator.h"
#include "liba/Thread.h"
#include "platform/core/Cursor.h"
#include "skinner/skin/Properties.h"

using liba::literals::operator""_key;

namespace {

constexpr std::uint32_t poll_step_ms = 10;

}

CompletionDrain::CompletionDrain(skinner::Properties& properties)
    : m_properties(properties)
{
}

void CompletionDrain::run_completion_form(skinner::Form& parent, audio::ActiveBuffer& buffer)
{
    bool drained = false;
    {
        CompleteForm form(&parent, m_properties, buffer);
        form.do_modal();
        drained = form.drained();
    }
    if (!drained)
        report_not_drained(&parent);
}

void CompletionDrain::wait(audio::ActiveBuffer& buffer)
{
    bool drained = false;
    {
        platform::ScopedCursor waiting(platform::CursorShape::wait);
        drained = poll_until_drained(buffer, CompleteForm::stall_timeout_ms);
    }
    if (!drained)
        report_not_drained(nullptr);
}

// Counts its own steps rather than reading the clock, so that a clock that
// stands still (a test's) cannot make it wait for ever.
bool CompletionDrain::poll_until_drained(audio::ActiveBuffer& buffer, std::uint32_t timeout_ms)
{
    int last = buffer.get_queued_chunks();
    std::uint32_t still_ms = 0;
    while (last != 0) {
        if (still_ms >= timeout_ms)
            return false;
        liba::sleep(poll_step_ms);
        const int queued = buffer.get_queued_chunks();
        still_ms = queued < last ? 0 : still_ms + poll_step_ms;
        last = queued;
    }
    return true;
}

void CompletionDrain::report_not_drained(skinner::Form* parent)
{
    ErrorForm form(parent, m_properties);
    form.set_texts(m_properties.translate(u"on_recording_not_drained_caption"_key),
        m_properties.translate(u"on_recording_not_drained"_key));
    form.do_modal();
}
