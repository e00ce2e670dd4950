#include "skinner/widgets/edit/ControlEdit.h"

#include "liba/Conversion.h"
#include "os/ClipboardFormat.h"
#include "os/ClipboardReader.h"
#include "os/ClipboardWriter.h"
#include "os/Log.h"
#include "platform/ui/DeviceContext.h"
#include "skinner/core/Alignment.h"
#include "skinner/core/Form.h"
#include "skinner/core/FormImpl.h"
#include "skinner/graphics/Canvas.h"

#include <algorithm>
#include <cstring>

namespace skinner {

namespace {

constexpr KeyCode key_a = key::letter_a;
constexpr KeyCode key_c = key::letter_a + 2;
constexpr KeyCode key_v = key::letter_a + 21;
constexpr KeyCode key_x = key::letter_a + 23;

bool shift_down()
{
    return Control::is_key_down(key::shift);
}

bool control_down()
{
    return Control::is_key_down(key::control);
}

// Widths of every start of the text, as drawing measures them.
std::vector<std::int32_t> prefix_widths(const Font& font, std::u16string_view text)
{
    const platform::Font* platform_font = font.platform_font();
    if (!platform_font || text.empty())
        return {};
    platform::DeviceContext dc = platform::DeviceContext::for_screen();
    dc.select_font(platform_font);
    return dc.text_prefix_widths(text);
}

}

ControlEdit::ControlEdit(Container& container, std::u16string_view name, ControlMode mode)
    : Control(container, name, mode)
    , m_impl(std::make_unique<ControlEditImpl>())
{
    m_text = get_property_string(u"Text", u"");
    set_gestures(true);
    load_edit();
}

ControlEdit::~ControlEdit()
{
    if (timer_id() != 0)
        kill_timer();
}

void ControlEdit::load()
{
    Control::load();
    load_edit();
}

void ControlEdit::load_edit()
{
    m_impl.reset();
    m_border_min = get_property_point(u"BorderMin", {});
    m_border_max = get_property_point(u"BorderMax", m_border_min);
    m_input_mode = get_property_string(u"InputMode", m_input_mode);
    m_caret_width = 1;
    m_normal = get_property_picture(u"Normal", {});
    m_highlighted = get_property_picture(u"Highlighted", m_normal);
    m_disabled = get_property_picture(u"Disabled", m_normal);
    m_readonly = get_property_picture(u"Readonly", m_disabled);
    m_selection = get_property_picture(u"Selection", {});
    m_font_normal = get_property_font(u"Normal", {});
    m_font_disabled = get_property_font(u"Disabled", m_font_normal);
    m_font_readonly = get_property_font(u"Readonly", m_font_disabled);
    m_color_normal = get_property_color(u"Normal", {});
    m_color_disabled = get_property_color(u"Disabled", m_color_normal);
    m_color_readonly = get_property_color(u"Readonly", m_color_disabled);
    m_color_selection = get_property_color(u"Selection", m_color_normal);
    m_read_only = get_property_int(u"Readonly", m_read_only) != 0;
    const std::u16string password = get_property_string(u"PasswordChar", std::u16string(1, m_password_char));
    m_password_char = password.empty() ? 0 : password.front();
    m_impl = create_edit_impl(*this);
    m_impl->set_rect(position(), size());
    m_impl->set_input_mode(m_input_mode);
    m_impl->set_readonly(m_read_only);
    m_impl->set_text(m_text);
    m_impl->set_visible(is_visible());
}

void ControlEdit::notify_text_changed()
{
    on_text_changed(*this);
}

void ControlEdit::notify_click()
{
    on_click(*this);
}

void ControlEdit::set_text(std::u16string_view text)
{
    if (text == m_text)
        return;
    m_anchor = 0;
    m_caret = std::int32_t(m_text.size());
    replace_selection(text);
    m_impl->set_text(m_text);
}

void ControlEdit::take_text_from_impl(std::u16string_view text)
{
    if (text == m_text)
        return;
    m_text = text;
    m_anchor = clamp(m_anchor);
    m_caret = clamp(m_caret);
    notify_text_changed();
    invalidate();
}

std::int32_t ControlEdit::clamp(std::int32_t position) const
{
    return std::clamp(position, 0, std::int32_t(m_text.size()));
}

void ControlEdit::set_selection(std::int32_t start, std::int32_t end)
{
    m_anchor = clamp(start);
    m_caret = clamp(end);
    m_impl->set_selection(m_anchor, m_caret);
    invalidate();
}

// Editing

void ControlEdit::erase(std::int32_t start, std::int32_t end)
{
    m_anchor = m_caret = start;
    if (start == end)
        return;
    m_text.erase(std::size_t(start), std::size_t(end - start));
    notify_text_changed();
    invalidate();
}

void ControlEdit::delete_selection()
{
    erase(selection_start(), selection_end());
}

void ControlEdit::replace_selection(std::u16string_view text)
{
    const std::int32_t start = selection_start();
    const std::u16string before = m_text;
    m_text.replace(std::size_t(start), std::size_t(selection_end() - start), text);
    m_anchor = m_caret = start + std::int32_t(text.size());
    if (m_text != before) {
        notify_text_changed();
        invalidate();
    }
}

bool ControlEdit::copy_selection()
{
    const std::u16string_view selected = std::u16string_view(m_text).substr(
        std::size_t(selection_start()), std::size_t(selection_end() - selection_start()));
    os::ClipboardWriter writer(os::clipboard_unicode_text, (selected.size() + 1) * sizeof(char16_t), true);
    if (!writer.is_valid())
        return false;
    std::memcpy(writer.data(), selected.data(), selected.size() * sizeof(char16_t));
    return true;
}

void ControlEdit::paste()
{
    os::ClipboardReader reader(os::clipboard_unicode_text);
    if (!reader.has_data() || reader.size() < 2 || reader.size() % 2 != 0)
        return;
    std::u16string block(reader.size() / 2, u'\0');
    std::memcpy(block.data(), reader.data(), reader.size());
    // The text ends at its first zero, whatever the block's size says.
    block.resize(std::min(block.find(u'\0'), block.size() - 1));
    std::erase_if(block, [](char16_t c) { return c < 32; });
    replace_selection(block);
}

void ControlEdit::cut()
{
    if (copy_selection())
        delete_selection();
}

// Pen

std::int32_t ControlEdit::width_to(std::int32_t count) const
{
    if (count <= 0 || m_char_right.empty())
        return 0;
    return m_char_right[std::size_t(std::min<std::int32_t>(count, std::int32_t(m_char_right.size())) - 1)];
}

void ControlEdit::measure()
{
    m_char_right = prefix_widths(*current_look().font, shown_text());
}

std::int32_t ControlEdit::position_at(Point point) const
{
    const std::int32_t d = point.x - m_text_offset - m_border_min.x - position().x;
    if (d < 0)
        return 0;
    const std::int32_t n
        = std::min<std::int32_t>(std::int32_t(m_text.size()), std::int32_t(m_char_right.size()));
    std::int32_t prev = 0;
    for (std::int32_t i = 0; i < n; ++i) {
        const std::int32_t mid = (m_char_right[std::size_t(i)] + prev) / 2;
        if (d < mid)
            return i;
        prev = m_char_right[std::size_t(i)];
    }
    return n;
}

std::int32_t ControlEdit::word_start_before(std::int32_t p) const
{
    const auto space = [this](std::int32_t i) { return liba::is_space(m_text[std::size_t(i)]); };
    if (m_text.empty())
        return 0;
    p = std::min(p, std::int32_t(m_text.size()) - 1);
    while (p > 0 && space(p))
        --p;
    while (p > 0 && !space(p))
        --p;
    if (space(p))
        ++p;
    return p;
}

std::int32_t ControlEdit::word_end_after(std::int32_t p) const
{
    const auto size = std::int32_t(m_text.size());
    while (p < size && !liba::is_space(m_text[std::size_t(p)]))
        ++p;
    while (p < size && liba::is_space(m_text[std::size_t(p)]))
        ++p;
    return p;
}

void ControlEdit::on_pen_down(Point point, std::int32_t argument)
{
    m_dragging = true;
    measure();
    m_anchor = m_caret = position_at(point);
    if (argument == 1) {
        m_caret = word_end_after(m_caret);
        m_anchor = word_start_before(m_anchor);
    }
    m_pen_down_point = point;
    m_impl->set_selection(m_anchor, m_caret);
    invalidate();
}

void ControlEdit::on_pen_move(Point point)
{
    if (!m_dragging)
        return;
    m_caret = position_at(point);
    m_impl->set_selection(m_anchor, m_caret);
    invalidate();
}

void ControlEdit::on_pen_up(Point point, std::int32_t)
{
    if (!m_dragging)
        return;
    m_dragging = false;
    if (!(point == m_pen_down_point)) {
        m_caret = position_at(point);
        m_impl->set_selection(m_anchor, m_caret);
    }
    notify_click();
    invalidate();
    m_blink_counter = 0;
}

void ControlEdit::on_context_down(Point, std::int32_t) { }

void ControlEdit::on_context_up(Point point, std::int32_t)
{
    show_context_menu(point);
}

MenuEntry ControlEdit::context_menu() const
{
    const bool selected = !selection_empty();
    const bool masked = m_password_char != 0;
    const bool all_selected = selection_start() == 0 && selection_end() == std::int32_t(m_text.size());

    struct Item {
        const char16_t* id;
        const char16_t* fallback;
        bool enabled;
    };

    const Item items[] = {
        { u"menuCut", u"Cut", selected && !m_read_only && !masked },
        { u"menuCopy", u"Copy", selected && !masked },
        { u"menuPaste", u"Paste", !m_read_only },
        { u"menuDelete", u"Delete", selected && !m_read_only },
        { u"menuSelectAll", u"Select All", !m_text.empty() && !all_selected },
    };
    MenuEntry root(id(), u"");
    for (const Item& item : items) {
        MenuEntry entry(item.id, translate(item.id, item.fallback));
        entry.enabled = item.enabled;
        root.children.push_back(std::move(entry));
    }
    root.children[3].separator_after = true;
    return root;
}

void ControlEdit::run_menu_command(std::u16string_view command)
{
    if (command == u"menuCut") {
        cut();
    } else if (command == u"menuCopy") {
        copy_selection();
    } else if (command == u"menuPaste") {
        paste();
    } else if (command == u"menuDelete") {
        delete_selection();
    } else if (command == u"menuSelectAll") {
        set_selection(0, std::int32_t(m_text.size()));
    }
}

void ControlEdit::show_context_menu(Point point)
{
    std::u16string chosen;
    on_popup_menu(*this, context_menu(), point, chosen);
    run_menu_command(chosen);
}

// Keys and text

void ControlEdit::move_caret(std::int32_t target, bool extend)
{
    m_caret = target;
    if (!extend)
        m_anchor = target;
    m_impl->set_selection(m_anchor, m_caret);
    m_blink_counter = 0;
    invalidate();
}

bool ControlEdit::on_keydown(KeyCode key)
{
    if (!m_impl->drawn() || m_dragging)
        return false;
    const bool ctrl = control_down();
    const bool shift = shift_down();
    const bool masked = m_password_char != 0;
    const auto length = std::int32_t(m_text.size());
    switch (key) {
    case key_a:
        if (!ctrl)
            return false;
        set_selection(0, length);
        m_blink_counter = 0;
        return true;
    case key_c:
        if (!ctrl)
            return false;
        if (!masked)
            copy_selection();
        return true;
    case key::insert:
        if (ctrl) {
            if (!masked)
                copy_selection();
            return true;
        }
        if (shift) {
            if (!m_read_only)
                paste();
            return true;
        }
        return false;
    case key_v:
        if (!ctrl)
            return false;
        if (!m_read_only)
            paste();
        return true;
    case key_x:
        if (!ctrl)
            return false;
        if (!m_read_only && !masked)
            cut();
        return true;
    case key::del:
        if (shift) {
            if (!m_read_only && !masked)
                cut();
            return true;
        }
        if (!m_read_only) {
            if (!selection_empty())
                delete_selection();
            else if (m_caret < length)
                erase(m_caret, m_caret + 1);
            invalidate();
        }
        return true;
    case key::back:
        if (!m_read_only) {
            if (selection_empty() && m_caret > 0)
                erase(m_caret - 1, m_caret);
            else
                delete_selection();
            invalidate();
        }
        return true;
    case key::left: {
        std::int32_t target = std::max(m_caret - 1, 0);
        if (ctrl)
            target = word_start_before(target);
        if (!shift)
            move_caret(target, false);
        else if (m_caret != 0)
            move_caret(target, true);
        else {
            m_blink_counter = 0;
            invalidate();
        }
        return true;
    }
    case key::right: {
        std::int32_t target = std::min(m_caret + 1, length);
        if (ctrl)
            target = word_end_after(target);
        move_caret(target, shift);
        return true;
    }
    case key::home:
        move_caret(0, shift);
        return true;
    case key::end:
        move_caret(length, shift);
        return true;
    case key::apps: {
        const Look look = current_look();
        const std::int32_t x = position().x + m_border_min.x + m_text_offset
            + measure_text(*look.font, std::u16string_view(shown_text()).substr(0, std::size_t(m_caret)))
                  .width;
        const std::int32_t y
            = position().y + m_border_min.y + (size().height - m_border_min.y - m_border_max.y) / 2;
        show_context_menu({ x, y });
        return true;
    }
    default:
        return false;
    }
}

bool ControlEdit::on_text_input(std::u16string_view text)
{
    if (!m_impl->drawn())
        return false;
    os::log() << u"on_text" << text << u"\n";
    if (m_read_only)
        return false;
    if (m_dragging)
        return true;
    // An empty result (a composition given up) is no edit.
    if (text.empty())
        return true;
    replace_selection(text);
    m_blink_counter = 0;
    return true;
}

// Caret, focus, visibility

bool ControlEdit::caret_visible() const
{
    return !m_dragging && has_focus() && m_blink_counter < m_blink_period / 2;
}

void ControlEdit::on_timer(std::uint32_t)
{
    if (!m_impl->drawn() || !has_focus())
        return;
    const bool shown = m_blink_counter < m_blink_period / 2;
    m_blink_counter = (m_blink_counter + 1) % m_blink_period;
    if (shown != (m_blink_counter < m_blink_period / 2))
        invalidate();
}

bool ControlEdit::on_form_activate()
{
    return m_impl->on_form_activate();
}

void ControlEdit::on_focus_gained()
{
    // The caret blinks only while the edit has the focus: no timer otherwise.
    set_timer(blink_seconds);
    if (is_enabled() && !m_read_only)
        get_form().window().set_input_panel(true);
    invalidate();
    m_impl->on_focus_gained();
}

void ControlEdit::on_focus_lost()
{
    if (timer_id() != 0)
        kill_timer();
    if (m_blink_counter != 0) {
        m_blink_counter = 0;
        invalidate();
    }
    get_form().window().set_input_panel(false);
    invalidate();
    m_impl->on_focus_lost();
}

void ControlEdit::on_visible_changed(bool visible)
{
    m_impl->set_visible(visible);
}

void ControlEdit::set_rect(Point position, Size size)
{
    m_impl->set_rect(position, size);
    Control::set_rect(position, size);
}

// Painting

ControlEdit::Look ControlEdit::current_look() const
{
    if (m_read_only)
        return { &m_readonly, &m_font_readonly, m_color_readonly };
    if (is_enabled())
        return { has_focus() ? &m_highlighted : &m_normal, &m_font_normal, m_color_normal };
    return { &m_disabled, &m_font_disabled, m_color_disabled };
}

std::u16string ControlEdit::shown_text() const
{
    if (m_password_char != 0)
        return std::u16string(m_text.size(), m_password_char);
    return m_text;
}

bool ControlEdit::hit_test(Point point) const
{
    if (!m_impl->drawn())
        return false;
    return !current_look().picture->hit_test(point, position(), size());
}

void ControlEdit::scroll_to_caret(std::int32_t avail)
{
    const std::int32_t full = width_to(std::int32_t(m_char_right.size()));
    if (m_text_offset + full < avail)
        m_text_offset = avail - full;
    if (m_text_offset > 0)
        m_text_offset = 0;
    const std::int32_t cx = width_to(m_caret);
    if (m_text_offset + cx < 0)
        m_text_offset = -cx;
    if (m_text_offset + cx > avail)
        m_text_offset -= m_text_offset + cx - avail;
}

void ControlEdit::paint(Canvas& canvas, Point area_position, Size area_size)
{
    if (!m_impl->drawn()) {
        Control::paint(canvas, area_position, area_size);
        return;
    }
    const Look look = current_look();
    look.picture->draw(canvas, position(), size());
    const std::u16string shown = shown_text();
    m_char_right = prefix_widths(*look.font, shown);
    const Point client { position().x + m_border_min.x, position().y + m_border_min.y };
    const Size client_size { size().width - m_border_min.x - m_border_max.x,
        size().height - m_border_min.y - m_border_max.y };
    scroll_to_caret(client_size.width - m_caret_width);

    const std::int32_t start = selection_start(), end = selection_end();
    const auto x_of = [&](std::int32_t i) { return client.x + m_text_offset + width_to(i); };
    const bool caret_shown = caret_visible();
    std::int32_t box_left = x_of(start), box_right = x_of(end);
    if (caret_shown) {
        if (m_caret == start && start != end)
            box_left -= m_caret_width;
        else
            box_right += m_caret_width;
    }
    box_left = std::max(box_left, client.x);
    box_right = std::min(box_right, client.x + client_size.width);
    if (box_right > box_left)
        m_selection.draw(canvas, { box_left, client.y }, { box_right - box_left, client_size.height });

    // Left of the caret right-aligned, right of it left-aligned; selected
    // characters in the selection's colour.
    const std::int32_t caret_x = x_of(m_caret);
    const std::u16string_view text(shown);
    const auto run = [&](std::int32_t from, std::int32_t to, Color color, std::int32_t left,
                         std::int32_t right, std::int32_t align) {
        if (from >= to || right <= left)
            return;
        canvas.draw_text(*look.font, color, text.substr(std::size_t(from), std::size_t(to - from)),
            { left, client.y }, { right - left, client_size.height }, align, align_vcenter);
    };
    const std::int32_t client_right = client.x + client_size.width;
    const std::int32_t before_split = std::clamp(start, 0, m_caret);
    run(0, before_split, look.color, client.x, std::min(x_of(before_split), client_right), align_right);
    run(before_split, m_caret, m_color_selection, std::max(x_of(before_split), client.x),
        std::min(caret_x, client_right), align_right);
    const std::int32_t after_split = std::clamp(end, m_caret, std::int32_t(text.size()));
    run(m_caret, after_split, m_color_selection, std::max(caret_x, client.x),
        std::min(x_of(after_split), client_right), align_left);
    run(after_split, std::int32_t(text.size()), look.color, std::max(x_of(after_split), client.x),
        client_right, align_left);
    Control::paint(canvas, area_position, area_size);
}

}
