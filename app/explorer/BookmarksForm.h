#pragma once

#include "app/explorer/ControlRange.h"
#include "app/explorer/RangeGrid.h"
#include "skinner/core/Form.h"
#include "skinner/widgets/buttons/ControlButton.h"
#include "skinner/widgets/text/ControlFrame.h"

#include <cstdint>
#include <optional>
#include <string_view>

class RangeMarkList;

namespace audio {
class FileReader;
}

// Edits the bookmarks of one recording: which segments play and in which
// order (the grid order of the played rows), deletes bookmarks, and picks
// one to jump to. Times come from the recording's reader.
class BookmarksForm : public skinner::Form {
public:
    BookmarksForm(skinner::Form* owner, skinner::Properties& properties, std::u16string_view form_name,
        audio::FileReader& reader, std::u16string_view title);
    ~BookmarksForm() override;

    // Shows the list, runs the form and stores the edited rows back into the
    // list, however the form was closed. Answers the position chosen with
    // "btnGo", or -1.
    std::int64_t edit(RangeMarkList& list);

    bool on_click(skinner::Control& sender) override;
    bool on_item_click(skinner::Control& sender, const skinner::GridCellEvent& cell) override;
    bool on_selection_changed(skinner::Control& sender) override;
    // A committed edit renames the row; a cancelled one leaves it.
    bool on_inplace_edit_end(skinner::Control& sender, const skinner::GridInplaceEditEnd& cell) override;

    RangeGrid& grid() { return m_grid; }

private:
    RangeGridRow make_row(std::int64_t start, std::int64_t length, const std::u16string& name, bool played) const;
    void set_length(RangeGridRow& row, std::int64_t length) const;
    std::optional<std::int32_t> single_selection() const;
    void move_row(std::int32_t from, std::int32_t to);
    void delete_selected();
    void update_buttons();

    RangeGrid m_grid;
    skinner::ControlButton m_ok;
    skinner::ControlButton m_up;
    skinner::ControlButton m_down;
    skinner::ControlButton m_delete;
    skinner::ControlButton m_edit;
    skinner::ControlButton m_go;
    skinner::ControlFrame m_name;
    audio::FileReader& m_reader;
    std::int64_t m_total;
    ControlRange m_range;
    std::int64_t m_chosen = -1;
};
