#include "platform/FileSystem.h"

namespace platform {

namespace {

// Enough case folding for file names: ASCII, Latin-1, Latin Extended-A,
// Greek and Cyrillic.
char16_t fold(char16_t c)
{
    if (c < 0x80)
        return c >= 'A' && c <= 'Z' ? c + 0x20 : c;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return c + 0x20;
    if (c >= 0x100 && c <= 0x17F) {
        bool odd_pairs = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F)
            return c;
        if (c == 0x178)
            return 0xFF;
        if (odd_pairs)
            return c % 2 == 1 ? c + 1 : c;
        return c % 2 == 0 ? c + 1 : c;
    }
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2)
        return c + 0x20;
    if (c >= 0x410 && c <= 0x42F)
        return c + 0x20;
    if (c >= 0x400 && c <= 0x40F)
        return c + 0x50;
    return c;
}

// Iterative, remembering only the last '*', so hostile masks cannot make it
// take exponential time.
bool match(std::u16string_view mask, std::u16string_view name)
{
    size_t m = 0, n = 0;
    size_t star = std::u16string_view::npos, resume = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == u'*') {
            star = m++;
            resume = n;
        } else if (m < mask.size() && (mask[m] == u'?' || fold(mask[m]) == fold(name[n]))) {
            ++m;
            ++n;
        } else if (star != std::u16string_view::npos) {
            m = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == u'*')
        ++m;
    return m == mask.size();
}

}

bool wildcard_match(std::u16string_view mask, std::u16string_view name)
{
    if (match(mask, name))
        return true;
    if (mask.size() >= 2 && mask.substr(mask.size() - 2) == u".*")
        return match(mask.substr(0, mask.size() - 2), name);
    return false;
}

}
