#include "platform/ui/DisplayEscape.h"

#include "platform/ui/detail/WindowTree.h"
#include "platform/ui/DeviceContext.h"
#include "platform/ui/Screen.h"

#include <array>

namespace platform {

namespace {

std::uint32_t read32(std::span<const std::uint8_t> b, std::size_t at)
{
    return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 | std::uint32_t(b[at + 2]) << 16
        | std::uint32_t(b[at + 3]) << 24;
}

void write32(std::span<std::uint8_t> b, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + std::size_t(i)] = std::uint8_t(v >> (8 * i));
}

bool is_display(const DeviceContext& dc)
{
    return dc.surface() == &detail::framebuffer();
}

bool known(int code)
{
    return code == escape::query_support || code == escape::set_power_management
        || code == escape::get_power_management;
}

std::array<std::uint8_t, 12> bytes_of(const VideoPowerManagement& v)
{
    std::array<std::uint8_t, 12> b {};
    write32(b, 0, v.length);
    write32(b, 4, v.dpms_version);
    write32(b, 8, v.power_state);
    return b;
}

}

int ext_escape(
    const DeviceContext& dc, int code, std::span<const std::uint8_t> input, std::span<std::uint8_t> output)
{
    if (!is_display(dc) || !known(code))
        return 0;
    switch (code) {
    case escape::query_support:
        if (input.size() < 4)
            return -1;
        return known(int(read32(input, 0))) ? 1 : 0;
    case escape::set_power_management: {
        if (input.size() < 12 || read32(input, 0) != 12)
            return -1;
        std::uint32_t power = read32(input, 8);
        if (power < video_power::on || power > video_power::off)
            return -1;
        set_display_on(power == video_power::on);
        return 1;
    }
    default: // get_power_management
        if (output.size() < 12)
            return -1;
        VideoPowerManagement v;
        v.power_state = is_display_on() ? video_power::on : video_power::off;
        auto b = bytes_of(v);
        std::copy(b.begin(), b.end(), output.begin());
        return 1;
    }
}

bool escape_supported(const DeviceContext& dc, int code)
{
    std::array<std::uint8_t, 4> in {};
    write32(in, 0, std::uint32_t(code));
    return ext_escape(dc, escape::query_support, in, {}) > 0;
}

bool set_video_power(const DeviceContext& dc, const VideoPowerManagement& v)
{
    auto b = bytes_of(v);
    return ext_escape(dc, escape::set_power_management, b, {}) > 0;
}

std::optional<VideoPowerManagement> get_video_power(const DeviceContext& dc)
{
    std::array<std::uint8_t, 12> out {};
    if (ext_escape(dc, escape::get_power_management, {}, out) <= 0)
        return std::nullopt;
    return VideoPowerManagement { read32(out, 0), read32(out, 4), read32(out, 8) };
}

}
