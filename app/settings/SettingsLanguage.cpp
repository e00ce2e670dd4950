#include "app/settings/SettingsLanguage.h"

#include "app/settings/LangFinder.h"
#include "liba/Path.h"
#include "model/Settings.h"
#include "os/Log.h"
#include "skinner/core/Form.h"
#include "skinner/skin/Properties.h"

SettingsLanguage::SettingsLanguage(skinner::ControlTab& tab, std::u16string_view id, skinner::ControlMode mode,
    Settings& settings)
    : ControlTabElement(tab, id, mode)
    , m_language(*get_container(), u"cbLanguage")
{
    LangFinder finder(m_language.items);
    finder.find(u"%app_path%", u"*.lng", u"*", false);
    m_language.set_current(0);
    for (std::size_t i = 0; i < m_language.items.size(); ++i)
        if (liba::names_equal(m_language.items[i], settings.language)) {
            m_language.set_current(std::int32_t(i));
            break;
        }
}

SettingsLanguage::~SettingsLanguage() = default;

skinner::Properties& SettingsLanguage::main_skin() const
{
    skinner::Form* owner = get_form().owner();
    return owner ? owner->properties() : get_properties();
}

void SettingsLanguage::save(Settings& settings)
{
    const std::u16string chosen = m_language.face().text();
    if (chosen == settings.language)
        return;
    Settings changed = settings;
    changed.language = chosen;
    const std::u16string path = changed.language_file();
    if (!main_skin().load_language(path)) {
        os::log() << u"SettingsLanguage: [" + path + u"] did not load; the language stays\n";
        return;
    }
    settings.language = chosen;
    get_properties().load_language(path);
}
