#include "app/settings/SettingsSkin.h"

#include "dialogs/ErrorForm.h"
#include "liba/Path.h"
#include "liba/StringTranslator.h"
#include "liba/Thread.h"
#include "model/Settings.h"
#include "os/Log.h"
#include "os/PathMacros.h"
#include "os/Registry.h"
#include "platform/core/Message.h"
#include "platform/ui/Shell.h"
#include "skinner/core/Form.h"
#include "skinner/skin/ScreenMetrics.h"
#include "skinner/skin/Properties.h"

using liba::literals::operator""_key;

namespace {

constexpr std::u16string_view today_skin_key = u"HKEY_LOCAL_MACHINE\\SOFTWARE\\APPS\\Qiro Orvanta";
constexpr std::u16string_view today_item_key = u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Today\\Items\\Orvanta";

void fill(skinner::ControlComboBoxStringReadonly& combo, const std::vector<std::u16string>& paths)
{
    for (const std::u16string& path : paths)
        combo.items.push_back(liba::get_file_title(path));
}

void switch_today_item(std::uint32_t enabled)
{
    os::registry_write_dword(today_item_key, u"Enabled", enabled);
    platform::post_broadcast_message(platform::msg::setting_change, platform::today_reload, 0);
}

}

SettingsSkin::SettingsSkin(skinner::ControlTab& tab, std::u16string_view id, skinner::ControlMode mode,
    Settings& settings)
    : ControlTabElement(tab, id, mode)
    , m_main(*get_container(), u"cmbMain")
    , m_today(*get_container(), u"cmbToday")
    , m_main_preview(*get_container(), u"frmMainPreview")
    , m_today_preview(*get_container(), u"frmTodayPreview")
    , m_finder(skinner::get_screen_size())
{
    const std::u16string skins = os::skins_folder();
    m_finder.find(skins, u"*.skin", u"*", false);
    m_finder.find(liba::join_path(skins, u"TodayPlugin"), u"*.skin", u"*", false);
    MySkinFinder::add_path(m_finder.today_skins, default_today_skin());

    fill(m_main, m_finder.main_skins);
    const std::int32_t main_index = MySkinFinder::index_of(m_finder.main_skins, settings.skin);
    if (main_index >= 0) {
        m_main.set_current(main_index);
        show_preview(m_finder.main_skins, main_index, m_main_preview);
    }

    fill(m_today, m_finder.today_skins);
    const std::int32_t today_index = MySkinFinder::index_of(m_finder.today_skins, today_skin_in_force());
    if (today_index >= 0) {
        m_today.set_current(today_index);
        show_preview(m_finder.today_skins, today_index, m_today_preview);
    }
}

SettingsSkin::~SettingsSkin() = default;

skinner::Properties& SettingsSkin::main_skin() const
{
    skinner::Form* owner = get_form().owner();
    return owner ? owner->properties() : get_properties();
}

std::u16string SettingsSkin::default_today_skin()
{
    return liba::join_path(u"%windows%", u"Today Default.skin");
}

std::u16string SettingsSkin::today_skin_in_force()
{
    std::u16string path;
    if (!os::registry_read_string(today_skin_key, u"TodaySkin", path))
        return default_today_skin();
    return path;
}

void SettingsSkin::show_preview(
    const std::vector<std::u16string>& list, std::int32_t index, skinner::ControlFrame& frame)
{
    if (index < 0 || std::size_t(index) >= list.size())
        return;
    const std::u16string& path = list[std::size_t(index)];
    // The loader looks in the skin's archive, then in its folder.
    skinner::Picture preview
        = skinner::Picture::from_file(path, liba::get_file_title(path) + u"_preview", true);
    if (!preview.get_image() || !preview.get_image()->is_valid())
        preview = {};
    frame.set_picture(preview);
}

bool SettingsSkin::on_selection_changed(skinner::Control& sender)
{
    if (&sender == &m_main)
        show_preview(m_finder.main_skins, m_main.get_current(), m_main_preview);
    else if (&sender == &m_today)
        show_preview(m_finder.today_skins, m_today.get_current(), m_today_preview);
    else
        return ControlTabElement::on_selection_changed(sender);
    return true;
}

void SettingsSkin::save(Settings& settings)
{
    save_main_skin(settings);
    save_today_skin();
}

void SettingsSkin::save_main_skin(Settings& settings)
{
    const std::int32_t index = m_main.get_current();
    if (index < 0 || std::size_t(index) >= m_finder.main_skins.size())
        return;
    const std::u16string& chosen = m_finder.main_skins[std::size_t(index)];
    // The skin in use is not loaded again, and its stored path keeps its macros.
    if (liba::paths_equal(os::expand_path_macros(chosen), os::expand_path_macros(settings.skin)))
        return;
    if (!main_skin().load_skin(chosen, skinner::get_screen_size())) {
        os::log() << u"SettingsSkin: [" + chosen + u"] did not load; the skin stays\n";
        ErrorForm error(&get_form(), get_properties());
        error.set_texts(translate(u"on_skin_not_loaded_caption"_key), translate(u"on_skin_not_loaded"_key));
        error.do_modal();
        return;
    }
    settings.skin = chosen;
}

void SettingsSkin::save_today_skin()
{
    const std::int32_t index = m_today.get_current();
    if (index < 0 || std::size_t(index) >= m_finder.today_skins.size())
        return;
    const std::u16string& chosen = m_finder.today_skins[std::size_t(index)];
    if (chosen == today_skin_in_force())
        return;
    // The Today screen reads the skin only when the item is switched on.
    switch_today_item(0);
    liba::sleep(500);
    os::registry_write_string(today_skin_key, u"TodaySkin", os::expand_path_macros(chosen));
    switch_today_item(1);
}
