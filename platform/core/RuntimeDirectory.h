#pragma once

#include <string>
#include <string_view>

namespace platform {

// The folder of this user's locks and sockets: $XDG_RUNTIME_DIR/orvanta, else
// /tmp/orvanta-<uid>; made private (0700) and checked to be ours. Empty when neither can
// be had. Looked up on every call, so tests may point XDG_RUNTIME_DIR elsewhere.
std::string runtime_directory();

// A file in it for a name (case-folded and hashed, so any name fits a socket path).
// Empty when there is no runtime directory.
std::string runtime_file(std::string_view prefix, std::u16string_view name);

}
