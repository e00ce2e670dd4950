#pragma once

#include "skinner/widgets/buttons/ButtonAction.h"
#include "skinner/widgets/buttons/ButtonClick.h"
#include "skinner/widgets/buttons/ButtonLookSet.h"
#include "skinner/core/Control.h"
#include "skinner/widgets/buttons/ControlButtonImpl.h"
#include "skinner/core/Pushable.h"

#include <memory>
#include <string>

namespace skinner {

// The base of everything that clicks: draws one of four looks by its state
// with a text inside inset borders, and turns the pen, the action key, the
// form's default and cancel keys and a command named like its id into one
// click. Three press sources are kept apart; a click comes when the last of
// them lets go, never while another still holds. A disabled button never
// clicks. Platform duties go to its platform part, which a derived class
// makes; without one the button is neither painted, hit nor focused.
class ControlButtonBase : public Control, public Pushable {
public:
    ControlButtonBase(Container& container, std::u16string_view name, ControlMode mode = ControlMode::named);
    ~ControlButtonBase() override;

    bool on_command(std::u16string_view command) override;
    bool wants_focus() const override;
    void on_focus_gained() override;
    void on_focus_lost() override;
    void on_visible_changed(bool visible) override;
    void on_enabled_changed(bool enabled) override;
    void paint(Canvas& canvas, Point area_position, Size area_size) override;
    bool hit_test(Point point) const override;
    void on_pen_move(Point point) override;
    void on_pen_down(Point point, std::int32_t argument) override;
    void on_pen_up(Point point, std::int32_t argument) override;
    bool on_keydown(KeyCode key) override;
    bool on_keyup(KeyCode key) override;
    void load() override;

    // Shows another text; the same text changes nothing.
    virtual void set_text(std::u16string_view text);
    // Tells the platform part, then raises on_click with this button as sender.
    virtual void click(const ButtonClick& click);
    // The looks to draw from.
    virtual const ButtonLookSet& get_pictures() const { return m_looks; }

    // Clicks at the centre with flags 0; false (and no click) when disabled.
    bool click_at_centre();
    // The form holds the button down (true) or lets it go (false).
    void set_pushed(bool pushed) override;

    const std::u16string& text() const { return m_text; }
    ButtonAction action() const { return m_action; }
    std::int32_t h_alignment() const { return m_h_alignment; }
    std::int32_t v_alignment() const { return m_v_alignment; }
    Point border_min() const { return m_border_min; }
    Point border_max() const { return m_border_max; }
    bool is_pressed() const { return m_pen_pressed || m_key_pressed || m_pushed; }
    // The look that the button's state chooses from get_pictures().
    const ButtonLook& current_look() const;
    ControlButtonImpl* impl() const { return m_impl.get(); }

protected:
    // Borders, looks, text, alignments and action, from the skin.
    void load_properties();
    // Replaces the platform part (null for none).
    void set_impl(std::unique_ptr<ControlButtonImpl> impl);
    // Stores the text without telling anyone.
    void store_text(std::u16string text) { m_text = std::move(text); }

private:
    bool impl_visible() const { return m_impl && m_impl->visible(); }

    Point m_border_min {};
    Point m_border_max {};
    std::unique_ptr<ControlButtonImpl> m_impl;
    ButtonAction m_action = ButtonAction::nothing;
    ButtonLookSet m_looks;
    std::int32_t m_h_alignment = 1;
    std::int32_t m_v_alignment = 1;
    bool m_pen_pressed = false;
    bool m_key_pressed = false;
    bool m_pushed = false;
    std::u16string m_text;
};

}
