#include "skinner/widgets/lists/ControlGrid.h"

#include "os/Log.h"
#include "skinner/core/Form.h"

#include <algorithm>
#include <limits>

namespace skinner {

namespace {

constexpr double long_press_seconds = 0.5;


ButtonLook load_look(const Control& control, std::u16string_view key, const ButtonLook& fallback)
{
    return ButtonLook {
        control.get_property_picture(key, fallback.picture),
        control.get_property_font(key, fallback.font),
        control.get_property_color(key, fallback.text_color),
    };
}

std::int32_t saturate(std::int64_t value)
{
    return std::int32_t(std::clamp<std::int64_t>(value, 0, std::numeric_limits<std::int32_t>::max()));
}

}

ControlGrid::ControlGrid(Container& container, std::u16string_view id, ControlMode mode)
    : ControlPanelAutoScroll(container, id, mode)
    , m_long_press(*this)
    , m_vertical(vscroll())
    , m_horizontal(hscroll())
    , m_painter(std::make_unique<Painter>(*this, *get_container()))
{
    load_properties();
}

ControlGrid::~ControlGrid()
{
    m_long_press.cancel();
}

void ControlGrid::load()
{
    ControlPanelAutoScroll::load();
    load_properties();
}

void ControlGrid::load_properties()
{
    m_item_height = get_property_int_scaled(u"ItemHeight", 40);
    m_border_min = get_property_point(u"BorderMin", {});
    m_border_max = get_property_point(u"BorderMax", m_border_min);
    m_normal_look = load_look(*this, u"ItemNormal", ButtonLook {});
    m_selection_look = load_look(*this, u"ItemSelection", m_normal_look);
    m_highlight_look = load_look(*this, u"ItemHighlight", m_normal_look);
    m_selection_highlight_look = load_look(*this, u"ItemSelectionHighlight", m_selection_look);
    m_header_look = load_look(*this, u"HeaderNormal", m_normal_look);
    m_background = get_property_picture(u"Normal", Picture());
    m_background_focused = get_property_picture(u"Highlighted", m_background);
    m_background_disabled = get_property_picture(u"Disabled", m_background);
}

std::int32_t ControlGrid::get_item_height(std::int32_t) const
{
    return m_item_height;
}

std::int32_t ControlGrid::row_height() const
{
    // A skin may give 0; rows are divided by this height.
    return std::max(get_item_height(0), 1);
}

const ButtonLook& ControlGrid::get_item_look(bool selected, bool highlighted) const
{
    if (selected)
        return highlighted ? m_selection_highlight_look : m_selection_look;
    return highlighted ? m_highlight_look : m_normal_look;
}

// Events

void ControlGrid::item_clicked(const GridCellEvent& event)
{
    on_item_click(*this, event);
}

void ControlGrid::context_menu(const GridCellEvent& event)
{
    on_context_menu(*this, event);
}

void ControlGrid::header_clicked(const GridHeaderEvent& event)
{
    on_header_click(*this, event);
}

void ControlGrid::header_context_menu(const GridHeaderEvent& event)
{
    on_header_context_menu(*this, event);
}

void ControlGrid::inplace_edit_ended(const GridInplaceEditEnd& event)
{
    on_inplace_edit_end(*this, event);
}

void ControlGrid::notify_selection_changed()
{
    on_selection_changed(*this);
    invalidate();
}

void ControlGrid::notify_highlight_changed()
{
    GridCellEvent cell;
    cell.column = get_highlight_column();
    cell.row = get_highlight_row();
    on_highlight_changed(*this, cell);
    invalidate();
}

// Layout

Point ControlGrid::painter_position() const
{
    return m_painter->position();
}

Size ControlGrid::painter_size() const
{
    return m_painter->size();
}

void ControlGrid::set_rect(Point position, Size size)
{
    set_rect_no_layout(position, size);
    const std::int32_t count = std::max(get_item_count(), 0);
    const std::int32_t columns = std::max(get_column_count(), 0);
    const std::int32_t item_height = row_height();
    const std::int32_t header_height = std::max(get_header_height(), 0);
    std::int64_t fixed = 0;
    for (std::int32_t c = 0; c < columns; ++c)
        fixed += std::max(get_column_width(c), 0);
    const Size content { saturate(fixed), saturate(header_height + std::int64_t(item_height) * count) };

    update_scroll_layout(*m_painter, content);
    const Size client_size = painter_size();
    lay_out_columns(client_size.width);
    m_vertical.set_range(0, count);
    m_vertical.set_page(std::max(client_size.height - header_height, 0) / item_height);
    m_horizontal.set_range(0, m_boundaries.back());
    m_horizontal.set_page(client_size.width);
    place_scroll_bars();
    if (m_inplace_control)
        place_inplace_control();
}

void ControlGrid::lay_out_columns(std::int32_t painter_width)
{
    const std::int32_t columns = std::max(get_column_count(), 0);
    std::vector<std::int32_t> widths(std::size_t(columns), 0);
    std::int64_t fixed = 0;
    std::int64_t shares = 0;
    std::int32_t last_share = -1;
    for (std::int32_t c = 0; c < columns; ++c) {
        widths[std::size_t(c)] = get_column_width(c);
        if (widths[std::size_t(c)] >= 0) {
            fixed += widths[std::size_t(c)];
        } else {
            shares -= widths[std::size_t(c)];
            last_share = c;
        }
    }
    const std::int64_t free_width = std::max<std::int64_t>(painter_width - fixed, 0);
    std::int64_t given = 0;
    m_boundaries.assign(1, 0);
    std::int64_t edge = 0;
    for (std::int32_t c = 0; c < columns; ++c) {
        std::int64_t width = widths[std::size_t(c)];
        if (width < 0) {
            width = c == last_share ? free_width - given : -width * free_width / shares;
            given += width;
        }
        edge += width;
        m_boundaries.push_back(saturate(edge));
    }
}

void ControlGrid::refresh()
{
    update_layout();
    invalidate();
}

void ControlGrid::scroll_to(std::int32_t row)
{
    m_vertical.set_position(row);
    invalidate();
}

void ControlGrid::set_horizontal_offset(std::int32_t pixels)
{
    m_horizontal.set_position(pixels);
    invalidate();
}

void ControlGrid::ensure_visible(std::int32_t row)
{
    const std::int32_t first = get_first_visible_row();
    const std::int32_t page = m_vertical.get_page();
    if (row < first)
        scroll_to(row);
    else if (row >= first + page)
        scroll_to(row - page + 1);
}

void ControlGrid::scroll_column_into_view(std::int32_t column)
{
    if (column < 0 || column >= get_column_count() || std::size_t(column) + 1 >= m_boundaries.size())
        return;
    std::int32_t offset = get_horizontal_offset();
    const std::int32_t width = painter_size().width;
    const std::int32_t right = m_boundaries[std::size_t(column) + 1];
    if (right - offset > width)
        offset = right - width;
    if (m_boundaries[std::size_t(column)] < offset)
        offset = m_boundaries[std::size_t(column)];
    set_horizontal_offset(offset);
}

Point ControlGrid::get_cell_rect(std::int32_t column, std::int32_t row, Size& size) const
{
    const Point origin = painter_position();
    const Size area = painter_size();
    const std::int32_t columns = std::int32_t(m_boundaries.size()) - 1;
    std::int32_t x = 0;
    std::int32_t width = 0;
    if (column >= columns) {
        x = area.width;
    } else if (column >= 0) {
        x = m_boundaries[std::size_t(column)] - get_horizontal_offset();
        width = m_boundaries[std::size_t(column) + 1] - m_boundaries[std::size_t(column)];
    }
    const std::int32_t left = std::clamp(x, 0, std::max(area.width, 0));
    width = std::clamp(width - (left - x), 0, std::max(area.width - left, 0));
    const std::int32_t header = std::max(get_header_height(), 0);
    const std::int64_t y = header + std::int64_t(row - get_first_visible_row()) * row_height();
    const std::int32_t top = std::int32_t(std::clamp<std::int64_t>(y, header, std::max(area.height - header, header)));
    size = { width, std::clamp(row_height(), 0, std::max(area.height - top, 0)) };
    return { origin.x + left, origin.y + top };
}

// In-place editing

void ControlGrid::start_inplace_edit(Control& control, std::int32_t column, std::int32_t row)
{
    end_inplace_edit(true);
    if (&control.container() != get_container())
        os::fatal_error(u"ControlGrid::start_inplace_edit", u"inplace_control->get_container() != get_panel_container()");
    m_inplace_control = &control;
    m_inplace_cell = { column, row };
    control.set_z_order(1);
    update_layout();
    control.take_focus();
}

void ControlGrid::end_inplace_edit(bool commit)
{
    if (!m_inplace_control)
        return;
    Control* control = m_inplace_control;
    const GridCell cell = m_inplace_cell;
    m_inplace_control = nullptr;
    m_inplace_cell = {};
    control->set_visible(false);
    get_container()->set_focus(nullptr);
    inplace_edit_ended({ cell.column, cell.row, commit });
    invalidate();
}

void ControlGrid::place_inplace_control()
{
    scroll_column_into_view(m_inplace_cell.column);
    ensure_visible(m_inplace_cell.row);
    const Point origin = painter_position();
    const Size area = painter_size();
    const std::int32_t column = m_inplace_cell.column;
    const bool known = column >= 0 && std::size_t(column) + 1 < m_boundaries.size();
    const std::int32_t x = origin.x + (known ? m_boundaries[std::size_t(column)] : 0) - get_horizontal_offset();
    const std::int64_t y = origin.y + std::max(get_header_height(), 0)
        + std::int64_t(m_inplace_cell.row - get_first_visible_row()) * row_height();
    const std::int32_t column_width
        = known ? m_boundaries[std::size_t(column) + 1] - m_boundaries[std::size_t(column)] : 0;
    const Size size {
        std::clamp(column_width, 0, std::max(origin.x + area.width - x, 0)),
        std::int32_t(std::clamp<std::int64_t>(row_height(), 0, std::max<std::int64_t>(origin.y + area.height - y, 0))),
    };
    m_inplace_control->set_rect({ x, std::int32_t(y) }, size);
    m_inplace_control->set_visible(true);
}

void ControlGrid::end_edit_if_outside(Point point)
{
    if (m_inplace_control && !m_inplace_control->hit_test(point))
        end_inplace_edit(true);
}

// Control

bool ControlGrid::on_scroll(Control& sender, std::int32_t position)
{
    if (&sender == &m_vertical || &sender == &m_horizontal)
        invalidate();
    return ControlPanelAutoScroll::on_scroll(sender, position);
}

void ControlGrid::on_focus_lost()
{
    ControlPanelAutoScroll::on_focus_lost();
    end_inplace_edit(true);
}

void ControlGrid::on_enabled_changed(bool enabled)
{
    ControlPanelAutoScroll::on_enabled_changed(enabled);
    if (!enabled)
        end_inplace_edit(false);
}

void ControlGrid::paint(Canvas& canvas, Point area_position, Size area_size)
{
    const Picture& background = !is_enabled() ? m_background_disabled
        : container().focused() == this       ? m_background_focused
                                              : m_background;
    background.draw(canvas, position(), size());
    get_container()->paint(canvas, area_position, area_size);
    Control::paint(canvas, area_position, area_size);
}

bool ControlGrid::hit_test(Point point) const
{
    if (ControlPanelAutoScroll::hit_test(point))
        return true;
    return Control::hit_test(point) && !m_background.hit_test(point, position(), size());
}

void ControlGrid::on_pen_down(Point point, std::int32_t argument)
{
    ControlPanelAutoScroll::on_pen_down(point, argument);
    end_edit_if_outside(point);
}

void ControlGrid::on_context_down(Point point, std::int32_t argument)
{
    ControlPanelAutoScroll::on_context_down(point, argument);
    end_edit_if_outside(point);
}

void ControlGrid::on_alt_down(Point point, std::int32_t argument)
{
    ControlPanelAutoScroll::on_alt_down(point, argument);
    end_edit_if_outside(point);
}

bool ControlGrid::on_keydown(KeyCode key)
{
    if (m_inplace_control) {
        if (key == key::escape || key == key::enter) {
            end_inplace_edit(key == key::enter);
            return true;
        }
        return ControlPanelAutoScroll::on_keydown(key);
    }
    if (key == key::enter) {
        if (!m_long_press.is_active())
            m_long_press.start(long_press_seconds);
        return false;
    }
    if (key == key::apps) {
        on_timer(m_long_press);
        return true;
    }
    if (!on_key(key))
        return false;
    update_layout();
    invalidate();
    return true;
}

bool ControlGrid::on_keyup(KeyCode key)
{
    if (key == key::enter)
        m_long_press.cancel();
    return m_inplace_control && ControlPanelAutoScroll::on_keyup(key);
}

// The context menu of the current cell, from a held action key or the menu key.
void ControlGrid::on_timer(liba::Timer&)
{
    const GridCell cell = get_current_cell();
    Size size;
    const Point corner = get_cell_rect(cell.column, cell.row, size);
    GridCellEvent event;
    event.column = cell.column;
    event.row = cell.row;
    event.cell_point = { size.width / 2, size.height / 2 };
    event.point = { corner.x + size.width / 2, corner.y + size.height / 2 };
    if (cell.column < 0)
        event.point.x = painter_position().x + painter_size().width / 5;
    if (cell.row < 0)
        event.point.y = painter_position().y + painter_size().height / 5;
    context_menu(event);
}

}
