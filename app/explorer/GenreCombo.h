#pragma once

#include "skinner/widgets/combos/ControlComboBoxGenericReadonly.h"

#include <cstdint>
#include <string>
#include <vector>

// One choice of the genre list: its name and the tag's genre byte.
struct Genre {
    std::u16string name;
    std::uint32_t id = 0;
};

// The read-only combo box of the tag form's genres: the ID3v1 genres with
// their usual extensions and "<none>", sorted by name.
class GenreCombo : public skinner::ControlComboBoxGenericReadonly<std::vector<Genre>> {
public:
    static constexpr std::uint32_t no_genre = 255;

    GenreCombo(skinner::Container& container, std::u16string_view id,
        skinner::ControlMode mode = skinner::ControlMode::named);
    ~GenreCombo() override;

    // Item 0, "<none>", when no item has the id.
    void select_id(std::uint32_t id);
    std::uint32_t current_id() const;

    void paint_item(std::int32_t row, skinner::Canvas& canvas, skinner::Point position, skinner::Size size,
        bool selected, bool highlighted) override;
    // A negative index falls back to item 0; the face shows the current name.
    bool on_selection_changed(skinner::Control& sender) override;

    // The 148 genres in id order, then "<none>".
    static std::vector<Genre> all_genres();
};
