#include "app/settings/ControlComboBoxTurnOff.h"

#include "platform/ui/Input.h"
#include "tests/dialogs/DialogScreen.h"
#include "tests/support/TempDir.h"

namespace {

class TurnOffCombo : public test::DialogScreen {
protected:
    skinner::Form form { nullptr, settings, u"PagePlayback" };
    ControlComboBoxTurnOff combo { form, u"cbTurnOff" };
};

TEST_F(TurnOffCombo, SixTimesTranslatedWhenBuilt)
{
    std::vector<std::pair<std::u16string, std::int32_t>> items;
    for (const TurnOffTime& item : combo.items)
        items.emplace_back(item.text, item.seconds);
    EXPECT_EQ(items,
        (std::vector<std::pair<std::u16string, std::int32_t>> { { u"Never", 0 }, { u"2 seconds", 2 },
            { u"5 seconds", 5 }, { u"10 seconds", 10 }, { u"30 seconds", 30 }, { u"1 minute", 60 } }));
}

TEST_F(TurnOffCombo, SecondsSelectTheFirstItemThatLastsAsLong)
{
    const std::pair<std::int32_t, std::int32_t> cases[] {
        { 3, 2 },
        { 5, 2 },
        { 6, 3 },
        { 60, 5 },
        { 61, 0 },
        { 100000, 0 },
        { 0, 0 },
        { -4, 0 },
        { 1, 1 },
    };
    for (const auto& [seconds, index] : cases) {
        combo.select_seconds(seconds);
        EXPECT_EQ(combo.get_current(), index) << seconds;
        EXPECT_EQ(combo.face().text(), combo.items[std::size_t(index)].text) << seconds;
        EXPECT_EQ(combo.selected_seconds(), combo.items[std::size_t(index)].seconds);
    }
    combo.set_current(-1);
    EXPECT_EQ(combo.face().text(), u"Never") << "nothing selected shows the first item";
    EXPECT_EQ(combo.selected_seconds(), 0);
}

TEST_F(TurnOffCombo, ATimeChosenInTheDropDown)
{
    combo.select_seconds(2);
    form.set_active(true);
    run();
    const skinner::Point right_end { combo.position().x + combo.size().width - 4,
        combo.position().y + combo.size().height / 2 };
    screen->tap(on_screen(form, right_end))
        .key(platform::vk::down, 100)
        .key(platform::vk::down, 10)
        .key(platform::vk::enter, 10);
    run();
    EXPECT_EQ(combo.dropdown(), nullptr);
    EXPECT_EQ(combo.selected_seconds(), 10);
    EXPECT_EQ(combo.face().text(), u"10 seconds");
}

}

namespace {

TEST_F(TurnOffCombo, ItsTextsStayInTheLanguageItWasBuiltIn)
{
    test::TempDir dir;
    const std::string language = dir.write("Other.lng", "TurnOffTimeNever Nie\nTurnOffTime2sec 2 Sekunden\n");
    ASSERT_TRUE(settings.load_skin_and_language(
        test::program_file("skins/settings/settings.skin"), platform::from_utf8(language), { 240, 320 }));
    form.reload_skin();
    EXPECT_EQ(combo.items[0].text, u"Never");
    skinner::Form page(nullptr, settings, u"PageRecording");
    ControlComboBoxTurnOff rebuilt(page, u"cbTurnOff");
    EXPECT_EQ(rebuilt.items[0].text, u"Nie");
    EXPECT_EQ(rebuilt.items[1].text, u"2 Sekunden");
}

}
