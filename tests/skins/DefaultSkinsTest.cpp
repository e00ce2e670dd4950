#include "tests/skins/SkinSources.h"

#include "platform/core/Utf8.h"
#include "skinner/graphics/Image.h"
#include "skinner/skin/Properties.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <map>
#include <set>

using skinc::SkinSource;
using skinner::Point;
using skinner::Properties;
using skinner::Size;
using skinner::skin_format::Table;

namespace {

std::u16string wide(const std::string& text)
{
    return platform::from_utf8(text);
}

std::string narrow(const std::u16string& text)
{
    return platform::to_utf8(text);
}

// The screens a skin is drawn for: each of its sizes at scales 1 and 2.
std::vector<Size> screens(const SkinSource& skin)
{
    std::vector<Size> out;
    for (std::int32_t scale : { 1, 2 })
        for (const auto& size : skin.sizes)
            out.push_back({ static_cast<std::int32_t>(size.width) * scale, static_cast<std::int32_t>(size.height) * scale });
    return out;
}

std::string describe(Size screen)
{
    return std::to_string(screen.width) + "x" + std::to_string(screen.height);
}

// The controls that the program creates on a form, over all its variants:
// it asks for the same ones whichever variant the screen chooses. Controls
// that a variant makes by itself (its templates) may differ between variants.
std::map<std::u16string, std::set<std::u16string>> controls_by_form(const SkinSource& skin)
{
    std::map<std::u16string, std::set<std::u16string>> out;
    for (const auto& form : skin.forms) {
        auto& controls = out[form.form_name];
        for (const auto& control : form.controls) {
            const bool made_by_form = std::ranges::any_of(
                form.templates, [&](const auto& entry) { return entry.first == control.name; });
            if (!made_by_form)
                controls.insert(control.name);
        }
    }
    return out;
}

// The controls of a form in the variant chosen for the screen: those the
// program creates and those of the variant's templates.
std::set<std::u16string> chosen_controls(
    Properties& properties, const std::u16string& form, const std::set<std::u16string>& created)
{
    std::set<std::u16string> controls = created;
    const std::uint32_t templates = properties.get_form_template_count(form);
    for (std::uint32_t i = 0; i < templates; ++i)
        controls.insert(properties.get_form_template(form, i).first);
    return controls;
}

bool names_a_kind(const std::u16string& property)
{
    return property.starts_with(u"Kind") || property.ends_with(u"Kind");
}

bool names_a_form(const std::u16string& property)
{
    return property == u"FormTemplate" || property == u"DropdownForm";
}

template<typename Visit>
void for_each_record(const SkinSource& skin, Visit visit)
{
    for (const auto& form : skin.forms)
        for (const auto& control : form.controls)
            visit(form.form_name, control);
    for (const auto& kind : skin.kinds)
        visit(std::u16string(), kind);
}

// Looks up every form, template, control and every kind and form that a
// property names. A lookup that finds nothing ends the process with the
// framework's fatal report, so this runs in a child.
void open_everything(Properties& properties, const SkinSource& skin)
{
    for (const auto& [form, created] : controls_by_form(skin))
        for (const auto& control : chosen_controls(properties, form, created))
            properties.get_property_point(form, control, u"Position", {});
    bool file_list = false;
    for_each_record(skin, [&](const std::u16string&, const skinc::Record& record) {
        for (const auto& property : record.properties) {
            if (property.table == Table::integers && property.name == u"DateWidth")
                file_list = true;
            if (property.table != Table::strings)
                continue;
            if (names_a_kind(property.name))
                properties.get_property_int(u"", property.text, u"ZOrder", 0);
            if (names_a_form(property.name))
                properties.get_form_template_count(property.text);
        }
    });
    // a file list makes its in-place edit box from this kind
    if (file_list)
        properties.get_property_int(u"", u"EditInListKind", u"ZOrder", 0);
}

class DefaultSkins : public testing::Test {
protected:
    std::vector<test::DefaultSkin> m_skins = test::default_skins();
};

TEST_F(DefaultSkins, AreThereAndKeepTheirNamesApart)
{
    std::map<std::string, std::u16string> names;
    for (const auto& entry : m_skins)
        names[entry.source.substr(entry.source.rfind("/skins/") + 7)] = entry.skin.name;
    EXPECT_EQ(names["Default/Default.skin.xml"], u"Orvanta_500");
    EXPECT_EQ(names["TodayPlugin/Default.skin.xml"], u"OrvantaToday_500");
    // the skin page offers skins by those two names: the dialog skins must carry neither
    for (const char* dialogs : { "settings/settings.skin.xml", "settings/dialogs.skin.xml" }) {
        ASSERT_TRUE(names.contains(dialogs)) << dialogs;
        EXPECT_NE(names[dialogs], u"Orvanta_500") << dialogs;
        EXPECT_NE(names[dialogs], u"OrvantaToday_500") << dialogs;
    }
}

TEST_F(DefaultSkins, EveryFormControlAndKindIsFoundOnEveryScreen)
{
    for (const auto& entry : m_skins) {
        for (const Size screen : screens(entry.skin)) {
            SCOPED_TRACE(entry.compiled + " on " + describe(screen));
            Properties properties(wide(entry.compiled), screen);
            ASSERT_TRUE(properties.check_version(entry.skin.name, screen));
            EXPECT_EXIT(
                {
                    open_everything(properties, entry.skin);
                    std::exit(0);
                },
                testing::ExitedWithCode(0), "");
        }
    }
}

TEST_F(DefaultSkins, ControlsLieInsideTheirFormsAndPanelsMatchTheirTemplates)
{
    for (const auto& entry : m_skins) {
        const auto forms = controls_by_form(entry.skin);
        for (const Size screen : screens(entry.skin)) {
            Properties properties(wide(entry.compiled), screen);
            if (!properties.check_version(entry.skin.name, screen))
                continue; // reported by the test above
            for (const auto& [form, created] : forms) {
                const Point area = properties.get_form_property_point(form, u"Size", {});
                if (area.x == 0 && area.y == 0)
                    continue;
                for (const auto& control : chosen_controls(properties, form, created)) {
                    const Point at = properties.get_property_point(form, control, u"Position", {});
                    const Point size = properties.get_property_point(form, control, u"Size", {});
                    EXPECT_TRUE(at.x >= 0 && at.y >= 0 && at.x + size.x <= area.x && at.y + size.y <= area.y)
                        << entry.compiled << " on " << describe(screen) << ": " << narrow(form) << "." << narrow(control)
                        << " at " << at.x << "," << at.y << " size " << size.x << "x" << size.y << " is outside "
                        << area.x << "x" << area.y;
                    const std::u16string inner = properties.get_property_string(form, control, u"FormTemplate", u"");
                    if (inner.empty())
                        continue;
                    const Point reference = properties.get_form_property_point(inner, u"Size", {});
                    EXPECT_TRUE(reference.x == size.x && reference.y == size.y)
                        << entry.compiled << " on " << describe(screen) << ": panel " << narrow(form) << "."
                        << narrow(control) << " is " << size.x << "x" << size.y << ", its form " << narrow(inner)
                        << " " << reference.x << "x" << reference.y;
                }
            }
        }
    }
}

TEST_F(DefaultSkins, PictureRectanglesLieInsideTheirPicturesAtEveryScale)
{
    for (const auto& entry : m_skins) {
        for (const Size screen : screens(entry.skin)) {
            Properties properties(wide(entry.compiled), screen);
            if (!properties.check_version(entry.skin.name, screen))
                continue;
            const std::uint32_t scale = properties.impl().scale();
            const auto& pictures = properties.impl().pictures();
            for_each_record(entry.skin, [&](const std::u16string& form, const skinc::Record& record) {
                for (const auto& property : record.properties) {
                    if (property.table != Table::pictures)
                        continue;
                    ASSERT_LT(property.picture, pictures.size());
                    const skinner::Image* image = pictures[property.picture].get_image();
                    ASSERT_NE(image, nullptr) << narrow(entry.skin.pictures[property.picture]);
                    const auto right = static_cast<std::int32_t>(property.points[6] * scale);
                    const auto bottom = static_cast<std::int32_t>(property.points[7] * scale);
                    EXPECT_TRUE(right <= image->width() && bottom <= image->height())
                        << entry.compiled << " at scale " << scale << ": " << narrow(form) << "." << narrow(record.name)
                        << "." << narrow(property.name) << " reaches " << right << "," << bottom << " in "
                        << narrow(entry.skin.pictures[property.picture]) << " of " << image->width() << "x"
                        << image->height();
                }
            });
        }
    }
}

}

namespace {

// The font a control draws its text in: its normal look's, or its first
// state's for a multi-state button.
skinner::Font text_font(Properties& properties, const std::u16string& form, const std::u16string& control,
    const std::u16string& look)
{
    for (const std::u16string& key : { look, u"State0" + look }) {
        skinner::Font font = properties.get_property_font(form, control, key, skinner::Font());
        if (font.platform_font() != nullptr)
            return font;
    }
    return skinner::Font();
}

// Every English text of a skin fits between its control's borders on every
// screen (the right border is the left one unless the skin gives it), so that
// no label, button or check box loses letters or shows an ellipsis where the
// skin meant a whole word. Texts that wrap, and those without a font of their
// own (window titles, tab pages), are laid out elsewhere.
TEST_F(DefaultSkins, EnglishTextsFitTheirControls)
{
    const std::u16string english = wide(test::program_folder() + "/English.lng");
    for (const auto& entry : m_skins) {
        const auto forms = controls_by_form(entry.skin);
        for (const Size screen : screens(entry.skin)) {
            Properties properties(wide(entry.compiled), screen);
            if (!properties.check_version(entry.skin.name, screen))
                continue;
            ASSERT_TRUE(properties.load_language(english));
            for (const auto& [form, created] : forms) {
                for (const auto& control : chosen_controls(properties, form, created)) {
                    const Point size = properties.get_property_point(form, control, u"Size", {});
                    if (size.x == 0 || properties.get_property_int(form, control, u"Wrap", 0) != 0)
                        continue;
                    const Point min = properties.get_property_point(form, control, u"BorderMin", {});
                    const Point max = properties.get_property_point(form, control, u"BorderMax", min);
                    const std::int32_t room = size.x - min.x - max.x;
                    for (const auto& [key, look] : { std::pair { u"Text", u"Normal" }, { u"CheckedText", u"CheckedNormal" } }) {
                        const std::u16string text = properties.get_property_string(form, control, key, u"");
                        const skinner::Font font = text_font(properties, form, control, look);
                        if (text.empty() || font.platform_font() == nullptr)
                            continue;
                        EXPECT_LT(skinner::measure_text(font, text).width, room)
                            << entry.compiled << " on " << describe(screen) << ": " << narrow(form) << "."
                            << narrow(control) << " \"" << narrow(text) << "\" is wider than its room";
                    }
                }
            }
        }
    }
}

}
