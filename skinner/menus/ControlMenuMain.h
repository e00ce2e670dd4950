#pragma once

#include "skinner/core/Control.h"

namespace skinner {

class Form;

// Tells its form that it has a main menu (a menu bar); it shows nothing and
// never takes the focus. Its skin record must exist.
class ControlMenuMain : public Control {
public:
    ControlMenuMain(Form& form, std::u16string_view id);
    ~ControlMenuMain() override;

    void paint(Canvas&, Point, Size) override { }
};

}
