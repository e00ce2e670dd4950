#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// The fields of a request text, in the order the command names them. Each
// ends at a comma (which is consumed) or at the end of the text; one that
// fills its width must end there too.
enum class CommField {
    path, // at most 200 characters
    number, // at most 20: a decimal integer, leading white space allowed; empty is 0
    flag, // one character: "y" brings the main window up
};

struct CommRequest {
    std::u16string path;
    std::int64_t number = 0;
    bool show = false;

    // Missing fields are empty. Refused: a field longer than its width, a
    // number field holding anything but an integer that 64 bits hold, and
    // text after the last field.
    static std::optional<CommRequest> parse(std::u16string_view text, std::span<const CommField> fields);
};
