#pragma once

#include <string_view>

// The program's life on the GUI thread: hands the command line to a running
// copy, or builds the document, the skin and the main form, acts on the
// command line, runs the form until it closes and takes everything down.
// The caller installs the display and the audio driver first.
class Startup {
public:
    static constexpr std::u16string_view skin_version = u"Orvanta_500";

    // Always 0, as the program's exit code.
    static int run(std::u16string_view command_line);
};
