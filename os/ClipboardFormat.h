#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace os {

// Clipboard formats by index: 0 a device-independent bitmap, 1 RIFF audio,
// 2 8-bit text, 3 UTF-16 text. Only the two text formats travel through the
// system clipboard; the others have no data.
enum ClipboardFormat {
    clipboard_dib = 0,
    clipboard_riff = 1,
    clipboard_text = 2,
    clipboard_unicode_text = 3,
};

// The bytes of a text in a text format, with its terminating zero; nothing
// for the other formats.
std::optional<std::string> block_from_text(int format, std::u16string_view text);
// The text in a block of a text format, up to its first zero.
std::optional<std::u16string> text_from_block(int format, std::string_view bytes);

}
