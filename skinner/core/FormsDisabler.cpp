#include "skinner/core/FormsDisabler.h"

#include "platform/ui/WindowManager.h"
#include "skinner/core/Form.h"

#include <algorithm>

namespace skinner {

namespace {

bool is_alive(const Form* form, platform::Window window)
{
    const auto& forms = Form::forms();
    return std::ranges::find(forms, form) != forms.end() && form->window().handle() == window;
}

}

FormsDisabler::FormsDisabler(Form& form)
    : m_form(form)
{
    for (Form* other : Form::forms()) {
        const platform::Window window = other->window().handle();
        if (other == &form || other->window().is_drop_down() || !platform::is_window_enabled(window))
            continue;
        m_disabled.push_back({ other, window });
        platform::enable_window(window, false);
    }
}

FormsDisabler::~FormsDisabler()
{
    for (const Disabled& disabled : m_disabled)
        if (is_alive(disabled.form, disabled.window))
            platform::enable_window(disabled.window, true);
    Form* owner = m_form.owner();
    if (owner && platform::is_window_visible(owner->window().handle()))
        owner->window().set_foreground();
}

}
