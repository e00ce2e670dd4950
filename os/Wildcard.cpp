#include "os/Wildcard.h"

#include "liba/CaseMapping.h"

namespace os {

namespace {

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
        } else if (m < mask.size()
            && (mask[m] == u'?' || liba::to_lower(mask[m]) == liba::to_lower(name[n]))) {
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
