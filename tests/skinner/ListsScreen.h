#pragma once

#include "tests/skinner/FormScreen.h"

#include "os/Application.h"
#include "skinner/widgets/lists/GridEvents.h"
#include "skinner/core/Listener.h"

#include <string>
#include <vector>

// The framework's screen with the skin of grids, lists, combo boxes and tabs,
// and a listener that writes down the events that reach the form.
namespace test {

inline const std::u16string lists_skin_path = platform::from_utf8(ORVANTA_LISTS_SKIN);

class EventLog : public skinner::Listener {
public:
    std::vector<std::string> events;

    bool on_click(skinner::Control& sender) override { return add("click " + narrow(sender.id())); }
    bool on_item_click(skinner::Control& sender, const skinner::GridCellEvent& cell) override
    {
        return add("item " + narrow(sender.id()) + " " + cell_text(cell));
    }
    bool on_context_menu(skinner::Control& sender, const skinner::GridCellEvent& cell) override
    {
        return add("menu " + narrow(sender.id()) + " " + cell_text(cell));
    }
    bool on_header_click(skinner::Control& sender, const skinner::GridHeaderEvent& header) override
    {
        return add("header " + narrow(sender.id()) + " " + std::to_string(header.column));
    }
    bool on_inplace_edit_end(skinner::Control& sender, const skinner::GridInplaceEditEnd& end) override
    {
        return add("edit-end " + narrow(sender.id()) + " " + std::to_string(end.column) + ","
            + std::to_string(end.row) + (end.commit ? " commit" : " cancel"));
    }
    bool on_scroll(skinner::Control& sender, std::int32_t position) override
    {
        return add("scroll " + narrow(sender.id()) + " " + std::to_string(position));
    }
    bool on_selection_changed(skinner::Control& sender) override { return add("selection " + narrow(sender.id())); }
    bool on_dropdown_closed(skinner::Control& sender) override { return add("closed " + narrow(sender.id())); }

    void clear() { events.clear(); }

private:
    static std::string cell_text(const skinner::GridCellEvent& cell)
    {
        return std::to_string(cell.column) + "," + std::to_string(cell.row);
    }
    bool add(std::string line)
    {
        events.push_back(std::move(line));
        return true;
    }
};

class ListsScreen : public FormScreen {
protected:
    // Grids hold timers of the program's scheduler.
    os::Application application { u"ListsTest" };
    skinner::Properties lists { lists_skin_path, { 240, 320 } };
    EventLog log;
};

}
