#pragma once

#include <string>
#include <vector>

namespace test {

struct ToolResult {
    int exit_code = -1;      // -1 when the program could not be started
    std::string out;         // everything it wrote to stdout
};

// Runs an external program (no shell) and collects its stdout; stderr passes through.
ToolResult run_tool(const std::vector<std::string>& argv, const std::string& stdin_bytes = {});

// True when the program is on PATH; tests of reference tools skip without it.
bool have_tool(const std::string& name);

}
