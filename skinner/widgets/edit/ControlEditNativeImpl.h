#pragma once

#include "skinner/widgets/edit/ControlEditImpl.h"
#include "skinner/core/ControlSubclass.h"

namespace skinner {

class ControlEdit;

// The Smartphone edition's edit box: the shell's own edit window over the
// control, where the device's input modes type. The edit box keeps it in
// step (rectangle, visibility, text, selection, read-only state); what the
// user types comes back as the edit box's text, and its keys reach the form.
class ControlEditNativeImpl final : public ControlEditImpl, public ControlSubclass {
public:
    explicit ControlEditNativeImpl(ControlEdit& edit);
    ~ControlEditNativeImpl() override;

    void set_input_mode(std::u16string_view mode) override;
    void set_text(std::u16string_view text) override;
    bool on_form_activate() override;
    void set_selection(std::int32_t start, std::int32_t end) override;
    void set_readonly(bool read_only) override;
    void set_visible(bool visible) override;
    void on_focus_gained() override;
    void on_focus_lost() override { }
    void set_rect(Point position, Size size) override;

    platform::LResult window_proc(platform::MessageId message, platform::WParam wparam, platform::LParam lparam,
        MessageContext& context) override;

    platform::Window edit_window() const { return m_window; }

private:
    // Watches the form's window for the edit window's change notices.
    class ControlEditParentMonitor final : public ControlSubclass {
    public:
        explicit ControlEditParentMonitor(ControlEditNativeImpl& owner)
            : m_owner(owner)
        {
        }

        platform::LResult window_proc(platform::MessageId message, platform::WParam wparam,
            platform::LParam lparam, MessageContext& context) override;

    private:
        ControlEditNativeImpl& m_owner;
    };

    void on_en_change();
    void trace_focus(bool gained, platform::Window other) const;

    ControlEdit& m_edit;
    ControlEditParentMonitor m_parent_monitor { *this };
    platform::Window m_window {};
    // Set while the window's text goes into the edit box, which then tells nothing back.
    bool m_taking_text = false;
};

}
