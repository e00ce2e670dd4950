#include "app/settings/SettingsSchedule.h"

#include "dialogs/ErrorForm.h"
#include "liba/StringTranslator.h"
#include "model/FileHelpers.h"
#include "model/Settings.h"
#include "skinner/core/Form.h"
#include "skinner/graphics/Canvas.h"

#include <optional>
#include <vector>

using liba::literals::operator""_key;

namespace {

// Canvas text alignment: left, vertically centred.
constexpr std::int32_t text_left = 0;
constexpr std::int32_t text_vcenter = 1;

// The date of one picker with the time of day of the other; none when the
// pickers hold no possible date and time.
std::optional<liba::DateTime> combine(const liba::DateTime& date, const liba::DateTime& time)
{
    liba::DateTime result;
    if (!result.set_date(date.year(), date.month(), date.day())
        || !result.set_time(time.hour(), time.minute(), time.second()))
        return std::nullopt;
    return result;
}

}

// Grid

SettingsSchedule::ControlGridSchdule::ControlGridSchdule(
    skinner::Container& container, std::u16string_view id, const Schedule& copy, skinner::ControlMode mode)
    : ControlGrid(container, id, mode)
    , schedule(copy)
{
    m_end_width = get_property_int_scaled(u"BeginWidth", 0);
    refresh();
}

void SettingsSchedule::ControlGridSchdule::load()
{
    ControlGrid::load();
    m_end_width = get_property_int_scaled(u"BeginWidth", 0);
    refresh();
}

std::int32_t SettingsSchedule::ControlGridSchdule::get_column_width(std::int32_t column) const
{
    return column == 1 ? m_end_width : -1;
}

void SettingsSchedule::ControlGridSchdule::paint_item(std::int32_t column, std::int32_t row, skinner::Canvas& canvas,
    skinner::Point position, skinner::Size size, bool selected, bool highlighted)
{
    const skinner::ButtonLook& look = get_item_look(selected, highlighted);
    look.picture.draw(canvas, position, size);
    if (row < 0 || row >= schedule.size())
        return;
    const ScheduleTask& task = schedule[row];
    canvas.draw_text(look.font, look.text_color, format_date_time(column == 0 ? task.begin : task.end), position,
        size, text_left, text_vcenter);
}

// Page

SettingsSchedule::SettingsSchedule(
    skinner::ControlTab& tab, std::u16string_view id, skinner::ControlMode mode, Settings& settings)
    : ControlTabElement(tab, id, mode)
    , m_add(*get_container(), u"btnAdd")
    , m_delete(*get_container(), u"btnDelete")
    , m_change(*get_container(), u"btnChange")
    , m_delete_all(*get_container(), u"btnDeleteAll")
    , m_grid(*get_container(), u"grdSchedule", settings.schedule)
    , m_date_begin(*get_container(), u"calDateBegin")
    , m_date_end(*get_container(), u"calDateEnd")
    , m_time_begin(*get_container(), u"calTimeBegin")
    , m_time_end(*get_container(), u"calTimeEnd")
{
    m_delete.set_enabled(false);
    m_change.set_enabled(false);
    m_delete_all.set_enabled(false);
}

SettingsSchedule::~SettingsSchedule() = default;

bool SettingsSchedule::on_selection_changed(skinner::Control& sender)
{
    if (&sender != &m_grid)
        return ControlTabElement::on_selection_changed(sender);
    const auto& rows = m_grid.selected_rows();
    if (rows.size() == 1 && *rows.begin() < m_grid.schedule.size()) {
        const ScheduleTask& task = m_grid.schedule[*rows.begin()];
        m_date_begin.set_time(task.begin);
        m_time_begin.set_time(task.begin);
        m_date_end.set_time(task.end);
        m_time_end.set_time(task.end);
    }
    update_buttons();
    return true;
}

void SettingsSchedule::update_buttons()
{
    const std::size_t selected = m_grid.selected_rows().size();
    m_delete.set_enabled(selected >= 1);
    m_change.set_enabled(selected == 1);
    m_delete_all.set_enabled(!m_grid.schedule.empty());
}

bool SettingsSchedule::on_click(skinner::Control& sender)
{
    if (&sender == &m_add)
        add();
    else if (&sender == &m_delete)
        delete_selected();
    else if (&sender == &m_delete_all)
        delete_all();
    else if (&sender == &m_change)
        change();
    else
        return ControlTabElement::on_click(sender);
    return true;
}

bool SettingsSchedule::add()
{
    const auto begin = combine(m_date_begin.get_time(), m_time_begin.get_time());
    const auto end = combine(m_date_end.get_time(), m_time_end.get_time());
    if (!begin || !end || !begin->is_before(*end)) {
        show_error(u"SettingsScheduleBadStopStart"_key);
        return false;
    }
    const int index = m_grid.schedule.insert(ScheduleTask(*begin, *end));
    if (index < 0) {
        show_error(u"SettingsScheduleOverlaped"_key);
        return false;
    }
    m_grid.unselect_all();
    m_grid.refresh();
    m_grid.set_row_selected(index, true);
    m_grid.ensure_visible(index);
    update_buttons();
    return true;
}

void SettingsSchedule::delete_selected()
{
    // From the highest row down, so the indices still to remove stay put.
    const std::vector<std::int32_t> rows(m_grid.selected_rows().rbegin(), m_grid.selected_rows().rend());
    for (std::int32_t row : rows)
        m_grid.schedule.remove(row);
    m_grid.unselect_all();
    m_grid.refresh();
    update_buttons();
}

void SettingsSchedule::delete_all()
{
    m_grid.schedule.clear();
    m_grid.unselect_all();
    m_grid.refresh();
    update_buttons();
}

void SettingsSchedule::change()
{
    if (m_grid.selected_rows().size() != 1)
        return;
    const std::int32_t row = *m_grid.selected_rows().begin();
    if (row >= m_grid.schedule.size())
        return;
    // The whole schedule is kept: one read from a file may hold periods that
    // overlap, and the changed one would then not go back in.
    const Schedule kept = m_grid.schedule;
    m_grid.schedule.remove(row);
    if (!add())
        m_grid.schedule = kept;
    m_grid.refresh();
    update_buttons();
}

void SettingsSchedule::show_error(std::u16string_view key)
{
    skinner::Form& form = get_form();
    ErrorForm error(&form, get_properties());
    error.set_texts(translate(u"form.Main.Caption.Text"_key), translate(key));
    error.do_modal();
}

void SettingsSchedule::save(Settings& settings)
{
    settings.schedule = m_grid.schedule;
}
