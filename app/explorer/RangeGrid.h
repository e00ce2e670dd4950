#pragma once

#include "skinner/widgets/edit/ControlEdit.h"
#include "skinner/widgets/lists/ControlListGeneric.h"
#include "skinner/widgets/lists/GridSelectionStrategyMultiRowCE.h"
#include "skinner/skin/Picture.h"

#include <cstdint>
#include <string>
#include <vector>

// One row per bookmark of a recording: whether its segment plays (a check
// picture), its name, and the times at which it starts and ends. Several
// rows may be selected.
struct RangeGridRow {
    std::int64_t start = 0;
    std::int64_t length = 0;
    std::u16string end_text;
    std::u16string start_text;
    std::u16string name;
    bool played = false;
};

class RangeGrid : public skinner::ControlListGeneric<std::vector<RangeGridRow>>,
                  public skinner::GridSelectionStrategyMultiRowCE {
public:
    static constexpr std::int32_t column_check = 0;
    static constexpr std::int32_t column_name = 1;
    static constexpr std::int32_t column_start = 2;
    static constexpr std::int32_t column_end = 3;

    RangeGrid(skinner::Container& container, std::u16string_view id,
        skinner::ControlMode mode = skinner::ControlMode::named);
    ~RangeGrid() override;

    std::int32_t get_column_count() const override { return 4; }
    std::int32_t get_column_width(std::int32_t column) const override;
    void paint_item(std::int32_t column, std::int32_t row, skinner::Canvas& canvas, skinner::Point position,
        skinner::Size size, bool selected, bool highlighted) override;
    void load() override;

    // The in-place editor of the names, hidden while no edit runs.
    skinner::ControlEdit& edit_box() { return m_edit; }

    // Minutes, seconds and hundredths of a time in seconds, "mm:ss:hh"; hours are left out.
    static std::u16string time_text(double seconds);

private:
    void load_looks();
    void fit_times();

    skinner::ControlEdit m_edit;
    skinner::Picture m_check_enabled;
    skinner::Picture m_check_disabled;
    std::int32_t m_check_box_width = 0;
    std::int32_t m_start_width = 0;
    std::int32_t m_duration_width = 0;
    std::int32_t m_time_gap = 0;
};
