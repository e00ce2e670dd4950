#pragma once

#include "platform/core/Message.h"

namespace skinner {

// The program key code of the action key (the mapped Enter key).
inline constexpr int action_key = 9;

// Translates and dispatches one message. False for the close message that a
// form's window posts itself (platform::msg::form_close), true otherwise. On
// the Pocket PC edition a key press is then handed to its window once more as
// platform::msg::user_key: the virtual key, and the character it made (0 when
// none, or below 32).
bool process_message(const platform::Message&);

// Runs the messages of the thread until the close message of the window is
// processed, the window is gone or the quit message comes (which is posted
// again, so that the loops around this one end too). A close message of
// another window never ends this loop: it is kept for that window's loop.
void run_message_loop(platform::Window);

// For a window whose loop runs with other loops inside it (forms opened over
// it): ends those first, innermost first, each through the close message of
// its window, then closes the window the same way; a loop that starts while
// this goes on is closed at once. False, doing nothing, when the window's
// loop is the innermost one or it has none.
bool close_inner_loops_first(platform::Window);

// Runs what is queued, without waiting, until the queue is empty or a close
// message was processed; keeps the screen alive during long work.
void process_pending_messages();

}
