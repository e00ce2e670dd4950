#include "skinner/skin/Properties.h"

#include "os/Log.h"
#include "tests/skinner/skin/SkinFixture.h"
#include "tests/support/TempDir.h"
#include "tests/skinner/EditionOnly.h"

#include <gtest/gtest.h>

namespace {

using skinner::Color;
using skinner::Cursor;
using skinner::Point;
using skinner::Properties;
using skinner::Size;
using test::wide;

const Size qvga { 240, 320 };

class TestSkin : public testing::Test {
protected:
    test::ScopedWorkArea m_work_area { skinner::work_area_slot(), Size { 240, 268 } };
    Properties m_skin { wide(test::test_skin_path), qvga };
};

TEST_F(TestSkin, LoadsAndPassesTheVersionCheck)
{
    EXPECT_TRUE(m_skin.impl().is_valid());
    EXPECT_TRUE(m_skin.check_version(u"Orvanta_500", qvga));
    EXPECT_TRUE(m_skin.check_version(u"", Size {}));
    EXPECT_FALSE(m_skin.check_version(u"Orvanta_50", qvga));
    EXPECT_FALSE(m_skin.check_version(u"orvanta_500", qvga));
    EXPECT_EQ(m_skin.impl().scale(), 1u);
    EXPECT_EQ(m_skin.impl().pictures().size(), 2u);
    ASSERT_EQ(m_skin.impl().fonts().size(), 2u);
    EXPECT_EQ(m_skin.impl().fonts()[1].entry()->description(), u"14 1 0 0 Tahoma");
}

TEST_F(TestSkin, ReadsEveryPropertyOfAControl)
{
    EXPECT_EQ(m_skin.get_property_string(u"Main", u"Title", u"Text", u"x"), u"title_key");
    EXPECT_EQ(m_skin.get_property_color(u"Main", u"Title", u"TextColor", {}), (Color { 255, 128, 0, 0 }));
    EXPECT_EQ(m_skin.get_property_color(u"Main", u"Title", u"Back", {}), (Color { 1, 2, 3, 4 }));
    EXPECT_EQ(m_skin.get_property_point(u"Main", u"Title", u"Position", {}), (Point { -3, 7 }));
    EXPECT_EQ(m_skin.get_property_cursor(u"Main", u"Title", u"Cursor", {}), (Cursor { 32649 }));
    const skinner::Font font = m_skin.get_property_font(u"Main", u"Title", u"Font", {});
    ASSERT_NE(font.entry(), nullptr);
    EXPECT_EQ(font.entry()->description(), u"14 1 0 0 Tahoma");
    // The same shared entry as the skin's own font.
    EXPECT_EQ(font.entry(), m_skin.impl().fonts()[1].entry());

    EXPECT_EQ(m_skin.get_property_int(u"Main", u"Ok", u"Id", 0), 1);
    EXPECT_EQ(m_skin.get_property_int(u"Main", u"Ok", u"Large", 0), INT32_MIN);
    const skinner::Picture normal = m_skin.get_property_picture(u"Main", u"Ok", u"Normal", {});
    ASSERT_NE(normal.get_image(), nullptr);
    EXPECT_EQ(normal.get_image()->width(), 12);
    EXPECT_EQ(normal.get_size(), (Size { 12, 8 }));
    EXPECT_EQ(normal.get_border_size(), (Size { 0, 0 }));
    EXPECT_FALSE(normal.stretch());
    const skinner::Picture pressed = m_skin.get_property_picture(u"Main", u"Ok", u"Pressed", {});
    EXPECT_EQ(pressed.source_top_left(), (Point { 1, 2 }));
    EXPECT_EQ(pressed.inner_top_left(), (Point { 3, 3 }));
    EXPECT_EQ(pressed.inner_bottom_right(), (Point { 9, 6 }));
    EXPECT_EQ(pressed.source_bottom_right(), (Point { 11, 7 }));
    EXPECT_EQ(pressed.get_border_size(), (Size { 4, 2 }));
    // Shares the image that the skin loaded.
    EXPECT_EQ(pressed.get_image(), m_skin.impl().pictures()[1].get_image());
    EXPECT_EQ(
        m_skin.get_property_string(u"Main", u"\u0386", u"Text", u""), u"\u03a9\u03bc\u03ad\u03b3\u03b1");
}

TEST_F(TestSkin, ReadsAKindsProperties)
{
    EXPECT_EQ(m_skin.get_property_int(u"", u"Button", u"Height", 0), 20);
    EXPECT_EQ(m_skin.get_property_point(u"", u"Button", u"Margin", {}), (Point { 2, 3 }));
    EXPECT_EQ(m_skin.get_property_string(u"", u"Button", u"Label", u""), u"button_key");
    EXPECT_EQ(m_skin.get_property_color(u"", u"Button", u"Face", {}), (Color { 0x10, 0x20, 0x30, 0 }));
    EXPECT_EQ(m_skin.get_property_picture(u"", u"Button", u"Face", {}).get_size(), (Size { 24, 16 }));
    EXPECT_EQ(
        m_skin.get_property_font(u"", u"Button", u"Font", {}).entry()->description(), u"12 0 0 0 Tahoma");
    EXPECT_EQ(m_skin.get_property_int(u"", u"Frame", u"Height", 0), 12);
}

TEST_F(TestSkin, EveryGetterGivesItsDefaultForAnAbsentProperty)
{
    const skinner::Picture picture = m_skin.get_property_picture(u"", u"Button", u"Face", {});
    skinner::Font font(3);
    EXPECT_EQ(m_skin.get_property_int(u"Main", u"Ok", u"None", -5), -5);
    EXPECT_EQ(m_skin.get_property_int_scaled(u"Main", u"Ok", u"None", -5), -5);
    EXPECT_EQ(m_skin.get_property_point(u"Main", u"Ok", u"None", { 1, 2 }), (Point { 1, 2 }));
    EXPECT_EQ(m_skin.get_property_string(u"Main", u"Ok", u"None", u"default_key"), u"default_key");
    EXPECT_EQ(m_skin.get_property_color(u"Main", u"Ok", u"None", { 9, 8, 7, 6 }), (Color { 9, 8, 7, 6 }));
    EXPECT_EQ(m_skin.get_property_picture(u"Main", u"Ok", u"None", picture).get_image(), picture.get_image());
    EXPECT_EQ(m_skin.get_property_font(u"Main", u"Ok", u"None", font).scale(), 3u);
    EXPECT_EQ(m_skin.get_property_cursor(u"Main", u"Ok", u"None", { 32514 }), (Cursor { 32514 }));
    // A text that names no cursor, and a name of another table.
    EXPECT_EQ(m_skin.get_property_cursor(u"Main", u"Ok", u"Cursor", { 7 }), (Cursor { 7 }));
    EXPECT_EQ(m_skin.get_property_int(u"Main", u"Ok", u"Normal", 4), 4);
    // An empty kind name finds nothing and reports nothing.
    EXPECT_EQ(m_skin.get_property_int(u"", u"", u"Height", 11), 11);
    EXPECT_EQ(m_skin.get_form_property_int(u"Main", u"None", 6), 6);
    EXPECT_EQ(m_skin.get_form_property_point(u"Main", u"None", { 5, 5 }), (Point { 5, 5 }));
    EXPECT_TRUE(m_skin.get_form_property_picture(u"Main", u"None", {}).is_empty());
}

TEST_F(TestSkin, ReadsAFormsOwnPropertiesAndTemplates)
{
    EXPECT_EQ(m_skin.get_form_property_point(u"Main", u"Size", {}), (Point { 240, 268 }));
    EXPECT_EQ(m_skin.get_form_property_int(u"Main", u"Fullscreen", 5), 0);
    const skinner::Picture background = m_skin.get_form_property_picture(u"Main", u"Background", {});
    EXPECT_TRUE(background.stretch());
    EXPECT_EQ(background.get_border_size(), (Size { 8, 4 }));
    ASSERT_EQ(m_skin.get_form_template_count(u"Main"), 2u);
    EXPECT_EQ(m_skin.get_form_template(u"Main", 0),
        std::make_pair(std::u16string(u"Title"), std::u16string(u"Auto.Frame")));
    EXPECT_EQ(m_skin.get_form_template(u"Main", 1),
        std::make_pair(std::u16string(u"Ok"), std::u16string(u"Auto.Button")));
    EXPECT_EQ(m_skin.get_form_template(u"Main", 2), (std::pair<std::u16string, std::u16string> {}));
    EXPECT_EQ(m_skin.get_form_template_count(u"Choice"), 0u);
}

TEST_F(TestSkin, StringsPassThroughTheLanguageButCursorsDoNot)
{
    test::TempDir dir;
    const std::string language = dir.write("en.lng", "title_key Hello\nHAND Pointer\n");
    ASSERT_TRUE(m_skin.load_language(wide(language)));
    EXPECT_EQ(m_skin.get_property_string(u"Main", u"Title", u"Text", u""), u"Hello");
    EXPECT_EQ(m_skin.get_property_string(u"Main", u"Title", u"Cursor", u""), u"Pointer");
    EXPECT_EQ(m_skin.get_property_cursor(u"Main", u"Title", u"Cursor", {}), (Cursor { 32649 }));
    // A default is not translated.
    EXPECT_EQ(m_skin.get_property_string(u"Main", u"Title", u"None", u"title_key"), u"title_key");
    // A language file that cannot be read keeps the table.
    EXPECT_FALSE(m_skin.load_language(wide(dir.file("missing.lng"))));
    EXPECT_EQ(m_skin.translate(u"title_key"), u"Hello");
}

TEST_F(TestSkin, RepeatedLookupsCountButCompareOnce)
{
    skinner::PropertiesImpl& impl = m_skin.impl();
    m_skin.get_property_int(u"Main", u"Ok", u"Id", 0);
    impl.reset_counters();
    const std::uint32_t record = impl.find_record(u"Main", u"Ok");
    EXPECT_EQ(impl.find_record(u"Main", u"Ok"), record);
    EXPECT_EQ(impl.property_counter(), 2u);
    EXPECT_EQ(impl.compare_counter(), 0u);
    impl.find_record(u"", u"Button");
    const std::uint32_t compared = impl.compare_counter();
    EXPECT_GT(compared, 0u);
    impl.find_record(u"", u"Button");
    EXPECT_EQ(impl.compare_counter(), compared);
    EXPECT_EQ(impl.found_property_counter(), 0u);
}

// The variant that a form lookup chose, by its "Id".
int chosen(Properties& skin, const char16_t* form)
{
    return skin.get_form_property_int(form, u"Id", 0);
}

TEST(FormVariants, WidestThatFitsThenTallest)
{
    test::ScopedWorkArea area(skinner::work_area_slot(), Size { 480, 588 });
    // No screen size: scale 1.
    Properties skin(wide(test::test_skin_path), Size {});
    ASSERT_TRUE(skin.impl().is_valid());
    // No size, 320 x 240 and 480 x 640: the third does not fit, the second is wider than the first.
    EXPECT_EQ(chosen(skin, u"Choice"), 2);
    const std::u16string& log = skin.impl().form_choice_log();
    EXPECT_NE(log.find(u"+Choice.small Size=320 240 Devices= good_for_device\n"), std::u16string::npos);
    EXPECT_NE(log.find(u"-Main\n"), std::u16string::npos);
}

TEST(FormVariants, EqualSizesGoToTheLastVisited)
{
    test::ScopedWorkArea area(skinner::work_area_slot(), Size { 240, 268 });
    Properties skin(wide(test::test_skin_path), qvga);
    chosen(skin, u"Equal");
    // The candidates in the order visited, as the log lists them.
    const std::u16string& log = skin.impl().form_choice_log();
    const std::size_t last = log.rfind(u"+Equal");
    ASSERT_NE(last, std::u16string::npos);
    const int expected = log[last + 6] - u'0';
    EXPECT_EQ(chosen(skin, u"Equal"), expected);
}

TEST(FormVariants, FullScreenVariantsMeasureAgainstTheScreen)
{
    test::ScopedWorkArea area(skinner::work_area_slot(), Size { 240, 268 });
    Properties skin(wide(test::test_skin_path), qvga);
    EXPECT_EQ(chosen(skin, u"Full"), 2);
    test::ScopedWorkArea small(skinner::work_area_slot(), Size { 100, 100 });
    Properties other(wide(test::test_skin_path), qvga);
    EXPECT_EQ(chosen(other, u"Full"), 2);
}

TEST(FormVariants, OnlyVariantsForThisDeviceCount)
{
    test::ScopedWorkArea area(skinner::work_area_slot(), Size { 240, 268 });
    Properties skin(wide(test::test_skin_path), qvga);
    // The Smartphone variant is the widest that fits, but only for the Smartphone.
    EXPECT_EQ(chosen(skin, u"Device"), skinner::is_smartphone ? 1 : 2);
    const std::u16string& log = skin.impl().form_choice_log();
    EXPECT_NE(log.find(skinner::is_smartphone ? u"+Device.phone Size=200 200 Devices=S good_for_device\n"
                                              : u"+Device.phone Size=200 200 Devices=S\n"),
        std::u16string::npos);
    EXPECT_NE(log.find(u"+Device.both Size=100 100 Devices=PS good_for_device\n"), std::u16string::npos);
}

TEST(SkinScale, ExactFitsAndBestFits)
{
    test::ScopedWorkArea area(skinner::work_area_slot(), Size { 480, 536 });
    // 240 x 320 twice is 480 x 640.
    Properties vga(wide(test::test_skin_path), Size { 480, 640 });
    EXPECT_EQ(vga.impl().scale(), 2u);
    const skinner::VersionMatch match = vga.impl().check_version(u"Orvanta_500", Size { 480, 640 });
    EXPECT_TRUE(match.ok);
    EXPECT_EQ(match.scale, 2u);
    EXPECT_EQ(match.size, (Size { 240, 320 }));
    // No exact fit on 480 x 800, but scale 2 still fits best.
    Properties tall(wide(test::test_skin_path), Size { 480, 800 });
    EXPECT_FALSE(tall.check_version(u"Orvanta_500", Size { 480, 800 }));
    EXPECT_EQ(tall.impl().scale(), 2u);
    // Landscape: the second size record, at scale 2.
    Properties landscape(wide(test::test_skin_path), Size { 640, 480 });
    EXPECT_EQ(landscape.impl().scale(), 2u);
    // Too small for any size: scale 1.
    Properties tiny(wide(test::test_skin_path), Size { 100, 100 });
    EXPECT_EQ(tiny.impl().scale(), 1u);
    EXPECT_FALSE(tiny.check_version(u"Orvanta_500", Size { 100, 100 }));
}

TEST(SkinScale, ScaledGettersAndPictures)
{
    test::ScopedWorkArea area(skinner::work_area_slot(), Size { 480, 536 });
    Properties skin(wide(test::test_skin_path), Size { 480, 640 });
    ASSERT_EQ(skin.impl().scale(), 2u);
    EXPECT_EQ(skin.get_property_int(u"Main", u"Ok", u"Width", 0), 30);
    EXPECT_EQ(skin.get_property_int_scaled(u"Main", u"Ok", u"Width", 0), 60);
    EXPECT_EQ(skin.get_property_int_scaled(u"Main", u"Ok", u"None", 7), 7);
    EXPECT_EQ(skin.get_property_point(u"Main", u"Title", u"Position", {}), (Point { -6, 14 }));
    EXPECT_EQ(skin.get_property_point(u"Main", u"Title", u"None", { 1, 1 }), (Point { 1, 1 }));
    const skinner::Picture pressed = skin.get_property_picture(u"Main", u"Ok", u"Pressed", {});
    EXPECT_EQ(pressed.source_top_left(), (Point { 2, 4 }));
    EXPECT_EQ(pressed.source_bottom_right(), (Point { 22, 14 }));
    // The ready-made "_x2" file of the button at its own size; the panel has
    // none and is stretched to twice its size.
    EXPECT_EQ(pressed.get_image()->width(), 24);
    EXPECT_EQ(pressed.get_image()->scale(), 2u);
    EXPECT_EQ(skin.impl().pictures()[0].get_image()->width(), 48);
    EXPECT_EQ(skin.get_property_font(u"", u"Button", u"Font", {}).scale(), 2u);
}

// Writes a message for a death test's pattern: braces and dots taken literally.
std::string literal(const std::string& text)
{
    std::string pattern;
    for (char c : text) {
        if (std::string_view("{}.()[]*+?^$|\\").find(c) != std::string_view::npos)
            pattern += '\\';
        pattern += c;
    }
    return pattern;
}

TEST(SkinLookupDeathTest, WhatTheSkinLacksEndsTheProgram)
{
    ORVANTA_POCKET_PC_ONLY();
    test::ScopedWorkArea area(skinner::work_area_slot(), Size { 240, 268 });
    const auto ends = testing::ExitedWithCode(os::fatal_exit_code);
    const std::string path = test::test_skin_path;
    Properties skin(wide(path), qvga);
    EXPECT_EXIT(skin.get_property_int(u"Main", u"Missing", u"Id", 0), ends,
        literal("report_no_control: Skin file {" + path + "} form {Main} has no control {Missing}"));
    EXPECT_EXIT(skin.get_property_int(u"Missing", u"Ok", u"Id", 0), ends,
        literal("report_no_control: Skin file {" + path + "} form {Missing} has no control {Ok}"));
    EXPECT_EXIT(skin.get_property_int(u"", u"Missing", u"Id", 0), ends,
        literal("report_no_form: Skin file {" + path + "} has no kind {Missing}"));
    EXPECT_EXIT(skin.get_form_template_count(u"Missing"), ends,
        literal("report_no_form: Skin file {" + path
            + "} has no form {Missing} for workarea_size=240 268. list of all forms:")
            + "\n.*-Main\n");
    // A form meant only for Smartphones is missing on this device.
    EXPECT_EXIT(skin.get_form_property_int(u"PhoneOnly", u"Id", 0), ends, "has no form \\{PhoneOnly\\}");
    Properties none;
    EXPECT_EXIT(none.get_property_int(u"", u"Button", u"Height", 0), ends,
        literal("report_no_skin: Skin file {} was invalid, but no check_version performed"));
}

class Client final : public skinner::SkinClient {
public:
    explicit Client(Properties& properties)
        : m_properties(properties)
    {
    }

    void reload_skin() override
    {
        heights.push_back(m_properties.get_property_int(u"", u"Button", u"Height", 0));
    }

    std::vector<int> heights;

private:
    Properties& m_properties;
};

TEST(LoadSkin, ABrokenSkinLeavesTheWorkingOneInPlace)
{
    test::ScopedWorkArea area(skinner::work_area_slot(), Size { 240, 268 });
    Properties skin(wide(test::test_skin_path), qvga);
    Client client(skin);
    skin.attach(client);
    test::TempDir dir;
    const std::string broken = dir.write("broken.skin", std::string(600, 'x'));
    EXPECT_FALSE(skin.load_skin(wide(broken), qvga));
    EXPECT_TRUE(skin.check_version(u"Orvanta_500", qvga));
    EXPECT_EQ(skin.impl().path(), wide(test::test_skin_path));
    EXPECT_TRUE(client.heights.empty());
    // A working skin replaces it and every attached form reads its looks again.
    EXPECT_TRUE(skin.load_skin(wide(test::copy_test_skin(dir)), qvga));
    EXPECT_EQ(skin.impl().path(), wide(dir.file("test.skin")));
    EXPECT_EQ(client.heights, std::vector<int> { 20 });
    skin.detach(client);
    skin.refresh_skin();
    EXPECT_EQ(client.heights.size(), 1u);
}

TEST(LoadSkin, AnInvalidSkinIsReplacedByAnyOther)
{
    test::ScopedWorkArea area(skinner::work_area_slot(), Size { 240, 268 });
    test::TempDir dir;
    Properties skin(wide(dir.file("missing.skin")), qvga);
    EXPECT_FALSE(skin.check_version(u"Orvanta_500", qvga));
    EXPECT_TRUE(skin.load_skin_and_language(wide(test::test_skin_path), wide(dir.file("missing.lng")), qvga));
    EXPECT_TRUE(skin.check_version(u"Orvanta_500", qvga));
    EXPECT_EQ(skin.translate(u"key"), u"key");
}

}
