#include "platform/ui/Paint.h"

#include "platform/core/MessageQueue.h"
#include "platform/ui/detail/WindowTree.h"

#include <utility>

namespace platform {

using namespace detail;

namespace {

// The client-coordinate area of the window that is visible, within the rectangle.
Region visible_client_part(MessageState& s, Window w, std::optional<Rect> rect)
{
    Region visible = visible_region(s, w, true);
    Point origin = client_origin(s, w);
    visible.offset({ -origin.x, -origin.y });
    if (rect)
        visible.intersect(*rect);
    return visible;
}

}

bool invalidate_rect(Window w, std::optional<Rect> rect, bool erase)
{
    std::lock_guard lock(state().mutex);
    auto& s = state();
    WindowRecord* r = find_record(s, w);
    if (!r)
        return false;
    Region area = visible_client_part(s, w, rect);
    r->invalid.add(area);
    r->erase = r->erase || (erase && !area.empty());
    if (!(r->style & ws::clip_children)) {
        // The parent paints over its children: they paint again after it.
        Region screen_area = area;
        screen_area.offset(client_origin(s, w));
        for (auto& [id, child] : s.windows) {
            if (!is_child(child) || child.parent != w)
                continue;
            Region part = visible_region(s, Window { id }, false);
            part.intersect(screen_area);
            if (!part.empty())
                invalidate_screen(s, part);
        }
    }
    return true;
}

bool validate_rect(Window w, std::optional<Rect> rect)
{
    std::lock_guard lock(state().mutex);
    WindowRecord* r = find_record(state(), w);
    if (!r)
        return false;
    if (rect)
        r->invalid.subtract(*rect);
    else
        r->invalid.clear();
    return true;
}

Region update_region(Window w)
{
    std::lock_guard lock(state().mutex);
    WindowRecord* r = find_record(state(), w);
    return r ? r->invalid : Region {};
}

bool update_window(Window w)
{
    if (update_region(w).empty())
        return false;
    send_message(w, msg::paint);
    return true;
}

namespace {

Region take_invalid(Window w, bool& erase)
{
    std::lock_guard lock(state().mutex);
    WindowRecord* r = find_record(state(), w);
    if (!r)
        return {};
    erase = std::exchange(r->erase, false);
    Region area = std::move(r->invalid);
    r->invalid.clear();
    return area;
}

}

PaintScope::PaintScope(Window w)
    : m_dc(DeviceContext::memory())
{
    m_region = take_invalid(w, m_erase);
    m_rect = m_region.bounds();
    m_dc = DeviceContext::for_window_area(w, m_region);
    if (m_erase)
        m_erase = send_message(w, msg::erase_background, erase_background_param(m_dc)) == 0;
}

namespace detail {

bool take_paint(Window filter, Message& out)
{
    std::lock_guard lock(state().mutex);
    auto& s = state();
    ThreadId self = current_thread_id();
    for (auto& [id, r] : s.windows) {
        Window w { id };
        if (r.invalid.empty() || r.queue->id != self || (filter != no_window && filter != w))
            continue;
        if (!shown(s, w)) {
            r.invalid.clear(); // hidden: showing it again repaints it whole
            continue;
        }
        out = { w, msg::paint, 0, 0 };
        return true;
    }
    return false;
}

}

}
