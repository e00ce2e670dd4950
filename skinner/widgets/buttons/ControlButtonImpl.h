#pragma once

#include "skinner/widgets/buttons/ButtonClick.h"
#include "skinner/graphics/Point.h"

#include <memory>
#include <string_view>

namespace skinner {

class ControlButtonBase;

// What a button leaves to the platform: the form's title, the title bar's
// OK button, closing the form, menu-bar entries, or nothing. The plain part
// does nothing but say whether its button is painted and hit (visible) and
// may take the focus (focusable). The owner outlives its part.
class ControlButtonImpl {
public:
    ControlButtonImpl(ControlButtonBase& owner, bool visible, bool focusable)
        : m_owner(owner)
        , m_visible(visible)
        , m_focusable(focusable)
    {
    }

    virtual ~ControlButtonImpl() = default;
    ControlButtonImpl(const ControlButtonImpl&) = delete;
    ControlButtonImpl& operator=(const ControlButtonImpl&) = delete;

    // The part for the button's action; every action has one (the border,
    // corner and system-menu actions an invisible, unfocusable one).
    static std::unique_ptr<ControlButtonImpl> create(ControlButtonBase& owner);

    virtual void set_text(std::u16string_view /*text*/) { }
    virtual void set_visible(bool /*visible*/) { }
    virtual void set_enabled(bool /*enabled*/) { }
    // The owning check box's state changed.
    virtual void set_checked(bool /*checked*/, bool /*flag*/) { }
    // Runs before the button raises its click.
    virtual void on_click(const ButtonClick& /*click*/) { }
    virtual void on_pen_down(Point /*point*/, std::int32_t /*flags*/) { }
    virtual void on_pen_move(Point /*point*/) { }
    virtual void on_pen_up(Point /*point*/, std::int32_t /*flags*/) { }

    bool visible() const { return m_visible; }
    bool focusable() const { return m_focusable; }

protected:
    ControlButtonBase& owner() const { return m_owner; }

private:
    ControlButtonBase& m_owner;
    bool m_visible;
    bool m_focusable;
};

}
