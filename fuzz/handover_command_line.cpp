// Reads the input as the copy-data record a second launch hands over (its word, then its
// bytes): the command line never holds more than the bytes did, and what the main form does
// with it as a path (its folder, expanded) stays within it.
#include "liba/Path.h"
#include "os/Application.h"
#include "os/PathMacros.h"
#include "platform/core/Message.h"
#include "platform/core/Utf8.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    // An odd size, with or without the terminating zero, arrives as it was sent.
    std::vector<std::uint8_t> bytes(data + 1, data + size);
    const auto claimed = static_cast<std::uint32_t>(bytes.size() - (data[0] & 1 ? 0 : bytes.size() % 2));
    const platform::CopyData record { 0, claimed, bytes.empty() ? nullptr : bytes.data() };
    const std::u16string text = os::Application::command_line_from(record);
    if (text.size() * 2 > claimed)
        std::abort();
    if (!text.empty() && std::memcmp(text.data(), bytes.data(), text.size() * 2) != 0)
        std::abort();
    if (text == u"AppRunAtTime" || text == u"-hide" || text.empty())
        return 0;
    const std::u16string folder = liba::remove_trailing_separator(liba::get_parent_directory(text));
    if (folder.size() > text.size())
        std::abort();
    (void)os::expand_path_macros(folder);
    (void)platform::to_utf8(text);
    return 0;
}
