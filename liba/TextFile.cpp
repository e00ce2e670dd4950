#include "liba/TextFile.h"

#include "liba/Conversion.h"

#include <algorithm>
#include <vector>

namespace liba {

std::u16string read_text_file(ResourceReader& file, std::uint64_t max_bytes)
{
    std::uint64_t size = file.size();
    std::uint64_t position = file.tell();
    std::uint64_t left = size > position ? size - position : 0;
    auto n = static_cast<std::size_t>(std::min(max_bytes, left));
    std::vector<char> bytes(n);
    if (n > 0 && file.read(bytes.data(), n) != n)
        return {};
    std::u16string text;
    if (n % 2 == 0 && n >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF
        && static_cast<unsigned char>(bytes[1]) == 0xFE) {
        text.resize((n - 2) / 2);
        for (std::size_t i = 0; i < text.size(); ++i) {
            auto low = static_cast<unsigned char>(bytes[2 + 2 * i]);
            auto high = static_cast<unsigned char>(bytes[3 + 2 * i]);
            text[i] = static_cast<char16_t>(low | high << 8);
        }
        return text;
    }
    ansi_to_wide(bytes.data(), n, text);
    return text;
}

}
