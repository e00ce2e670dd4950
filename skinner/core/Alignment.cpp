#include "skinner/core/Alignment.h"

#include "skinner/core/NameTable.h"

namespace skinner {

namespace {

constexpr NameTableRow<std::int32_t> h_alignment_names[] = {
    { align_left, u"LEFT" },
    { align_center, u"CENTER" },
    { align_right, u"RIGHT" },
};

constexpr NameTableRow<std::int32_t> v_alignment_names[] = {
    { align_top, u"TOP" },
    { align_vcenter, u"VCENTER" },
    { align_bottom, u"BOTTOM" },
};

}

bool parse_h_alignment(std::u16string_view name, std::int32_t& alignment)
{
    return parse_name<std::int32_t>(h_alignment_names, name, alignment);
}

bool parse_v_alignment(std::u16string_view name, std::int32_t& alignment)
{
    return parse_name<std::int32_t>(v_alignment_names, name, alignment);
}

}
