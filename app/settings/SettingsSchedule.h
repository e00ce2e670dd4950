#pragma once

#include "model/Schedule.h"
#include "skinner/widgets/buttons/ControlButton.h"
#include "skinner/widgets/calendar/ControlCalendar.h"
#include "skinner/widgets/lists/ControlGrid.h"
#include "skinner/widgets/tabs/ControlTabElement.h"
#include "skinner/widgets/lists/GridSelectionStrategyMultiRowCE.h"

#include <string_view>

class Settings;

// The fourth settings page: the periods in which the program records on its
// own. It edits a copy of the schedule, which refuses periods that overlap.
class SettingsSchedule : public skinner::ControlTabElement {
public:
    // The periods, begin and end, several selectable at once.
    class ControlGridSchdule : public skinner::ControlGrid, public skinner::GridSelectionStrategyMultiRowCE {
    public:
        ControlGridSchdule(skinner::Container& container, std::u16string_view id, const Schedule& schedule,
            skinner::ControlMode mode = skinner::ControlMode::named);

        std::int32_t get_item_count() const override { return schedule.size(); }
        std::int32_t get_column_count() const override { return 2; }
        std::int32_t get_column_width(std::int32_t column) const override;
        void paint_item(std::int32_t column, std::int32_t row, skinner::Canvas& canvas, skinner::Point position,
            skinner::Size size, bool selected, bool highlighted) override;
        void load() override;

        Schedule schedule;

    private:
        std::int32_t m_end_width = 0;
    };

    SettingsSchedule(skinner::ControlTab& tab, std::u16string_view id, skinner::ControlMode mode, Settings& settings);
    ~SettingsSchedule() override;

    bool on_selection_changed(skinner::Control& sender) override;
    bool on_click(skinner::Control& sender) override;
    void save(Settings& settings);

    const Schedule& schedule() const { return m_grid.schedule; }

private:
    // The period of the four pickers goes into the schedule; false, after
    // telling the user why, when it is refused.
    bool add();
    void delete_selected();
    void delete_all();
    void change();
    void update_buttons();
    void show_error(std::u16string_view key);

    skinner::ControlButton m_add;
    skinner::ControlButton m_delete;
    skinner::ControlButton m_change;
    skinner::ControlButton m_delete_all;
    ControlGridSchdule m_grid;
    skinner::ControlCalendar m_date_begin;
    skinner::ControlCalendar m_date_end;
    skinner::ControlCalendar m_time_begin;
    skinner::ControlCalendar m_time_end;
};
