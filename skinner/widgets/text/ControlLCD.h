#pragma once

#include "skinner/core/Control.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace skinner {

// A text shown as one skin picture per character, as on a segment display
// (times, counters). Characters without a glyph take no room; line feeds
// start new lines. It never takes the focus.
class ControlLCD : public Control {
public:
    ControlLCD(Container& container, std::u16string_view name, ControlMode mode = ControlMode::named);
    ~ControlLCD() override;

    // Lays out and repaints when the text differs.
    void set_text(std::u16string_view text);

    const std::u16string& text() const { return m_text; }

    // The widest line and the sum of the line heights.
    Size text_size() const { return m_text_size; }

    void paint(Canvas& canvas, Point area_position, Size area_size) override;
    // Per axis the larger of the text's size and the skin's.
    Size get_preferred_size() const override;
    void load() override;

private:
    void load_lcd();
    void lay_out_text();
    Size line_size(std::u16string_view line) const;

    std::u16string m_text;
    std::vector<std::u16string> m_lines;
    Size m_text_size {};
    std::map<char16_t, Picture> m_glyphs;
    std::int32_t m_h_alignment = 0;
};

}
