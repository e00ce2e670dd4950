#include "os/ClipboardFormat.h"

#include "liba/Conversion.h"

#include <cstring>

namespace os {

std::optional<std::string> block_from_text(int format, std::u16string_view text)
{
    if (format == clipboard_unicode_text) {
        std::string bytes((text.size() + 1) * 2, '\0');
        for (size_t i = 0; i < text.size(); ++i) {
            bytes[2 * i] = static_cast<char>(text[i] & 0xFF);
            bytes[2 * i + 1] = static_cast<char>(text[i] >> 8);
        }
        return bytes;
    }
    if (format == clipboard_text) {
        std::string bytes;
        liba::wide_string_to_narrow(text, bytes);
        bytes += '\0';
        return bytes;
    }
    return std::nullopt;
}

std::optional<std::u16string> text_from_block(int format, std::string_view bytes)
{
    std::u16string text;
    if (format == clipboard_unicode_text) {
        for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
            char16_t c = static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8;
            if (c == 0)
                break;
            text += c;
        }
        return text;
    }
    if (format == clipboard_text) {
        liba::narrow_string_to_wide(bytes.substr(0, std::min(bytes.size(), bytes.find('\0'))), text);
        return text;
    }
    return std::nullopt;
}

}
