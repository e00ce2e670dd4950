#pragma once

#include <functional>

namespace os {

// What a fatal error does before anything else, to keep what must not be lost (a
// recording's file). It runs on the thread that failed, at most once; a fatal error
// inside it ends the process without it. Empty removes it.
void set_fatal_error_rescue(std::function<void()> rescue);

}
