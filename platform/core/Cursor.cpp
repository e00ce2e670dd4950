#include "platform/core/Cursor.h"

#include "platform/core/detail/WindowSystem.h"

#include <algorithm>
#include <iterator>

namespace platform {

namespace {

struct StandardCursor {
    std::uint32_t id;
    CursorShape shape;
};

constexpr StandardCursor standard_cursors[] = {
    { 32512, CursorShape::arrow },
    { 32513, CursorShape::ibeam },
    { 32514, CursorShape::wait },
    { 32642, CursorShape::size_nwse },
    { 32643, CursorShape::size_nesw },
    { 32644, CursorShape::size_we },
    { 32645, CursorShape::size_ns },
    { 32646, CursorShape::size_all },
    { 32648, CursorShape::no },
    { 32649, CursorShape::hand },
    { 32650, CursorShape::app_starting },
    { 32651, CursorShape::help },
};

// What was shown last, and on which display: a new display starts with the arrow.
struct Shown {
    std::uint64_t display = 0;
    CursorShape shape = CursorShape::arrow;
};

Shown& shown()
{
    static Shown state;
    return state;
}

// The display's serial (a display only tells its own shapes); 0 without a window system.
std::uint64_t display_serial()
{
    auto serial = detail::window_system().display_serial;
    return serial ? serial() : 0;
}

}

CursorShape cursor_shape(std::uint32_t standard_id)
{
    const auto* found = std::find_if(std::begin(standard_cursors), std::end(standard_cursors),
        [&](const StandardCursor& c) { return c.id == standard_id; });
    return found == std::end(standard_cursors) ? CursorShape::arrow : found->shape;
}

CursorShape current_cursor()
{
    const Shown& state = shown();
    return state.display == display_serial() ? state.shape : CursorShape::arrow;
}

CursorShape set_cursor(CursorShape shape)
{
    const std::uint64_t serial = display_serial();
    const CursorShape previous = current_cursor();
    if (auto show = detail::window_system().show_cursor; show && previous != shape)
        show(shape);
    shown() = { serial, shape };
    return previous;
}

}
