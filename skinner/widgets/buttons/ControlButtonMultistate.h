#pragma once

#include "skinner/widgets/buttons/ControlButton.h"

#include <cstdint>
#include <vector>

namespace skinner {

// A push button that steps through a fixed number of states, each with its
// own four looks (skin keys "State0Normal", "State1Pressed", ...). A click
// moves to the next state, wrapping to the first, before it is reported, so
// the form reads the new state in on_click.
class ControlButtonMultistate : public ControlButton {
public:
    ControlButtonMultistate(std::uint32_t state_count, Container& container, std::u16string_view name,
        ControlMode mode = ControlMode::named);

    void load() override;
    void click(const ButtonClick& click) override;
    const ButtonLookSet& get_pictures() const override;

    std::uint32_t get_state() const { return m_state; }
    // Another valid state becomes current and is shown; anything else changes nothing.
    void set_state(std::int64_t index);
    std::uint32_t state_count() const { return static_cast<std::uint32_t>(m_states.size()); }

private:
    void load_states();

    std::uint32_t m_state = 0;
    std::vector<ButtonLookSet> m_states;
};

}
