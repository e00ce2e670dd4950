#include "platform/ui/sdl/SdlDisplay.h"

#include "platform/core/Utf8.h"
#include "platform/ui/Input.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Shell.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/Zoom.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace platform::sdl {

namespace {

constexpr std::uint32_t frame_ms = 16;

struct KeyMap {
    SDL_Keycode sdl;
    std::uint32_t key;
};

constexpr KeyMap keys[] = {
    { SDLK_BACKSPACE, vk::back }, { SDLK_TAB, vk::tab }, { SDLK_RETURN, vk::enter }, { SDLK_KP_ENTER, vk::enter },
    { SDLK_LSHIFT, vk::shift }, { SDLK_RSHIFT, vk::shift }, { SDLK_LCTRL, vk::control }, { SDLK_RCTRL, vk::control },
    { SDLK_LALT, vk::menu }, { SDLK_RALT, vk::menu }, { SDLK_ESCAPE, vk::escape }, { SDLK_SPACE, vk::space },
    { SDLK_PAGEUP, vk::prior }, { SDLK_PAGEDOWN, vk::next }, { SDLK_END, vk::end }, { SDLK_HOME, vk::home },
    { SDLK_LEFT, vk::left }, { SDLK_UP, vk::up }, { SDLK_RIGHT, vk::right }, { SDLK_DOWN, vk::down },
    { SDLK_INSERT, vk::insert }, { SDLK_DELETE, vk::del }, { SDLK_APPLICATION, vk::apps },
    { SDLK_F1, vk::application_1 }, { SDLK_F2, vk::application_1 + 1 }, { SDLK_F3, vk::application_1 + 2 },
    { SDLK_F4, vk::application_1 + 3 }, { SDLK_F5, vk::application_1 + 4 }, { SDLK_F6, vk::application_1 + 5 },
    { SDLK_SEMICOLON, vk::oem_1 }, { SDLK_EQUALS, vk::oem_plus }, { SDLK_COMMA, vk::oem_comma },
    { SDLK_MINUS, vk::oem_minus }, { SDLK_PERIOD, vk::oem_period }, { SDLK_SLASH, vk::oem_2 },
    { SDLK_BACKQUOTE, vk::oem_3 }, { SDLK_LEFTBRACKET, vk::oem_4 }, { SDLK_BACKSLASH, vk::oem_5 },
    { SDLK_RIGHTBRACKET, vk::oem_6 }, { SDLK_QUOTE, vk::oem_7 },
};

std::uint32_t virtual_key(SDL_Keycode code)
{
    // A soft-key device has its two soft keys where the first two buttons were.
    if (has_soft_keys() && (code == SDLK_F1 || code == SDLK_F2))
        return code == SDLK_F1 ? vk::soft_1 : vk::soft_2;
    if (code >= SDLK_a && code <= SDLK_z)
        return std::uint32_t('A' + (code - SDLK_a));
    if (code >= SDLK_0 && code <= SDLK_9)
        return std::uint32_t(code);
    for (auto& k : keys) {
        if (k.sdl == code)
            return k.key;
    }
    return 0;
}

int choose_zoom(Size size)
{
    if (const char* text = std::getenv("ORVANTA_ZOOM"))
        if (const auto zoom = parse_zoom(text))
            return *zoom;
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0)
        return 1;
    int fit = std::min(usable.w / std::max(size.width, 1), usable.h / std::max(size.height, 1));
    return std::clamp(fit, 1, 3);
}

}

SdlDisplay::SdlDisplay(ScreenMode mode, const char* title)
    : m_mode(mode)
{
    set_wait_hook(this);
    // SDL drops a press that comes within a few milliseconds of the window
    // gaining focus; a pen tap that lands as the pointer enters (focus follows
    // the pointer without a window manager) would be lost.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // The window's surface in shared memory with the X server, not a texture
    // of an OpenGL renderer; the user's own setting of the hint still counts.
    SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_DEFAULT);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0)
        return;
    m_wake_event = SDL_RegisterEvents(1);
    m_zoom = choose_zoom(mode.size);
    m_window = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, mode.size.width * m_zoom,
        mode.size.height * m_zoom, 0);
    if (!m_window)
        return;
    m_surface = SDL_GetWindowSurface(m_window);
    if (!m_surface) {
        SDL_DestroyWindow(m_window);
        m_window = nullptr;
        return;
    }
    SDL_StartTextInput();
}

SdlDisplay::~SdlDisplay()
{
    free_cursors();
    set_wait_hook(nullptr);
    if (m_window) {
        SDL_DestroyWindow(m_window);
        SDL_StopTextInput();
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
}

namespace {

// SDL has no help pointer: the arrow stands in.
constexpr SDL_SystemCursor system_cursors[] = {
    SDL_SYSTEM_CURSOR_ARROW,
    SDL_SYSTEM_CURSOR_IBEAM,
    SDL_SYSTEM_CURSOR_WAIT,
    SDL_SYSTEM_CURSOR_SIZENWSE,
    SDL_SYSTEM_CURSOR_SIZENESW,
    SDL_SYSTEM_CURSOR_SIZEWE,
    SDL_SYSTEM_CURSOR_SIZENS,
    SDL_SYSTEM_CURSOR_SIZEALL,
    SDL_SYSTEM_CURSOR_NO,
    SDL_SYSTEM_CURSOR_HAND,
    SDL_SYSTEM_CURSOR_WAITARROW,
    SDL_SYSTEM_CURSOR_ARROW,
};

}

void SdlDisplay::show_cursor(CursorShape shape)
{
    const auto index = static_cast<std::size_t>(shape);
    if (!m_window || index >= m_cursors.size())
        return;
    static_assert(std::size(system_cursors) == std::tuple_size_v<decltype(m_cursors)>);
    if (!m_cursors[index])
        m_cursors[index] = SDL_CreateSystemCursor(system_cursors[index]);
    if (m_cursors[index])
        SDL_SetCursor(m_cursors[index]);
}

// Before SDL's video goes, which frees every cursor left.
void SdlDisplay::free_cursors()
{
    for (SDL_Cursor*& cursor : m_cursors) {
        if (cursor)
            SDL_FreeCursor(cursor);
        cursor = nullptr;
    }
}

std::uint32_t SdlDisplay::window_id() const
{
    return m_window ? SDL_GetWindowID(m_window) : 0;
}

void SdlDisplay::present(const Bitmap& screen, const Rect& changed)
{
    if (!m_surface)
        return;
    Rect r = changed.intersect(screen.bounds()).intersect({ 0, 0, m_surface->w / m_zoom, m_surface->h / m_zoom });
    if (r.empty())
        return;
    copy_zoomed(screen, r);
    m_dirty = m_dirty.unite({ r.left * m_zoom, r.top * m_zoom, r.right * m_zoom, r.bottom * m_zoom });
    m_pending = true;
    if (SDL_GetTicks() - m_last_present >= frame_ms)
        flush();
}

void SdlDisplay::copy_zoomed(const Bitmap& screen, const Rect& r)
{
    const int z = m_zoom;
    const SDL_PixelFormat* format = m_surface->format;
    // A 32-bit surface with red, green and blue where our pixels have them
    // (X11 at depth 24, the usual case) takes the pixels as they are.
    const bool same = format->BytesPerPixel == 4 && format->Rmask == 0xFF0000 && format->Gmask == 0xFF00
        && format->Bmask == 0xFF;
    if (!same) {
        SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<Pixel*>(screen.row(r.top) + r.left),
            r.width(), r.height(), 32, screen.width() * int(sizeof(Pixel)), SDL_PIXELFORMAT_RGB888);
        if (!source)
            return;
        SDL_SetSurfaceBlendMode(source, SDL_BLENDMODE_NONE);
        SDL_Rect to { r.left * z, r.top * z, r.width() * z, r.height() * z };
        SDL_BlitScaled(source, nullptr, m_surface, &to);
        SDL_FreeSurface(source);
        return;
    }
    if (SDL_MUSTLOCK(m_surface) && SDL_LockSurface(m_surface) != 0)
        return;
    auto* base = static_cast<std::uint8_t*>(m_surface->pixels);
    for (std::int32_t y = r.top; y < r.bottom; ++y) {
        const Pixel* from = screen.row(y) + r.left;
        auto* first = reinterpret_cast<std::uint32_t*>(base + std::size_t(y) * z * m_surface->pitch) + r.left * z;
        std::uint32_t* to = first;
        for (std::int32_t x = r.left; x < r.right; ++x, ++from) {
            for (int i = 0; i < z; ++i)
                *to++ = *from;
        }
        // The other rows of a zoomed pixel are copies of the first.
        for (int i = 1; i < z; ++i)
            std::memcpy(reinterpret_cast<std::uint8_t*>(first) + std::size_t(i) * m_surface->pitch, first,
                std::size_t(r.width()) * z * sizeof(std::uint32_t));
    }
    if (SDL_MUSTLOCK(m_surface))
        SDL_UnlockSurface(m_surface);
}

void SdlDisplay::flush()
{
    if (!m_pending || !m_surface)
        return;
    m_pending = false;
    m_last_present = SDL_GetTicks();
    if (m_dirty.empty())
        return;
    SDL_Rect area { m_dirty.left, m_dirty.top, m_dirty.width(), m_dirty.height() };
    m_dirty = {};
    SDL_UpdateWindowSurfaceRects(m_window, &area, 1);
}

void SdlDisplay::wait(std::optional<std::uint32_t> timeout_ms)
{
    present_screen();
    if (!m_window) {
        SDL_Delay(timeout_ms ? std::min<std::uint32_t>(*timeout_ms, 100) : 100);
        return;
    }
    std::optional<std::uint32_t> limit = timeout_ms;
    if (m_pending) {
        std::uint32_t since = SDL_GetTicks() - m_last_present;
        std::uint32_t left = since >= frame_ms ? 0 : frame_ms - since;
        limit = limit ? std::min(*limit, left) : left;
    }
    SDL_Event event;
    int got = limit ? SDL_WaitEventTimeout(&event, int(std::min<std::uint32_t>(*limit, INT32_MAX))) : SDL_WaitEvent(&event);
    if (got) {
        handle(event);
        while (SDL_PollEvent(&event))
            handle(event);
    }
    if (m_pending && SDL_GetTicks() - m_last_present >= frame_ms)
        flush();
}

void SdlDisplay::wake()
{
    if (!m_wake_event || m_wake_event == std::uint32_t(-1))
        return;
    SDL_Event event {};
    event.type = m_wake_event;
    SDL_PushEvent(&event);
}

void SdlDisplay::handle(const SDL_Event& e)
{
    auto point = [this](int x, int y) { return Point { x / m_zoom, y / m_zoom }; };
    switch (e.type) {
    case SDL_MOUSEBUTTONDOWN:
        if (e.button.button == SDL_BUTTON_LEFT)
            pen_down(point(e.button.x, e.button.y));
        else if (e.button.button == SDL_BUTTON_RIGHT)
            hold_down(point(e.button.x, e.button.y));
        break;
    case SDL_MOUSEBUTTONUP:
        if (e.button.button == SDL_BUTTON_LEFT)
            pen_up(point(e.button.x, e.button.y));
        else if (e.button.button == SDL_BUTTON_RIGHT)
            hold_up(point(e.button.x, e.button.y));
        break;
    case SDL_MOUSEMOTION:
        if (e.motion.state & (SDL_BUTTON_LMASK | SDL_BUTTON_RMASK))
            pen_move(point(e.motion.x, e.motion.y));
        break;
    case SDL_MOUSEWHEEL: {
        // A touchpad turns by parts of a notch.
        const float notches = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.preciseY : e.wheel.preciseY;
        int x = 0, y = 0;
        SDL_GetMouseState(&x, &y);
        wheel(point(x, y), std::int32_t(std::lround(notches * float(wheel_delta))));
        break;
    }
    case SDL_KEYDOWN:
        if (std::uint32_t key = virtual_key(e.key.keysym.sym)) {
            key_down(key);
            // The character the key makes reaches the program through translation.
            m_last_char = (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9') || key == vk::space
                    || (key >= vk::oem_1 && key <= vk::oem_3) || (key >= vk::oem_4 && key <= vk::oem_7)
                ? 1
                : 0;
        }
        break;
    case SDL_KEYUP:
        if (std::uint32_t key = virtual_key(e.key.keysym.sym))
            key_up(key);
        break;
    case SDL_TEXTINPUT: {
        std::u16string text = from_utf8(e.text.text);
        // One plain character right after its key was made by translation already.
        bool from_key = m_last_char && text.size() == 1 && text[0] < 0x80;
        m_last_char = 0;
        if (!from_key)
            text_input(text);
        break;
    }
    case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_EXPOSED && m_surface) {
            // The surface keeps what was drawn: show all of it again.
            m_dirty = { 0, 0, m_surface->w, m_surface->h };
            m_pending = true;
            flush();
        }
        break;
    case SDL_QUIT:
        // The desktop's close and a termination signal end the whole program.
        request_close();
        break;
    default:
        break;
    }
}

}
