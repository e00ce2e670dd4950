#pragma once

#include <cstdint>
#include <string_view>

namespace skinner {

// Alignments as the canvas's text drawing takes them: horizontal 0 left,
// 1 centre, 2 right; vertical 0 top, 1 centre, 2 bottom.
inline constexpr std::int32_t align_left = 0;
inline constexpr std::int32_t align_center = 1;
inline constexpr std::int32_t align_right = 2;
inline constexpr std::int32_t align_top = 0;
inline constexpr std::int32_t align_vcenter = 1;
inline constexpr std::int32_t align_bottom = 2;

// The skin's names ("LEFT", "CENTER", "RIGHT"; "TOP", "VCENTER", "BOTTOM"),
// matched exactly and case-sensitively. A match stores the number and gives
// true; any other text leaves the number as it was and gives false.
bool parse_h_alignment(std::u16string_view name, std::int32_t& alignment);
bool parse_v_alignment(std::u16string_view name, std::int32_t& alignment);

}
