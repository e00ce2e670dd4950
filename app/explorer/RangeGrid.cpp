#include "app/explorer/RangeGrid.h"

#include "model/FileHelpers.h"
#include "skinner/graphics/Canvas.h"
#include "skinner/graphics/Font.h"

#include <algorithm>
#include <cmath>

namespace {

// Canvas text alignment: left, vertically centred.
constexpr std::int32_t text_left = 0;
constexpr std::int32_t text_vcenter = 1;

}

RangeGrid::RangeGrid(skinner::Container& container, std::u16string_view id, skinner::ControlMode mode)
    : ControlListGeneric(container, id, mode)
    , m_edit(*get_container(), get_property_string(u"EditKind", u""), skinner::ControlMode::kind)
{
    m_edit.set_visible(false);
    load_looks();
    // The base laid out the one column it knows of while it was being built.
    refresh();
}

RangeGrid::~RangeGrid() = default;

void RangeGrid::load()
{
    ControlListGeneric::load();
    load_looks();
    refresh();
}

void RangeGrid::load_looks()
{
    m_check_enabled = get_property_picture(u"CheckEnabled", {});
    m_check_disabled = get_property_picture(u"CheckDisabled", {});
    m_check_box_width = get_property_int_scaled(u"CheckBoxWidth", 0);
    m_start_width = get_property_int_scaled(u"StartWidth", 0);
    m_duration_width = get_property_int_scaled(u"DurationWidth", 0);
    fit_times();
}

// A time column holds its widest text in every look after a space's gap, so
// the start does not run into the name nor the end into the start; the end,
// the last column, keeps a gap from the edge as well.
void RangeGrid::fit_times()
{
    m_time_gap = 0;
    std::int32_t widest = 0;
    for (bool selected : { false, true })
        for (bool highlighted : { false, true }) {
            const skinner::Font& font = get_item_look(selected, highlighted).font;
            m_time_gap = std::max(m_time_gap, skinner::measure_text(font, u" ").width);
            widest = std::max(widest, skinner::widest_digits_width(font, u"00:00:00"));
        }
    m_start_width = std::max(m_start_width, m_time_gap + widest);
    m_duration_width = std::max(m_duration_width, 2 * m_time_gap + widest);
}

std::int32_t RangeGrid::get_column_width(std::int32_t column) const
{
    switch (column) {
    case column_check:
        return m_check_box_width;
    case column_start:
        return m_start_width;
    case column_end:
        return m_duration_width;
    default:
        return -1;
    }
}

void RangeGrid::paint_item(std::int32_t column, std::int32_t row, skinner::Canvas& canvas, skinner::Point position,
    skinner::Size size, bool selected, bool highlighted)
{
    const skinner::ButtonLook& look = get_item_look(selected, highlighted);
    look.picture.draw(canvas, position, size);
    if (row < 0 || std::size_t(row) >= items.size())
        return;
    const RangeGridRow& item = items[std::size_t(row)];
    if (column == column_check) {
        const skinner::Picture& check = item.played ? m_check_enabled : m_check_disabled;
        const skinner::Size own = check.get_size();
        check.draw(canvas,
            { position.x + (m_check_box_width - own.width) / 2, position.y + (m_check_box_width - own.height) / 2 },
            own);
        return;
    }
    if (column == column_name) {
        canvas.draw_text(look.font, look.text_color, item.name, position, size, text_left, text_vcenter);
        return;
    }
    const std::u16string& text = column == column_start ? item.start_text : item.end_text;
    const std::int32_t gap = std::min(m_time_gap, size.width);
    canvas.draw_text(look.font, look.text_color, text, { position.x + gap, position.y },
        { size.width - gap, size.height }, text_left, text_vcenter);
}

std::u16string RangeGrid::time_text(double seconds)
{
    // Beyond any real length the text makes no sense, but must not overflow.
    if (!std::isfinite(seconds) || seconds < 0 || seconds > 1e12)
        seconds = 0;
    const auto whole = static_cast<std::int64_t>(seconds);
    const auto hundredths = static_cast<std::int64_t>(seconds * 100) % 100;
    return two_digit_text(int(whole % 3600 / 60)) + u":" + two_digit_text(int(whole % 60)) + u":"
        + two_digit_text(int(hundredths));
}
