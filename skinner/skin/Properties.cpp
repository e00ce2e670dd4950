#include "skinner/skin/Properties.h"

#include "liba/Stopwatch.h"
#include "os/LanguageFile.h"
#include "os/Log.h"

#include <algorithm>

namespace skinner {

namespace {

struct CursorName {
    std::u16string_view text;
    std::uint32_t id;
};

constexpr CursorName cursor_names[] = {
    { u"ARROW", 32512 },
    { u"IBEAM", 32513 },
    { u"WAIT", 32514 },
    { u"SIZENWSE", 32642 },
    { u"SIZENESW", 32643 },
    { u"SIZEWE", 32644 },
    { u"SIZENS", 32645 },
    { u"SIZEALL", 32646 },
    { u"NO", 32648 },
    { u"HAND", 32649 },
    { u"APPSTARTING", 32650 },
    { u"HELP", 32651 },
};

Point scaled(Point point, std::uint32_t scale)
{
    const auto s = static_cast<std::int32_t>(scale);
    return { point.x * s, point.y * s };
}

}

Properties::Properties()
    : m_impl(std::make_unique<PropertiesImpl>())
    , m_translator(std::make_unique<liba::StringTranslator>())
{
}

Properties::Properties(const std::u16string& skin_path, Size screen)
    : m_impl(std::make_unique<PropertiesImpl>(skin_path, screen))
    , m_translator(std::make_unique<liba::StringTranslator>())
{
}

Properties::~Properties() = default;

bool Properties::load_skin(const std::u16string& path, Size screen)
{
    auto loaded = std::make_unique<PropertiesImpl>(path, screen);
    // Switching skins while the program runs must not leave it without a working one.
    if (!loaded->is_valid() && m_impl->is_valid()) {
        os::log() << u"Properties::load_skin kept [" + m_impl->path() + u"]: [" + path + u"] is invalid\n";
        return false;
    }
    m_impl = std::move(loaded);
    refresh_skin();
    return m_impl->is_valid();
}

bool Properties::load_language(const std::u16string& path)
{
    auto loaded = std::make_unique<liba::StringTranslator>();
    if (!os::load_language_file(*loaded, path))
        return false;
    m_translator = std::move(loaded);
    refresh_skin();
    return true;
}

bool Properties::load_skin_and_language(
    const std::u16string& skin_path, const std::u16string& language_path, Size screen)
{
    m_translator = std::make_unique<liba::StringTranslator>(os::read_language_file(language_path));
    return load_skin(skin_path, screen);
}

bool Properties::check_version(std::u16string_view version, Size screen) const
{
    return m_impl->check_version(version, screen).ok;
}

std::int32_t Properties::get_property_int(std::u16string_view form, std::u16string_view control,
    std::u16string_view name, std::int32_t default_value)
{
    const std::uint32_t record = m_impl->find_record(form, control);
    return record ? m_impl->find_int(record, name).value_or(default_value) : default_value;
}

std::int32_t Properties::get_property_int_scaled(std::u16string_view form, std::u16string_view control,
    std::u16string_view name, std::int32_t default_value)
{
    const std::uint32_t record = m_impl->find_record(form, control);
    if (const auto value = record ? m_impl->find_int(record, name) : std::nullopt)
        return *value * static_cast<std::int32_t>(m_impl->scale());
    return default_value;
}

Point Properties::get_property_point(
    std::u16string_view form, std::u16string_view control, std::u16string_view name, Point default_value)
{
    const std::uint32_t record = m_impl->find_record(form, control);
    if (const auto value = record ? m_impl->find_point(record, name) : std::nullopt)
        return scaled(*value, m_impl->scale());
    return default_value;
}

std::u16string Properties::get_property_string(std::u16string_view form, std::u16string_view control,
    std::u16string_view name, std::u16string_view default_value)
{
    const std::uint32_t record = m_impl->find_record(form, control);
    if (const auto value = record ? m_impl->find_string(record, name) : std::nullopt)
        return translate(*value);
    return std::u16string(default_value);
}

Color Properties::get_property_color(
    std::u16string_view form, std::u16string_view control, std::u16string_view name, Color default_value)
{
    const std::uint32_t record = m_impl->find_record(form, control);
    return record ? m_impl->find_color(record, name).value_or(default_value) : default_value;
}

Picture Properties::get_property_picture(std::u16string_view form, std::u16string_view control,
    std::u16string_view name, const Picture& default_value)
{
    const std::uint32_t record = m_impl->find_record(form, control);
    return record ? m_impl->find_picture(record, name).value_or(default_value) : default_value;
}

Font Properties::get_property_font(std::u16string_view form, std::u16string_view control,
    std::u16string_view name, const Font& default_value)
{
    const std::uint32_t record = m_impl->find_record(form, control);
    return record ? m_impl->find_font(record, name).value_or(default_value) : default_value;
}

Cursor Properties::get_property_cursor(
    std::u16string_view form, std::u16string_view control, std::u16string_view name, Cursor default_value)
{
    const std::uint32_t record = m_impl->find_record(form, control);
    const auto text = record ? m_impl->find_string(record, name) : std::nullopt;
    if (!text)
        return default_value;
    const auto* found = std::find_if(std::begin(cursor_names), std::end(cursor_names),
        [&](const CursorName& c) { return c.text == *text; });
    return found == std::end(cursor_names) ? default_value : Cursor { found->id };
}

std::int32_t Properties::get_form_property_int(
    std::u16string_view form, std::u16string_view name, std::int32_t default_value)
{
    return m_impl->find_int(m_impl->find_form(form), name).value_or(default_value);
}

Point Properties::get_form_property_point(
    std::u16string_view form, std::u16string_view name, Point default_value)
{
    if (const auto value = m_impl->find_point(m_impl->find_form(form), name))
        return scaled(*value, m_impl->scale());
    return default_value;
}

Picture Properties::get_form_property_picture(
    std::u16string_view form, std::u16string_view name, const Picture& default_value)
{
    return m_impl->find_picture(m_impl->find_form(form), name).value_or(default_value);
}

std::uint32_t Properties::get_form_template_count(std::u16string_view form)
{
    return m_impl->file().template_count(m_impl->find_form(form));
}

std::pair<std::u16string, std::u16string> Properties::get_form_template(
    std::u16string_view form, std::uint32_t index)
{
    const std::uint32_t record = m_impl->find_form(form);
    if (index >= m_impl->file().template_count(record))
        return {};
    const auto [control, type] = m_impl->file().template_entry(record, index);
    return { std::u16string(control), std::u16string(type) };
}

std::u16string Properties::translate(std::u16string_view key) const
{
    return m_translator->translate(key, key);
}

void Properties::refresh_skin()
{
    liba::Stopwatch stopwatch;
    auto& log = os::log();
    log << u"Properties::refresh_skin() " + m_impl->path() + u"\n";
    m_impl->reset_counters();
    // A form may attach or detach others while it reloads.
    const std::vector<SkinClient*> clients = m_clients;
    for (SkinClient* client : clients)
        if (std::find(m_clients.begin(), m_clients.end(), client) != m_clients.end())
            client->reload_skin();
    log << u"elapsed=" << stopwatch.elapsed() << u"\n";
    log << u"CompareCounter=" << m_impl->compare_counter() << u"\n";
    log << u"PropertyCounter=" << m_impl->property_counter() << u"\n";
    log << u"FoundPropertyCounter=" << m_impl->found_property_counter() << u"\n";
}

void Properties::attach(SkinClient& client)
{
    m_clients.push_back(&client);
}

void Properties::detach(SkinClient& client)
{
    std::erase(m_clients, &client);
}

}
