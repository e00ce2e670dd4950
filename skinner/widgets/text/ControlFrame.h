#pragma once

#include "skinner/core/Control.h"

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace skinner {

// A text over a skin picture: captions, file names, messages. The text is
// broken into lines at line feeds and break markers (the two characters
// backslash and n) and, with "Wrap", at blanks to fit the width; the lines
// are aligned inside the borders and an overlong one can end in an ellipsis.
// It never takes the focus.
class ControlFrame : public Control {
public:
    // A placeholder of a message and what replaces it ("%src%" and a path).
    struct TextValue {
        std::u16string_view placeholder;
        std::u16string_view value;
    };

    ControlFrame(Container& container, std::u16string_view name, ControlMode mode = ControlMode::named);
    ~ControlFrame() override;

    // Lays out and repaints when the text differs; break markers in it are line breaks.
    void set_text(std::u16string_view text);
    // A message whose placeholders become paths or file names: its break
    // markers are turned into line breaks first, so that a value holding a
    // backslash and an n shows as it is.
    void set_text_with_values(std::u16string_view text, std::initializer_list<TextValue> values);
    void set_picture(const Picture& picture);

    const std::u16string& text() const { return m_text; }

    const std::vector<std::u16string>& lines() const { return m_lines; }

    const Picture& picture() const { return m_picture; }

    const Font& font() const { return m_font; }

    Color color() const { return m_color; }

    std::int32_t h_alignment() const { return m_h_alignment; }

    std::int32_t v_alignment() const { return m_v_alignment; }

    Point border_min() const { return m_border_min; }

    Point border_max() const { return m_border_max; }

    bool wraps() const { return m_wrap; }

    bool auto_sized() const { return m_auto_size; }

    bool ellipsis() const { return m_ellipsis; }

    void paint(Canvas& canvas, Point area_position, Size area_size) override;
    // Per axis the larger of what the text needs and the skin's size.
    Size get_preferred_size() const override;
    void load() override;
    // Breaks the text into lines and computes the size it needs.
    virtual void update_text_layout(std::u16string_view text);

private:
    void load_frame();
    void store_text(std::u16string_view text, bool markers_expanded);
    void paint_lines(Canvas& canvas);
    void break_long_words(std::int32_t client_width);

    Point m_border_min {};
    Point m_border_max {};
    Picture m_picture;
    Font m_font;
    Color m_color {};
    std::u16string m_text;
    std::int32_t m_h_alignment = 1;
    std::int32_t m_v_alignment = 1;
    Size m_preferred {};
    std::vector<std::u16string> m_lines;
    std::u16string m_break_marker = u"\\n";
    // The text's markers were turned into line feeds: what remains of them is text.
    bool m_markers_expanded = false;
    bool m_wrap = false;
    bool m_auto_size = false;
    bool m_ellipsis = false;
};

}
