#pragma once

#include "liba/StringTranslator.h"
#include "skinner/graphics/Color.h"
#include "skinner/graphics/Cursor.h"
#include "skinner/graphics/Point.h"
#include "skinner/graphics/Size.h"
#include "skinner/graphics/Font.h"
#include "skinner/skin/Picture.h"
#include "skinner/skin/PropertiesImpl.h"
#include "skinner/skin/SkinClient.h"

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace skinner {

// The skin and the language that the program's forms read their looks and
// texts through. Each getter names a record by form and control (a
// non-empty form) or by kind (an empty form), then a property, and returns
// the default when the record lacks the property. A record that the skin
// lacks, or any lookup in an invalid skin, ends the program with a fatal
// report: callers check the version first. Points, scaled integers and
// picture coordinates are multiplied by the skin's scale when found.
class Properties {
public:
    // No skin and an empty language table.
    Properties();
    Properties(const std::u16string& skin_path, Size screen);
    ~Properties();
    Properties(const Properties&) = delete;
    Properties& operator=(const Properties&) = delete;

    // Loads another skin and refreshes every attached form. A skin that
    // does not load leaves a valid one in place and gives false.
    bool load_skin(const std::u16string& path, Size screen);
    // Loads a language file in place of the current table and refreshes
    // every attached form; a file that cannot be read changes nothing and gives false.
    bool load_language(const std::u16string& path);
    // Takes the language file (empty when it cannot be read), then loads the skin.
    bool load_skin_and_language(
        const std::u16string& skin_path, const std::u16string& language_path, Size screen);

    bool check_version(std::u16string_view version, Size screen) const;

    std::int32_t get_property_int(std::u16string_view form, std::u16string_view control,
        std::u16string_view name, std::int32_t default_value);
    std::int32_t get_property_int_scaled(std::u16string_view form, std::u16string_view control,
        std::u16string_view name, std::int32_t default_value);
    Point get_property_point(
        std::u16string_view form, std::u16string_view control, std::u16string_view name, Point default_value);
    // Translated; a default is returned as it is.
    std::u16string get_property_string(std::u16string_view form, std::u16string_view control,
        std::u16string_view name, std::u16string_view default_value);
    Color get_property_color(
        std::u16string_view form, std::u16string_view control, std::u16string_view name, Color default_value);
    Picture get_property_picture(std::u16string_view form, std::u16string_view control,
        std::u16string_view name, const Picture& default_value);
    Font get_property_font(std::u16string_view form, std::u16string_view control, std::u16string_view name,
        const Font& default_value);
    // The standard cursor that the (untranslated) text names.
    Cursor get_property_cursor(std::u16string_view form, std::u16string_view control,
        std::u16string_view name, Cursor default_value);

    // A form's own properties, in its chosen variant.
    std::int32_t get_form_property_int(
        std::u16string_view form, std::u16string_view name, std::int32_t default_value);
    Point get_form_property_point(std::u16string_view form, std::u16string_view name, Point default_value);
    Picture get_form_property_picture(
        std::u16string_view form, std::u16string_view name, const Picture& default_value);
    // The controls that the form's container makes by itself: (control name, type name).
    std::uint32_t get_form_template_count(std::u16string_view form);
    // Empty names for an index beyond the count.
    std::pair<std::u16string, std::u16string> get_form_template(
        std::u16string_view form, std::uint32_t index);

    // The language's text for a key, the key itself when it has none.
    std::u16string translate(std::u16string_view key) const;

    // Makes every attached form read its looks again, and logs what it cost.
    void refresh_skin();
    // Forms attach themselves for their life; a refresh reaches them in the order they attached.
    void attach(SkinClient& client);
    void detach(SkinClient& client);

    PropertiesImpl& impl() { return *m_impl; }

    const PropertiesImpl& impl() const { return *m_impl; }

    const liba::StringTranslator& translator() const { return *m_translator; }

private:
    std::unique_ptr<PropertiesImpl> m_impl;
    std::unique_ptr<liba::StringTranslator> m_translator;
    std::vector<SkinClient*> m_clients;
};

}
