#pragma once

#include <string_view>

namespace platform {

// Shows a text with an OK button and returns when it is closed. The user
// interface installs its own box; until then the text goes to stderr.
void message_box(std::u16string_view text, std::u16string_view caption);

using MessageBoxHook = void (*)(std::u16string_view text, std::u16string_view caption);
// nullptr goes back to stderr.
void set_message_box_hook(MessageBoxHook hook);

}
