#include "skinner/widgets/tabs/ControlTab.h"

#include "skinner/core/Form.h"
#include "skinner/core/MenuEntry.h"
#include "skinner/skin/Edition.h"
#include "skinner/widgets/tabs/ControlTabElement.h"
#include "skinner/graphics/Canvas.h"

#include <algorithm>
#include <numeric>

namespace skinner {

namespace {
// Canvas text alignment: centred both ways.
constexpr std::int32_t text_center = 1;
constexpr std::int32_t text_vcenter = 1;
}

// Header grid

ControlTab::Grid::Grid(ControlTab& tab, std::u16string_view kind)
    : ControlGrid(*tab.get_container(), kind, ControlMode::kind)
    , m_tab(tab)
{
}

std::int32_t ControlTab::Grid::get_column_count() const
{
    return std::int32_t(m_tab.pages().size());
}

std::int32_t ControlTab::Grid::get_column_width(std::int32_t column) const
{
    return column >= 0 && std::size_t(column) < widths.size() ? widths[std::size_t(column)] : 0;
}

void ControlTab::Grid::paint_item(std::int32_t column, std::int32_t, Canvas& canvas, Point position, Size size,
    bool selected, bool highlighted)
{
    // A tab cut by the strip's ends (by the arrows) is left out: only whole labels show.
    const Point strip = painter().position();
    if (position.x < strip.x || position.x + size.width > strip.x + painter().size().width)
        return;
    const ButtonLook& look = get_item_look(selected, highlighted);
    look.picture.draw(canvas, position, size);
    if (column < 0 || std::size_t(column) >= m_tab.pages().size())
        return;
    canvas.draw_text(look.font, look.text_color, m_tab.pages()[std::size_t(column)]->title(), position, size,
        text_center, text_vcenter);
}

void ControlTab::Grid::notify_selection_changed()
{
    ControlGrid::notify_selection_changed();
    const std::int32_t column = get_selected_column();
    if (column >= 0 && column != m_tab.visible_page())
        m_tab.show_page_at(column);
}

// Tab

ControlTab::ControlTab(Container& container, std::u16string_view id, ControlMode mode)
    : ControlTabBase(container, id, mode)
    , m_grid(*this, get_property_string(u"KindGrid", u""))
    , m_left(*get_container(), get_property_string(u"KindMin", u""), ControlMode::kind)
    , m_right(*get_container(), get_property_string(u"KindMax", u""), ControlMode::kind)
{
    m_grid.set_z_order(0);
    for (ControlButton* arrow : { &m_left, &m_right }) {
        arrow->set_z_order(1);
        arrow->set_want_focus(false);
    }
    m_header_visible = true;
    set_header_visible(!is_smartphone);
    load_properties();
}

ControlTab::~ControlTab()
{
    // Takes the tab off its form's menu list.
    set_header_visible(true);
}

void ControlTab::load()
{
    ControlTabBase::load();
    load_properties();
}

void ControlTab::load_properties()
{
    m_header_height = get_property_int_scaled(u"HeaderHeight", 0);
    m_arrow_width = get_property_int_scaled(u"ButtonWidth", 0);
    m_text_border = get_property_int_scaled(u"TextBorder", 0);
    m_bottom = get_property_string(u"Orientation", u"") == u"BOTTOM";
}

void ControlTab::set_rect(Point position, Size size)
{
    ControlTabBase::set_rect(position, size);
    m_grid.widths.assign(m_pages.size(), 0);
    if (!m_header_visible) {
        for (ControlTabElement* page : m_pages)
            page->set_rect(position, size);
        m_grid.refresh();
        return;
    }
    const std::int32_t header = m_header_height;
    const Point page_at { position.x, m_bottom ? position.y : position.y + header };
    for (ControlTabElement* page : m_pages)
        page->set_rect(page_at, { size.width, size.height - header });
    const std::int32_t row = m_bottom ? position.y + size.height - header : position.y;
    for (std::size_t i = 0; i < m_pages.size(); ++i) {
        std::int32_t widest = 0;
        for (bool selected : { false, true })
            for (bool highlighted : { false, true })
                widest = std::max(widest,
                    measure_text(m_grid.get_item_look(selected, highlighted).font, m_pages[i]->title()).width);
        m_grid.widths[i] = widest + 2 * m_text_border;
    }
    const std::int64_t total = std::accumulate(m_grid.widths.begin(), m_grid.widths.end(), std::int64_t(0));
    const std::int32_t arrow = total > size.width ? m_arrow_width : 0;
    m_grid.set_rect({ position.x, row }, { std::max(size.width - 2 * arrow, 0), header });
    m_left.set_rect({ position.x + size.width - 2 * arrow, row }, { arrow, header });
    m_right.set_rect({ position.x + size.width - arrow, row }, { arrow, header });
}

void ControlTab::set_header_visible(bool visible)
{
    if (visible == m_header_visible)
        return;
    m_header_visible = visible;
    m_grid.set_visible(visible);
    m_left.set_visible(visible);
    m_right.set_visible(visible);
    on_menu_bar_item(*this, *this, !visible);
    update_layout();
}

void ControlTab::add_page(ControlTabElement& page)
{
    m_pages.push_back(&page);
    update_layout();
    if (!m_had_pages) {
        m_had_pages = true;
        page.set_visible(true);
        page.take_focus();
    } else {
        page.set_visible(false);
    }
    refresh_header_selection();
}

void ControlTab::remove_page(ControlTabElement& page)
{
    std::erase(m_pages, &page);
    if (!m_pages.empty() && visible_page() < 0)
        m_pages.back()->set_visible(true);
    invalidate();
}

void ControlTab::on_page_shown(ControlTabElement& page)
{
    for (ControlTabElement* other : m_pages)
        if (other != &page)
            other->set_visible(false);
    refresh_header_selection();
}

void ControlTab::refresh_header_selection()
{
    const std::int32_t index = visible_page();
    if (index < 0)
        return;
    m_grid.set_selected_column(index);
    m_grid.scroll_column_into_view(index);
    m_grid.refresh();
}

std::int32_t ControlTab::visible_page() const
{
    for (std::size_t i = 0; i < m_pages.size(); ++i)
        if (m_pages[i]->own_visible())
            return std::int32_t(i);
    return -1;
}

bool ControlTab::show_page_at(std::int32_t index)
{
    if (index < 0 || std::size_t(index) >= m_pages.size())
        return false;
    m_pages[std::size_t(index)]->set_visible(true);
    return true;
}

bool ControlTab::next_page()
{
    const std::int32_t index = visible_page();
    if (index < 0 || !show_page_at(index + 1))
        return false;
    m_pages[std::size_t(index) + 1]->take_focus();
    return true;
}

bool ControlTab::previous_page()
{
    const std::int32_t index = visible_page();
    if (index <= 0 || !show_page_at(index - 1))
        return false;
    m_pages[std::size_t(index) - 1]->take_focus();
    return true;
}

// The arrows turn the strip by whole tabs: the right one brings the first tab
// not wholly shown to the start, the left one shows the whole tabs before the
// first one shown that fit.
bool ControlTab::on_click(Control& sender)
{
    if (&sender != &m_left && &sender != &m_right)
        return ControlTabBase::on_click(sender);
    const std::vector<std::int32_t>& edges = m_grid.column_boundaries();
    const std::int32_t offset = m_grid.get_horizontal_offset();
    const std::int32_t width = m_grid.painter().size().width;
    std::int32_t target = offset;
    if (&sender == &m_right) {
        for (std::size_t i = 0; i + 1 < edges.size(); ++i)
            if (edges[i] > offset && edges[i + 1] > offset + width) {
                target = edges[i];
                break;
            }
    } else {
        for (std::int32_t edge : edges)
            if (edge < offset && edge >= offset - width) {
                target = edge;
                break;
            }
        if (target == offset && offset > 0)
            target = std::max(offset - width, 0);
    }
    m_grid.set_horizontal_offset(target);
    return true;
}

bool ControlTab::on_item_click(Control& sender, const GridCellEvent& cell)
{
    if (&sender == &m_grid) {
        const std::int32_t column = m_grid.get_selected_column();
        if (column >= 0 && std::size_t(column) < m_pages.size())
            m_pages[std::size_t(column)]->take_focus();
    }
    return ControlTabBase::on_item_click(sender, cell);
}

bool ControlTab::on_command(std::u16string_view command)
{
    for (ControlTabElement* page : m_pages)
        if (page->id() == command) {
            page->set_visible(true);
            return true;
        }
    return ControlTabBase::on_command(command);
}

void ControlTab::build_menu_entry(MenuEntry& entry)
{
    entry = MenuEntry(u"#smartphone_tab#", u"");
    entry.owner = this;
}

bool ControlTab::on_build_menu(Control&, MenuEntry& menu)
{
    for (ControlTabElement* page : m_pages) {
        MenuEntry item(page->id(), page->title());
        item.checked = page->own_visible();
        menu.children.push_back(std::move(item));
    }
    return true;
}

}
