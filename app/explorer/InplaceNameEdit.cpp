#include "app/explorer/InplaceNameEdit.h"

#include "skinner/controls/ControlGrid.h"
#include "skinner/graphics/Canvas.h"

InplaceNameEdit::InplaceNameEdit(skinner::ControlGrid& grid, skinner::Container& container)
    : Control(container, u"EditInListKind", skinner::ControlMode::kind)
    , m_grid(grid)
{
    set_visible(false);
    load_looks();
}

void InplaceNameEdit::load()
{
    Control::load();
    load_looks();
}

void InplaceNameEdit::load_looks()
{
    m_background = get_property_picture(u"Normal", {});
    m_font = get_property_font(u"Normal", {});
    m_color = get_property_color(u"Normal", {});
    m_border = get_property_point(u"BorderMin", {});
}

void InplaceNameEdit::set_text(std::u16string_view text)
{
    m_text = text;
    invalidate();
}

bool InplaceNameEdit::on_text_input(std::u16string_view text)
{
    if (!is_visible())
        return false;
    for (char16_t c : text) {
        // Control characters never become part of a name.
        if (c >= 32 && c != 127)
            m_text.push_back(c);
    }
    invalidate();
    return true;
}

bool InplaceNameEdit::on_keydown(skinner::KeyCode key)
{
    if (!is_visible())
        return false;
    switch (key) {
    case skinner::key::back:
        if (!m_text.empty()) {
            // A surrogate pair goes as one character.
            m_text.pop_back();
            if (!m_text.empty() && m_text.back() >= 0xD800 && m_text.back() < 0xDC00)
                m_text.pop_back();
        }
        invalidate();
        return true;
    case skinner::key::enter:
        m_grid.end_inplace_edit(true);
        return true;
    case skinner::key::escape:
        m_grid.end_inplace_edit(false);
        return true;
    default:
        return false;
    }
}

void InplaceNameEdit::paint(skinner::Canvas& canvas, skinner::Point area_position, skinner::Size area_size)
{
    m_background.draw(canvas, position(), size());
    const skinner::Point at { position().x + m_border.x, position().y };
    const skinner::Size room { std::max(size().width - 2 * m_border.x, 0), size().height };
    // The end of the text stays in view, where the caret is.
    canvas.draw_text_ellipsis_start(m_font, m_color, m_text, at, room, 0, 1);
    Control::paint(canvas, area_position, area_size);
}
