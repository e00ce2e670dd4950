#pragma once

namespace skinner {

class Form;

// The loop of a modal form: until the form's window posts itself the close
// message, with every other form disabled while an owned form runs, and the
// form's menu bar brought up to date first.
void run_modal_loop(Form&);

// Switches the program-wide full-screen mode; on a change every form's window
// is told to place itself again (the work area changed).
void set_full_screen_mode(bool);

}
