#pragma once

#include <string_view>

// The program's life on the GUI thread: hands the command line to a running
// copy, or builds the document, the skin and the main form, acts on the
// command line, runs the form until it closes and takes everything down.
// The caller installs the display and the audio driver first.
class Startup {
public:
    static constexpr std::u16string_view skin_version = u"Orvanta_500";

    // When the program cannot start (no usable skin): not 0, which would tell success.
    static constexpr int failure_exit_code = 1;

    // The program's exit code: 0, or failure_exit_code.
    static int run(std::u16string_view command_line);
};
