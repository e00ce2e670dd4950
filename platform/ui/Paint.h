#pragma once

#include "platform/core/Message.h"
#include "platform/ui/DeviceContext.h"
#include "platform/core/Region.h"

#include <optional>

// Painting. Each window has an invalid area (client coordinates), limited to
// what of it is visible when it is added. While a window of the thread has
// one, the thread's queue gives msg::paint (15) for it once no sent, posted or
// quit message is left, before timer messages. The paint handler draws inside
// a PaintScope, which validates the area; a handler that never does keeps
// getting paint messages (default_window_procedure validates). GUI thread only.
namespace platform {

// Adds the rectangle (client coordinates; nullopt for the whole window) to the
// invalid area; erase asks for msg::erase_background (20) before the paint.
bool invalidate_rect(Window, std::optional<Rect> = std::nullopt, bool erase = true);
bool validate_rect(Window, std::optional<Rect> = std::nullopt);
Region update_region(Window);
// Sends the paint message now when the window has an invalid area.
bool update_window(Window);

// One paint: takes the invalid area (sending msg::erase_background with the
// context as wparam first when erasing was asked for, see erase_background_dc)
// and gives a context clipped to it.
class PaintScope {
public:
    explicit PaintScope(Window);
    ~PaintScope() = default;
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;

    DeviceContext& dc() { return m_dc; }
    // The bounding box of the area to paint, client coordinates.
    const Rect& rect() const { return m_rect; }
    const Region& region() const { return m_region; }
    // Whether the background still needs erasing (the handler returned 0).
    bool erase() const { return m_erase; }

private:
    DeviceContext m_dc;
    Region m_region;
    Rect m_rect;
    bool m_erase = false;
};

// The erase-background message's context.
inline WParam erase_background_param(DeviceContext& dc) { return reinterpret_cast<WParam>(&dc); }
inline DeviceContext* erase_background_dc(WParam w) { return reinterpret_cast<DeviceContext*>(w); }

}
