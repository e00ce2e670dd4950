#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace bench {

// Starts a program with the variables ("NAME=value") laid over this process's
// environment, its output thrown away; 0 on failure.
pid_t spawn_quiet(const std::vector<std::string>& argv, const std::vector<std::string>& variables);

}
