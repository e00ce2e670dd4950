#pragma once

#include "skinner/graphics/Point.h"
#include "skinner/graphics/Size.h"

#include <cstdint>
#include <memory>
#include <string_view>

namespace skinner {

class ControlEdit;

// The platform part behind an edit box. This one is the drawn part: it does
// nothing, and the edit box draws, hit-tests and takes pen, key, text and
// timer input itself. A native part (an edit window over the control) says
// drawn() false and takes over painting and input; the edit box forwards
// every change of its state to it as it happens.
class ControlEditImpl {
public:
    ControlEditImpl() = default;
    ControlEditImpl(const ControlEditImpl&) = delete;
    ControlEditImpl& operator=(const ControlEditImpl&) = delete;
    virtual ~ControlEditImpl() = default;

    virtual void set_input_mode(std::u16string_view /*mode*/) { }

    virtual void set_text(std::u16string_view /*text*/) { }

    // Whether it took the focus.
    virtual bool on_form_activate() { return false; }

    virtual void set_selection(std::int32_t /*start*/, std::int32_t /*end*/) { }

    virtual void set_readonly(bool /*read_only*/) { }

    virtual void set_visible(bool /*visible*/) { }

    virtual void on_focus_gained() { }

    virtual void on_focus_lost() { }

    virtual void set_rect(Point /*position*/, Size /*size*/) { }

    bool drawn() const { return m_drawn; }

protected:
    explicit ControlEditImpl(bool drawn)
        : m_drawn(drawn)
    {
    }

private:
    bool m_drawn = true;
};

// The edition's part for the edit box: the drawn one on Pocket PC.
std::unique_ptr<ControlEditImpl> create_edit_impl(ControlEdit& edit);

}
