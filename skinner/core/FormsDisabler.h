#pragma once

#include "platform/core/Message.h"

#include <vector>

namespace skinner {

class Form;

// Disables the windows of every other form while a form runs modally, and
// enables them again when it ends. Drop-down forms and windows that were
// disabled already are left alone.
class FormsDisabler {
public:
    explicit FormsDisabler(Form& form);
    // Enables what it disabled (forms deleted meanwhile excepted), then brings
    // the form's owner to the front when its window is visible.
    ~FormsDisabler();
    FormsDisabler(const FormsDisabler&) = delete;
    FormsDisabler& operator=(const FormsDisabler&) = delete;

private:
    struct Disabled {
        Form* form; // not owned
        platform::Window window; // tells a deleted form from a new one at its address
    };

    Form& m_form;
    std::vector<Disabled> m_disabled;
};

}
