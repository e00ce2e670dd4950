#pragma once

#include "platform/core/MessageQueue.h"
#include "platform/ui/Display.h"

#include <array>
#include <cstdint>

union SDL_Event;
struct SDL_Cursor;
struct SDL_Window;
struct SDL_Surface;

namespace platform::sdl {

// The device screen in one SDL window (X11 or Wayland), zoomed by a whole
// factor with nearest-neighbour scaling: ORVANTA_ZOOM, else the largest that
// fits the desktop, at most 3. Mouse coordinates are divided back; the left
// button is the pen, the right one a tap-and-hold; keys map to virtual keys
// (F1 to F6 are the hardware buttons 0xC1 to 0xC6); typed text that no key
// explains arrives as input-method text; closing the window sends msg::close
// to the foreground window (or quits when there is none).
//
// Make it on the GUI thread and install it (display_slot().install()); it is
// that thread's wait hook for its life and presents at most once per frame.
// The screen goes to the window's own surface, zoomed by us: SDL's renderer
// would load OpenGL, and without a GPU a software one, for a small picture
// that only ever moves whole pixels.
class SdlDisplay final : public Display, public WaitHook {
public:
    explicit SdlDisplay(ScreenMode = screen_mode_from_environment(), const char* title = "Orvanta");
    ~SdlDisplay() override;
    SdlDisplay(const SdlDisplay&) = delete;
    SdlDisplay& operator=(const SdlDisplay&) = delete;

    // False when SDL's video could not be started: nothing shows, the program
    // still runs.
    bool is_available() const { return m_window != nullptr; }
    int zoom() const { return m_zoom; }
    // The SDL window's id, for tools that look for it.
    std::uint32_t window_id() const;

    // Shows what was presented at once, whatever the frame rate.
    void flush();

    ScreenMode mode() const override { return m_mode; }
    void present(const Bitmap& screen, const Rect& changed) override;
    void wait(std::optional<std::uint32_t> timeout_ms) override;
    void wake() override;
    void show_cursor(CursorShape) override;

private:
    void handle(const SDL_Event&);
    void free_cursors();
    void copy_zoomed(const Bitmap& screen, const Rect& area);

    ScreenMode m_mode;
    int m_zoom = 1;
    SDL_Window* m_window = nullptr;
    SDL_Surface* m_surface = nullptr; // the window's, owned by SDL
    Rect m_dirty; // of the window, in its pixels
    std::uint32_t m_wake_event = 0;
    bool m_pending = false;
    std::uint32_t m_last_present = 0;
    std::uint16_t m_last_char = 0;
    // SDL's system cursors, made when first shown, by shape.
    std::array<SDL_Cursor*, 12> m_cursors {};
};

}
