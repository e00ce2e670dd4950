#pragma once

namespace skinner {

// What a form's Enter and Escape keys hold down: its default and cancel buttons.
class Pushable {
public:
    virtual void set_pushed(bool pushed) = 0;

protected:
    ~Pushable() = default;
};

}
