#pragma once

#include "skinner/core/Control.h"
#include "skinner/core/MenuEntry.h"
#include "skinner/widgets/edit/ControlEditImpl.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace skinner {

// The one-line text field of the skinned forms. It draws its text, caret and
// selection with skin pictures, fonts and colours; the selection runs between
// a fixed anchor and the moving caret (positions are UTF-16 units, 0 to the
// text's length). Typed text, editing keys, the pen, a tap-and-hold menu and
// the clipboard edit it; a password character masks what it shows. Every
// change of the text raises on_text_changed; a pen release raises on_click.
//
// Skin keys: pictures "Normal", "Highlighted", "Disabled", "Readonly",
// "Selection"; fonts "Normal", "Disabled", "Readonly"; colours "Normal",
// "Disabled", "Readonly", "Selection"; "BorderMin", "BorderMax", "InputMode",
// "Readonly" (int), "PasswordChar" (its first character), "Text".
class ControlEdit : public Control {
public:
    // Caret blinking: timer period and ticks per cycle.
    static constexpr double blink_seconds = 0.05;
    static constexpr std::int32_t default_blink_period = 10;

    ControlEdit(Container& container, std::u16string_view name, ControlMode mode = ControlMode::named);
    ~ControlEdit() override;

    bool on_form_activate() override;
    void on_focus_gained() override;
    void on_focus_lost() override;
    void on_visible_changed(bool visible) override;
    void paint(Canvas& canvas, Point area_position, Size area_size) override;
    bool hit_test(Point point) const override;
    void on_pen_move(Point point) override;
    void on_pen_down(Point point, std::int32_t argument) override;
    void on_pen_up(Point point, std::int32_t argument) override;
    void on_context_down(Point point, std::int32_t argument) override;
    void on_context_up(Point point, std::int32_t argument) override;
    bool on_text_input(std::u16string_view text) override;
    bool on_keydown(KeyCode key) override;
    void on_timer(std::uint32_t timer_id) override;
    void set_rect(Point position, Size size) override;
    void load() override;

    virtual void notify_text_changed();
    virtual void notify_click();

    const std::u16string& get_text() const { return m_text; }

    // Replaces the whole text (raising on_text_changed) when it differs.
    void set_text(std::u16string_view text);
    // A native part's own edit: the text as it now stands there, taken
    // without passing it back; raises on_text_changed when it differs.
    void take_text_from_impl(std::u16string_view text);
    // Anchor and caret, each kept inside the text.
    void set_selection(std::int32_t start, std::int32_t end);

    // The editing operations of the keys and the menu.
    // False when the clipboard took nothing.
    bool copy_selection();
    void paste();
    void delete_selection();
    void replace_selection(std::u16string_view text);
    // Copies, then deletes only what reached the clipboard.
    void cut();

    // The tap-and-hold menu in the edit box's present state, and what its
    // commands do ("menuCut", "menuCopy", "menuPaste", "menuDelete",
    // "menuSelectAll"; anything else does nothing).
    MenuEntry context_menu() const;
    void run_menu_command(std::u16string_view command);

    std::int32_t anchor() const { return m_anchor; }

    std::int32_t caret() const { return m_caret; }

    std::int32_t selection_start() const { return std::min(m_anchor, m_caret); }

    std::int32_t selection_end() const { return std::max(m_anchor, m_caret); }

    bool selection_empty() const { return m_anchor == m_caret; }

    bool read_only() const { return m_read_only; }

    char16_t password_char() const { return m_password_char; }

    const std::u16string& input_mode() const { return m_input_mode; }

    std::int32_t text_offset() const { return m_text_offset; }

    bool caret_visible() const;

    bool dragging() const { return m_dragging; }

    Point border_min() const { return m_border_min; }

    Point border_max() const { return m_border_max; }

    ControlEditImpl& impl() const { return *m_impl; }

    // The caret position nearest to a point (form coordinates).
    std::int32_t position_at(Point point) const;

private:
    struct Look {
        const Picture* picture;
        const Font* font;
        Color color;
    };

    void load_edit();
    Look current_look() const;
    // What paint shows: the text, or one password character for each of its characters.
    std::u16string shown_text() const;
    // Width of the first count characters of the shown text in the look's font.
    std::int32_t width_to(std::int32_t count) const;
    void measure();
    void scroll_to_caret(std::int32_t avail);
    void erase(std::int32_t start, std::int32_t end);
    void move_caret(std::int32_t target, bool extend);
    void show_context_menu(Point point);
    std::int32_t clamp(std::int32_t position) const;
    std::int32_t word_start_before(std::int32_t position) const;
    std::int32_t word_end_after(std::int32_t position) const;

    std::unique_ptr<ControlEditImpl> m_impl;
    Picture m_normal;
    Picture m_highlighted;
    Picture m_disabled;
    Picture m_readonly;
    Picture m_selection;
    Font m_font_normal;
    Font m_font_disabled;
    Font m_font_readonly;
    Color m_color_normal {};
    Color m_color_disabled {};
    Color m_color_readonly {};
    Color m_color_selection {};
    Point m_pen_down_point {};
    std::u16string m_input_mode;
    std::u16string m_text;
    std::int32_t m_anchor = 0;
    std::int32_t m_caret = 0;
    std::int32_t m_blink_counter = 0;
    std::int32_t m_blink_period = default_blink_period;
    std::int32_t m_caret_width = 1;
    Point m_border_min {};
    Point m_border_max {};
    bool m_dragging = false;
    bool m_read_only = false;
    std::int32_t m_text_offset = 0;
    std::vector<std::int32_t> m_char_right;
    char16_t m_password_char = 0;
};

}
