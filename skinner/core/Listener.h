#pragma once

#include "skinner/graphics/Point.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace skinner {

class Control;
struct GridCellEvent;
struct GridHeaderEvent;
struct GridInplaceEditEnd;
class MenuBarItem;
struct MenuEntry;

// The events that controls raise and containers pass on. A control raises an
// event by calling it on itself; every event's default hands it to the next
// listener (a control's is its container, a container's its own listener), so
// an event climbs to the panel or form that handles it with the originating
// control as sender. Each answers false when nobody handled it.
class Listener {
public:
    virtual ~Listener() = default;

    // Where unhandled events go; null ends the climb.
    virtual Listener* next_listener() const { return nullptr; }

    virtual bool on_click(Control& sender);
    virtual bool reserved_1();
    virtual bool on_item_click(Control& sender, const GridCellEvent& cell);
    virtual bool reserved_3();
    virtual bool on_context_menu(Control& sender, const GridCellEvent& event);
    virtual bool reserved_5();
    virtual bool reserved_6();
    virtual bool reserved_7();
    virtual bool reserved_8();
    virtual bool on_inplace_edit_end(Control& sender, const GridInplaceEditEnd& cell);
    virtual bool reserved_10();
    virtual bool forward_event_11(std::uintptr_t first, std::intptr_t second);
    virtual bool on_scroll(Control& sender, std::int32_t position);
    virtual bool on_command(std::u16string_view command);
    virtual bool on_value_changed(Control& sender, double value);
    virtual bool on_value_set(Control& sender, double value);
    virtual bool on_text_changed(Control& sender);
    virtual bool on_header_click(Control& sender, const GridHeaderEvent& record);
    virtual bool on_header_context_menu(Control& sender, const GridHeaderEvent& record);
    virtual bool on_selection_changed(Control& sender);
    virtual bool on_highlight_changed(Control& sender, const GridCellEvent& cell);
    virtual bool on_child_focused();
    virtual bool on_build_menu(Control& sender, MenuEntry& menu);
    virtual bool on_dropdown_closed(Control& sender);
    // A control asks for its pop-up menu at a point (form coordinates); the
    // form shows it and answers the chosen entry's id, empty when dismissed.
    virtual bool on_popup_menu(Control& sender, const MenuEntry& menu, Point point, std::u16string& chosen);
    // A control puts an item on its form's menu bar, or takes it off.
    virtual bool on_menu_bar_item(Control& sender, MenuBarItem& item, bool listed);
    // What a listed item shows changed: the form builds its bar again.
    virtual bool on_menu_bar_changed(Control& sender);

private:
    // Calls the event on the next listener; false when there is none.
    template <typename... Params, typename... Args>
    bool pass(bool (Listener::*event)(Params...), Args&&... args) const
    {
        Listener* next = next_listener();
        return next && (next->*event)(std::forward<Args>(args)...);
    }
};

}
