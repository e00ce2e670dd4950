#pragma once

#include "skinner/core/MenuBarItem.h"
#include "skinner/widgets/buttons/ControlButton.h"
#include "skinner/widgets/lists/ControlGrid.h"
#include "skinner/widgets/lists/GridSelectionStrategySingleColumn.h"
#include "skinner/widgets/tabs/ControlTabBase.h"

#include <vector>

namespace skinner {

// Shows one page at a time with a header row of page titles above or below
// the pages; arrows at the header's right end scroll titles that do not fit.
// Without its header the tab offers its pages as a menu instead.
class ControlTab : public ControlTabBase, public MenuBarItem {
public:
    // One cell per page in one row.
    class Grid : public ControlGrid, public GridSelectionStrategySingleColumn {
    public:
        Grid(ControlTab& tab, std::u16string_view kind);

        std::int32_t get_item_count() const override { return 1; }
        std::int32_t get_column_count() const override;
        std::int32_t get_column_width(std::int32_t column) const override;
        void paint_item(std::int32_t column, std::int32_t row, Canvas& canvas, Point position, Size size,
            bool selected, bool highlighted) override;
        // A chosen cell shows its page.
        void notify_selection_changed() override;

        std::vector<std::int32_t> widths;

    private:
        ControlTab& m_tab;
    };

    ControlTab(Container& container, std::u16string_view id, ControlMode mode = ControlMode::named);
    ~ControlTab() override;

    bool on_click(Control& sender) override;
    bool on_item_click(Control& sender, const GridCellEvent& cell) override;
    bool on_command(std::u16string_view command) override;
    bool on_build_menu(Control& sender, MenuEntry& menu) override;
    void set_rect(Point position, Size size) override;
    void load() override;
    // Selects the first visible page's title in the header.
    virtual void refresh_header_selection();

    void build_menu_entry(MenuEntry& entry) override;
    bool has_submenu() override { return true; }
    std::u16string get_text() override { return u"#smartphone_tab#"; }
    std::int32_t get_command_id() override { return -10; }

    // Called by the pages.
    void add_page(ControlTabElement& page);
    void remove_page(ControlTabElement& page);
    void on_page_shown(ControlTabElement& page);

    // The page after or before the visible one, without wrapping; false when there is none.
    bool next_page();
    bool previous_page();
    // The index of the first visible page, -1 for none.
    std::int32_t visible_page() const;
    void set_header_visible(bool visible);
    bool header_visible() const { return m_header_visible; }

    Grid& header() { return m_grid; }
    ControlButton& left_arrow() { return m_left; }
    ControlButton& right_arrow() { return m_right; }

private:
    void load_properties();
    bool show_page_at(std::int32_t index);

    Grid m_grid;
    ControlButton m_left;
    ControlButton m_right;
    std::int32_t m_header_height = 0;
    std::int32_t m_arrow_width = 0;
    std::int32_t m_text_border = 0;
    bool m_bottom = false;
    bool m_header_visible = false;
    bool m_had_pages = false;
};

}
