#pragma once

#include "os/Timer.h"
#include "skinner/widgets/buttons/ButtonLook.h"
#include "skinner/widgets/panels/ControlPanelAutoScroll.h"
#include "skinner/widgets/lists/GridEvents.h"
#include "skinner/widgets/lists/GridSelectionStrategy.h"
#include "skinner/skin/Picture.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace skinner {

// The skinned table that lists, trees and tab strips are built from: an
// optional header row, rows of one height split into columns, scrolled by
// rows vertically and by pixels horizontally. The list that derives from it
// draws the cells and mixes in a selection strategy; the grid turns pen,
// wheel and keys into the strategy's calls and into item events. A painter
// child covers the cells; an in-place control may edit one cell.
class ControlGrid : public ControlPanelAutoScroll, public virtual GridSelectionStrategy, private liba::Timer::Listener {
public:
    class Painter;

    ControlGrid(Container& container, std::u16string_view id, ControlMode mode = ControlMode::named);
    ~ControlGrid() override;

    // Rows all have the height of row 0.
    virtual std::int32_t get_item_height(std::int32_t row) const;
    virtual std::int32_t get_header_height() const { return 0; }
    // Pixels when not negative; a negative width is a share of the free width.
    virtual std::int32_t get_column_width(std::int32_t /*column*/) const { return -1; }
    virtual void paint_item(std::int32_t column, std::int32_t row, Canvas& canvas, Point position, Size size,
        bool selected, bool highlighted)
        = 0;
    virtual void paint_header_item(std::int32_t /*column*/, Canvas& /*canvas*/, Point /*position*/, Size /*size*/) { }
    virtual void item_clicked(const GridCellEvent& event);
    virtual bool grid_reserved_1() { return false; }
    virtual void context_menu(const GridCellEvent& event);
    virtual bool grid_reserved_2() { return false; }
    virtual void header_clicked(const GridHeaderEvent& event);
    virtual void header_context_menu(const GridHeaderEvent& event);
    virtual void inplace_edit_ended(const GridInplaceEditEnd& event);
    virtual bool grid_reserved_3() { return false; }
    virtual void on_row_indent_pressed(const GridCellEvent& /*event*/) { }
    // Width at the left of column 0 that belongs to the row's indent.
    virtual std::int32_t get_row_indent(std::int32_t /*row*/) const { return 0; }
    virtual const ButtonLook& get_item_look(bool selected, bool highlighted) const;

    // Repaints for its own bars, then passes the event on.
    bool on_scroll(Control& sender, std::int32_t position) override;
    void notify_selection_changed() override;
    void notify_highlight_changed() override;
    void scroll_column_into_view(std::int32_t column) override;
    void ensure_visible(std::int32_t row) override;

    void on_focus_lost() override;
    void on_enabled_changed(bool enabled) override;
    void paint(Canvas& canvas, Point area_position, Size area_size) override;
    bool hit_test(Point point) const override;
    void on_pen_down(Point point, std::int32_t argument) override;
    void on_context_down(Point point, std::int32_t argument) override;
    void on_alt_down(Point point, std::int32_t argument) override;
    bool on_keydown(KeyCode key) override;
    bool on_keyup(KeyCode key) override;
    void set_rect(Point position, Size size) override;
    void load() override;

    // After the item or column count changed: lays out again and repaints.
    void refresh();
    // Makes the row the first visible one (as far as the range allows).
    void scroll_to(std::int32_t row);
    std::int32_t get_first_visible_row() const { return m_vertical.scroll_position(); }
    void set_horizontal_offset(std::int32_t pixels);
    std::int32_t get_horizontal_offset() const { return m_horizontal.scroll_position(); }
    // Rows that fit below the header (the vertical page).
    std::int32_t get_page_rows() const { return m_vertical.get_page(); }
    void start_inplace_edit(Control& control, std::int32_t column, std::int32_t row);
    void end_inplace_edit(bool commit);
    Control* get_inplace_control() const { return m_inplace_control; }
    // The cell's rectangle in form coordinates, clipped to the painter.
    Point get_cell_rect(std::int32_t column, std::int32_t row, Size& size) const;
    const ButtonLook& get_header_look() const { return m_header_look; }
    Point get_border_min() const { return m_border_min; }
    Point get_border_max() const { return m_border_max; }
    Painter& painter() { return *m_painter; }
    const std::vector<std::int32_t>& column_boundaries() const { return m_boundaries; }
    bool is_long_press_pending() const { return m_long_press.is_active(); }
    // Tap-and-hold on the cells comes as a context press (for lists with a
    // pop-up menu); the skin's "Gestures" still overrides it at the next load.
    void set_context_gestures(bool on) { set_gestures(on); }

protected:
    // The item height a skin or a list gave, never below one pixel.
    std::int32_t row_height() const;

private:
    friend class Painter;

    void on_timer(liba::Timer& timer) override;
    using Control::on_timer;
    void load_properties();
    void lay_out_columns(std::int32_t painter_width);
    void place_inplace_control();
    void end_edit_if_outside(Point point);
    // The painter's rectangle, in form coordinates.
    Point painter_position() const;
    Size painter_size() const;

    Picture m_background;
    Picture m_background_focused;
    Picture m_background_disabled;
    std::int32_t m_item_height = 40;
    Control* m_inplace_control = nullptr;
    std::vector<std::int32_t> m_boundaries;
    GridCell m_inplace_cell {};
    liba::Timer m_long_press;
    ButtonLook m_normal_look;
    ButtonLook m_selection_look;
    ButtonLook m_highlight_look;
    ButtonLook m_selection_highlight_look;
    ButtonLook m_header_look;
    Point m_border_min {};
    Point m_border_max {};
    // The panel's bars: rows vertically, pixels horizontally.
    ControlScrollBar& m_vertical;
    ControlScrollBar& m_horizontal;
    std::unique_ptr<Painter> m_painter;
};

// Covers the cell area: paints the visible cells and turns pen positions into cells.
class ControlGrid::Painter : public Control {
public:
    enum class Part : std::int32_t { header = 0, rows = 1, none = 2 };

    Painter(ControlGrid& grid, Container& container);

    void paint(Canvas& canvas, Point area_position, Size area_size) override;
    void on_pen_move(Point point) override;
    void on_pen_leave() override;
    void on_pen_down(Point point, std::int32_t argument) override;
    void on_pen_up(Point point, std::int32_t argument) override;
    void on_context_down(Point point, std::int32_t argument) override;
    void on_context_up(Point point, std::int32_t argument) override;
    void on_wheel(Point point, std::int32_t steps) override;
    // The cells follow the grid's own "Gestures" flag.
    bool wants_gestures() const override;

    // Lookups at a point in form coordinates.
    Part get_part(Point point) const;
    // -1 when no column is there; inside_x is the x within the cell.
    std::int32_t get_column(Point point, std::int32_t& inside_x) const;
    // The item count when no row is there; inside_y is the y within the cell.
    std::int32_t get_row(Point point, std::int32_t& inside_y) const;

    Part pressed_part() const { return m_pressed_part; }

private:
    GridCellEvent cell_event(Point point, std::uint32_t flags) const;
    void follow_highlight(Point point);

    ControlGrid& m_grid;
    Part m_pressed_part = Part::none;
    bool m_context_pressed = false;
};

}
