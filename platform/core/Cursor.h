#pragma once

#include <cstdint>

// The pointer's shape over the device screen. One shape at a time for the
// whole program, as on the device; the display shows it as well as it can
// (a display without a pointer shows nothing). GUI thread only.
namespace platform {

enum class CursorShape {
    arrow,
    ibeam,
    wait,
    size_nwse,
    size_nesw,
    size_we,
    size_ns,
    size_all,
    no,
    hand,
    app_starting, // the arrow with a small wait sign
    help,
};

// The shape a standard cursor identifier names (32512 the arrow, 32513 the
// text beam, 32514 wait, ...); the arrow for 0 and anything unknown.
CursorShape cursor_shape(std::uint32_t standard_id);

// Shows the shape; returns the one shown before (the arrow on a new display).
CursorShape set_cursor(CursorShape);
CursorShape current_cursor();

// Shows a shape for its life, then the one shown before.
class ScopedCursor {
public:
    explicit ScopedCursor(CursorShape shape)
        : m_previous(set_cursor(shape))
    {
    }
    ~ScopedCursor() { set_cursor(m_previous); }
    ScopedCursor(const ScopedCursor&) = delete;
    ScopedCursor& operator=(const ScopedCursor&) = delete;

private:
    CursorShape m_previous;
};

}
