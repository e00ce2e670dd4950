#pragma once

#include "liba/ResourceReader.h"

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace liba {

// One language: every text the user sees, by key, from language files
// (".lng"). A file is UTF-16LE with the mark FF FE, or 8-bit text in the
// ANSI code page. Each entry is a key and a text that runs to the end of its
// line: "Key text", "Key=text" (the text keeps the blank after '='), or a
// key alone on its line with the text on the next non-blank line. Words
// beginning with "//" start a comment line. A later key replaces an earlier one.
// The files themselves are opened by os::load_language_file.
class StringTranslator {
public:
    StringTranslator() = default;
    virtual ~StringTranslator() = default;

    // Adds the entries of the open file to the table and keeps path as the
    // path of the file last loaded.
    void load(ResourceReader& file, std::u16string path);
    // The text of the key, or the default when the table has none.
    std::u16string translate(std::u16string_view key, std::u16string_view default_text) const;

    // The language file last loaded; empty before.
    const std::u16string& path() const { return m_path; }

private:
    void add_entries(std::u16string_view text);

    std::map<std::u16string, std::u16string, std::less<>> m_table;
    std::u16string m_path;
};

namespace literals {

// Marks a translation key that the code names outside a translate call (a
// table of items or menu entries, a prompt's caption), so that the language
// file's test finds it. The test also finds the literal that opens a
// translate call; a key put together at run time is found by neither.
consteval std::u16string_view operator""_key(const char16_t* text, std::size_t length)
{
    return { text, length };
}

}

}
