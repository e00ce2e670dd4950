#pragma once

#include "platform/core/MessageQueue.h"
#include "platform/core/Service.h"
#include "platform/ui/Bitmap.h"
#include "platform/core/Cursor.h"

#include <optional>
#include <string_view>

namespace platform {

// The device screen's size and resolution.
struct ScreenMode {
    Size size { 240, 320 };
    std::int32_t dpi = 96;
    bool operator==(const ScreenMode&) const = default;
};

// "WxH" or "WxH@dpi" (e.g. "480x640", "320x240@96"); without a dpi, 192 when
// the short side is 480 or more, else 96. nullopt for anything else or sides
// outside 64..4096, dpi outside 48..480.
std::optional<ScreenMode> parse_screen_mode(std::string_view);
// ORVANTA_SCREEN when it parses, else 240x320 at 96 dpi.
ScreenMode screen_mode_from_environment();

// What shows the device screen: only moves pixels and input. The window
// manager draws into the screen's bitmap and hands over the changed area when
// the GUI thread's queue is idle; the display turns its own input into calls
// of platform/ui/Input.h on the GUI thread (from its wait hook).
//
// Install one with display_slot().install() (or ScopedService in tests) on the
// GUI thread before the first window is made; replacing it starts a new,
// empty screen of its mode. The default shows nothing and has the mode of the
// environment.
class Display {
public:
    virtual ~Display() = default;
    // Fixed for the display's life.
    virtual ScreenMode mode() const = 0;
    // Shows the changed rectangle of the screen bitmap (black while the
    // display is off). Called on the GUI thread.
    virtual void present(const Bitmap& screen, const Rect& changed) = 0;
    // Shows the pointer's shape (platform/core/Cursor.h sets it); a display
    // without a pointer ignores it. Called on the GUI thread.
    virtual void show_cursor(CursorShape) { }

    // Tells one display from the next, even at the same address.
    const std::uint64_t serial = next_serial();

private:
    static std::uint64_t next_serial();
};

ServiceSlot<Display>& display_slot();
inline Display& display() { return display_slot().get(); }

}
