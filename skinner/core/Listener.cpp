#include "skinner/core/Listener.h"

namespace skinner {

bool Listener::on_click(Control&) { return false; }
bool Listener::reserved_1() { return false; }
bool Listener::on_item_click(Control&, const GridCellEvent&) { return false; }
bool Listener::reserved_3() { return false; }
bool Listener::on_context_menu(Control&, const GridCellEvent&) { return false; }
bool Listener::reserved_5() { return false; }
bool Listener::reserved_6() { return false; }
bool Listener::reserved_7() { return false; }
bool Listener::reserved_8() { return false; }
bool Listener::on_inplace_edit_end(Control&, const GridInplaceEditEnd&) { return false; }
bool Listener::reserved_10() { return false; }
bool Listener::forward_event_11(std::uintptr_t, std::intptr_t) { return false; }
bool Listener::on_scroll(Control&, std::int32_t) { return false; }
bool Listener::on_command(std::u16string_view) { return false; }
bool Listener::on_value_changed(Control&, double) { return false; }
bool Listener::on_value_set(Control&, double) { return false; }
bool Listener::on_text_changed(Control&) { return false; }
bool Listener::on_header_click(Control&, const GridHeaderEvent&) { return false; }
bool Listener::on_header_context_menu(Control&, const GridHeaderEvent&) { return false; }
bool Listener::on_selection_changed(Control&) { return false; }
bool Listener::on_highlight_changed(Control&, const GridCellEvent&) { return false; }
bool Listener::on_child_focused() { return false; }
bool Listener::on_build_menu(Control&, MenuEntry&) { return false; }
bool Listener::on_dropdown_closed(Control&) { return false; }

}
