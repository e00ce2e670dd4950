#include "model/ipc/CommRequest.h"

#include "liba/Conversion.h"

#include <limits>

namespace {

struct FieldRule {
    CommField field;
    std::size_t width;
};

constexpr FieldRule rules[] = {
    { CommField::path, 200 },
    { CommField::number, 20 },
    { CommField::flag, 1 },
};

std::size_t width_of(CommField field)
{
    for (const auto& rule : rules) {
        if (rule.field == field)
            return rule.width;
    }
    return 0;
}

// White space, an optional sign, digits, nothing after them; blank is 0.
bool parse_number(std::u16string_view text, std::int64_t& value)
{
    const char16_t* p = liba::skip_spaces(text.data(), text.data() + text.size());
    const char16_t* end = text.data() + text.size();
    value = 0;
    if (p == end)
        return true;
    const bool negative = *p == u'-';
    if (*p == u'-' || *p == u'+')
        ++p;
    if (p == end)
        return false;
    // Gathered as a negative number, whose range is the larger.
    std::int64_t number = 0;
    constexpr std::int64_t lowest = std::numeric_limits<std::int64_t>::min();
    for (; p != end; ++p) {
        if (*p < u'0' || *p > u'9')
            return false;
        const int digit = *p - u'0';
        if (number < (lowest + digit) / 10)
            return false;
        number = number * 10 - digit;
    }
    if (!negative && number == lowest)
        return false;
    value = negative ? number : -number;
    return true;
}

}

std::optional<CommRequest> CommRequest::parse(std::u16string_view text, std::span<const CommField> fields)
{
    CommRequest request;
    std::size_t at = 0;
    for (CommField field : fields) {
        const std::size_t width = width_of(field);
        const std::size_t comma = text.find(u',', at);
        const std::size_t end = comma == std::u16string_view::npos ? text.size() : comma;
        if (end - at > width)
            return std::nullopt;
        const std::u16string_view value = text.substr(at, end - at);
        at = end == text.size() ? end : end + 1;
        switch (field) {
        case CommField::path:
            request.path = value;
            break;
        case CommField::number:
            if (!parse_number(value, request.number))
                return std::nullopt;
            break;
        case CommField::flag:
            request.show = value == u"y";
            break;
        }
    }
    if (at != text.size())
        return std::nullopt;
    return request;
}
