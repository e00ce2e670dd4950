#pragma once

#include "platform/core/Service.h"

#include <string_view>

namespace platform {

// Shows a text with an OK button and returns when it is closed.
class MessageBox {
public:
    virtual ~MessageBox() = default;
    virtual void show(std::u16string_view text, std::u16string_view caption) = 0;
};

// The user interface installs its own box; until then the text goes to stderr.
ServiceSlot<MessageBox>& message_box_slot();

inline void message_box(std::u16string_view text, std::u16string_view caption)
{
    message_box_slot().get().show(text, caption);
}

}
