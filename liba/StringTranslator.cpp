#include "liba/StringTranslator.h"

#include "liba/Conversion.h"
#include "liba/TextFile.h"

#include <utility>

namespace liba {

namespace {

const char16_t* end_of_line(const char16_t* p, const char16_t* end)
{
    while (p != end && *p != u'\r' && *p != u'\n')
        ++p;
    return p;
}

}

void StringTranslator::load(ResourceReader& file, std::u16string path)
{
    add_entries(read_text_file(file));
    m_path = std::move(path);
}

std::u16string StringTranslator::translate(std::u16string_view key, std::u16string_view default_text) const
{
    auto it = m_table.find(key);
    return it != m_table.end() ? it->second : std::u16string(default_text);
}

void StringTranslator::add_entries(std::u16string_view text)
{
    const char16_t* p = text.data();
    const char16_t* end = p + text.size();
    std::u16string word;
    for (;;) {
        p = skip_spaces(p, end);
        if (p == end)
            break;
        p = read_word(word, p, end);
        if (word.size() >= 2 && word.compare(0, 2, u"//") == 0) {
            p = end_of_line(p, end);
            continue;
        }
        std::u16string key;
        if (word.back() == u'=') {
            key = word.substr(0, word.size() - 1);
        } else {
            key = word;
            p = skip_spaces(p, end);
        }
        const char16_t* line_end = end_of_line(p, end);
        if (!key.empty())
            m_table[key] = std::u16string(p, line_end);
        p = line_end;
    }
}

}
