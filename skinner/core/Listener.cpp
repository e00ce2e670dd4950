#include "skinner/core/Listener.h"

namespace skinner {

bool Listener::on_click(Control& sender) { return pass(&Listener::on_click, sender); }
bool Listener::reserved_1() { return false; }
bool Listener::on_item_click(Control& sender, const GridCellEvent& cell)
{
    return pass(&Listener::on_item_click, sender, cell);
}
bool Listener::reserved_3() { return false; }
bool Listener::on_context_menu(Control& sender, const GridCellEvent& event)
{
    return pass(&Listener::on_context_menu, sender, event);
}
bool Listener::reserved_5() { return false; }
bool Listener::reserved_6() { return false; }
bool Listener::reserved_7() { return false; }
bool Listener::reserved_8() { return false; }
bool Listener::on_inplace_edit_end(Control& sender, const GridInplaceEditEnd& cell)
{
    return pass(&Listener::on_inplace_edit_end, sender, cell);
}
bool Listener::reserved_10() { return false; }
bool Listener::forward_event_11(std::uintptr_t first, std::intptr_t second)
{
    return pass(&Listener::forward_event_11, first, second);
}
bool Listener::on_scroll(Control& sender, std::int32_t position)
{
    return pass(&Listener::on_scroll, sender, position);
}
bool Listener::on_command(std::u16string_view command) { return pass(&Listener::on_command, command); }
bool Listener::on_value_changed(Control& sender, double value)
{
    return pass(&Listener::on_value_changed, sender, value);
}
bool Listener::on_value_set(Control& sender, double value)
{
    return pass(&Listener::on_value_set, sender, value);
}
bool Listener::on_text_changed(Control& sender) { return pass(&Listener::on_text_changed, sender); }
bool Listener::on_header_click(Control& sender, const GridHeaderEvent& record)
{
    return pass(&Listener::on_header_click, sender, record);
}
bool Listener::on_header_context_menu(Control& sender, const GridHeaderEvent& record)
{
    return pass(&Listener::on_header_context_menu, sender, record);
}
bool Listener::on_selection_changed(Control& sender) { return pass(&Listener::on_selection_changed, sender); }
bool Listener::on_highlight_changed(Control& sender, const GridCellEvent& cell)
{
    return pass(&Listener::on_highlight_changed, sender, cell);
}
bool Listener::on_child_focused() { return pass(&Listener::on_child_focused); }
bool Listener::on_build_menu(Control& sender, MenuEntry& menu)
{
    return pass(&Listener::on_build_menu, sender, menu);
}
bool Listener::on_dropdown_closed(Control& sender) { return pass(&Listener::on_dropdown_closed, sender); }
bool Listener::on_popup_menu(Control& sender, const MenuEntry& menu, Point point, std::u16string& chosen)
{
    return pass(&Listener::on_popup_menu, sender, menu, point, chosen);
}
bool Listener::on_menu_bar_item(Control& sender, MenuBarItem& item, bool listed)
{
    return pass(&Listener::on_menu_bar_item, sender, item, listed);
}
bool Listener::on_menu_bar_changed(Control& sender) { return pass(&Listener::on_menu_bar_changed, sender); }

}
