#pragma once

#include "skinner/controls/Control.h"

#include <string>

namespace skinner {
class ControlGrid;
}

// The one-line box in which a file list names a row: typed characters go at
// the end, Back removes the last one, Enter keeps the text and Escape drops
// it; both end the grid's in-place edit. Looks from the skin kind
// "EditInListKind".
class InplaceNameEdit : public skinner::Control {
public:
    InplaceNameEdit(skinner::ControlGrid& grid, skinner::Container& container);

    void set_text(std::u16string_view text);
    const std::u16string& text() const { return m_text; }

    bool on_text_input(std::u16string_view text) override;
    bool on_keydown(skinner::KeyCode key) override;
    void paint(skinner::Canvas& canvas, skinner::Point area_position, skinner::Size area_size) override;
    void load() override;

private:
    void load_looks();

    skinner::ControlGrid& m_grid;
    std::u16string m_text;
    skinner::Picture m_background;
    skinner::Font m_font;
    skinner::Color m_color {};
    skinner::Point m_border {};
};
