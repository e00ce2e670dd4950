#pragma once

#include "liba/Nocopy.h"
#include "skinner/core/FormImpl.h"

#include <memory>

namespace skinner {

// Owns a form's window object; a base of the form so that the window exists
// before the form's container part is built.
class FormImplHolder : private liba::Nocopy {
protected:
    explicit FormImplHolder(std::unique_ptr<FormImpl> window)
        : m_window(std::move(window))
    {
    }
    ~FormImplHolder() = default;

    std::unique_ptr<FormImpl> m_window;
};

}
