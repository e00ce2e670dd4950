#pragma once

#include "skinner/core/Form.h"

namespace skinner {

// The borderless drop-down window of a combo box: a form over a plain window
// that floats above every form and keeps the pen capture for its whole life.
// A press outside it or losing the capture to another window closes it; its
// close ends only its own loop (run_message_loop on its window).
class FormCombo : public Form {
public:
    // At the position in the owner's client coordinates, of the size.
    FormCombo(Form& owner, Properties& properties, std::u16string_view name, Listener* listener, Point position,
        Size size);

    bool can_close() override;

private:
    static std::unique_ptr<FormImpl> make_window(Form& owner, Point position, Size size);
};

}
