#include "platform/core/Process.h"

#include <unistd.h>

namespace platform {

void terminate_process(int exit_code) { _exit(exit_code); }

}
