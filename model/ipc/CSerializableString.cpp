#include "model/ipc/CSerializableString.h"

#include "model/ipc/CommBytes.h"

#include <vector>

bool CSerializableString::Read(CCommClipboard& clipboard)
{
    std::uint32_t count;
    if (!comm_bytes::pop_word(clipboard, count) || count < 2 || count % 2 != 0 || count > max_bytes)
        return false;
    std::vector<unsigned char> bytes(count);
    if (!clipboard.Pop(bytes.data(), count) || bytes[count - 2] != 0 || bytes[count - 1] != 0)
        return false;
    std::u16string text;
    for (std::uint32_t i = 0; i + 1 < count; i += 2) {
        const char16_t unit = static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8);
        if (unit == 0)
            break;
        text.push_back(unit);
    }
    m_text = std::move(text);
    return true;
}

bool CSerializableString::Write(CCommClipboard& clipboard) const
{
    if (!m_text || m_text->size() >= max_bytes / 2)
        return false;
    const auto count = static_cast<std::uint32_t>(2 * (m_text->size() + 1));
    std::vector<unsigned char> bytes(count, 0);
    for (std::size_t i = 0; i < m_text->size(); ++i) {
        bytes[2 * i] = static_cast<unsigned char>((*m_text)[i]);
        bytes[2 * i + 1] = static_cast<unsigned char>((*m_text)[i] >> 8);
    }
    // Both pieces or neither: a text without its count on top would be read as garbage.
    if (!clipboard.Push(bytes.data(), count))
        return false;
    if (comm_bytes::push_word(clipboard, count))
        return true;
    clipboard.Pop(bytes.data(), count);
    return false;
}
