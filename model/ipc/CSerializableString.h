#pragma once

#include "model/ipc/CSerializable.h"

#include <optional>
#include <string>

// A UTF-16 text, or no text. On the stack: its units with a terminating zero,
// then their byte count (4 bytes, little-endian) on top.
class CSerializableString : public CSerializable {
public:
    // The most bytes a text may take on the stack, its zero included.
    static constexpr std::uint32_t max_bytes = 1024;

    CSerializableString() = default;

    explicit CSerializableString(std::u16string text)
        : m_text(std::move(text))
    {
    }

    const std::optional<std::u16string>& get_text() const { return m_text; }

    // Takes the units up to the first zero. Refused: a count that is odd,
    // below 2 or above max_bytes, more bytes than the stack holds, or units
    // that do not end with a zero.
    bool Read(CCommClipboard& clipboard) override;
    // Fails for no text.
    bool Write(CCommClipboard& clipboard) const override;

private:
    std::optional<std::u16string> m_text;
};
