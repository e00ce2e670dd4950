#pragma once

namespace platform {

// Ends the process at once: no destructors, no exit handlers, no flushing.
[[noreturn]] void terminate_process(int exit_code);

}
