#pragma once

#include <string_view>

namespace liba {

struct BoolText {
    bool value;
    std::u16string_view text;
};

// The texts read as booleans, in the order they are tried; the first row
// with a value is the one written.
inline constexpr BoolText bool_texts[] = {
    { true, u"true" },
    { false, u"false" },
    { true, u"True" },
    { false, u"False" },
    { true, u"TRUE" },
    { false, u"FALSE" },
    { true, u"1" },
    { false, u"0" },
};

}
