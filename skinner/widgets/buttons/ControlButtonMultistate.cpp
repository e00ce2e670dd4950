#include "skinner/widgets/buttons/ControlButtonMultistate.h"

#include "liba/Conversion.h"

#include <string>

namespace skinner {

ControlButtonMultistate::ControlButtonMultistate(
    std::uint32_t state_count, Container& container, std::u16string_view name, ControlMode mode)
    : ControlButton(container, name, mode)
    , m_states(state_count)
{
    load_states();
}

void ControlButtonMultistate::load()
{
    ControlButton::load();
    load_states();
}

void ControlButtonMultistate::load_states()
{
    for (std::size_t i = 0; i < m_states.size(); ++i) {
        m_states[i].load(*this, u"State" + liba::number_text(static_cast<std::int64_t>(i)));
    }
}

void ControlButtonMultistate::click(const ButtonClick& click)
{
    if (!m_states.empty())
        m_state = (m_state + 1) % state_count();
    ControlButton::click(click);
}

const ButtonLookSet& ControlButtonMultistate::get_pictures() const
{
    // With no states at all the button's own looks stand in.
    if (m_states.empty())
        return ControlButton::get_pictures();
    return m_states[m_state];
}

void ControlButtonMultistate::set_state(std::int64_t index)
{
    if (index < 0 || index >= static_cast<std::int64_t>(m_states.size()) || index == m_state)
        return;
    m_state = static_cast<std::uint32_t>(index);
    invalidate();
}

}
