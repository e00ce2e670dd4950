#pragma once

#include <cstdint>
#include <optional>
#include <span>

// The display driver's escapes that the power manager uses: display power
// through a device context of the display (a window's or the screen's; a
// memory context has no display driver). Off shows a black screen until the
// display is on again (Screen.h); input still arrives. GUI thread only.
namespace platform {

class DeviceContext;

// Escape codes (their platform numbers).
namespace escape {
inline constexpr int query_support = 8; // input: the 4-byte code asked about
inline constexpr int set_power_management = 0x1803; // input: VideoPowerManagement
inline constexpr int get_power_management = 0x1804; // output: VideoPowerManagement
}

// Power states (their platform numbers); standby and suspend switch off too.
namespace video_power {
inline constexpr std::uint32_t on = 1;
inline constexpr std::uint32_t standby = 2;
inline constexpr std::uint32_t suspend = 3;
inline constexpr std::uint32_t off = 4;
}

// The record the power escapes carry, three little-endian 32-bit fields.
struct VideoPowerManagement {
    std::uint32_t length = 12;
    std::uint32_t dpms_version = 1;
    std::uint32_t power_state = video_power::on;
};

// Above 0: done (or, for query_support, supported); 0: the escape is not
// supported by this context; below 0: the input or output does not fit the
// escape (too short, a wrong length field, an unknown power state).
int ext_escape(
    const DeviceContext&, int escape, std::span<const std::uint8_t> input, std::span<std::uint8_t> output);

// Typed forms of the three escapes.
bool escape_supported(const DeviceContext&, int escape);
bool set_video_power(const DeviceContext&, const VideoPowerManagement&);
std::optional<VideoPowerManagement> get_video_power(const DeviceContext&);

}
