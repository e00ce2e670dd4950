#include "app/explorer/GenreCombo.h"
#include "platform/ui/Input.h"
#include "tests/dialogs/DialogScreen.h"

#include <algorithm>
#include <set>

namespace {

class GenreComboTest : public test::DialogScreen {
protected:
    skinner::Form form { nullptr, settings, u"Id3Tags" };
    GenreCombo combo { form, u"cbGenre" };

    std::u16string face() { return combo.face().text(); }
};

TEST_F(GenreComboTest, EveryGenreOnceSortedByNameWithNoneFirst)
{
    const std::vector<Genre> genres = GenreCombo::all_genres();
    ASSERT_EQ(genres.size(), 149u);
    for (std::uint32_t id = 0; id < 148; ++id)
        EXPECT_EQ(genres[id].id, id);
    EXPECT_EQ(genres.back().name, u"<none>");
    EXPECT_EQ(genres.back().id, GenreCombo::no_genre);
    const std::pair<std::uint32_t, const char16_t*> renamed[] = { { 40, u"Alt. Rock" }, { 59, u"Gangsta Rap" },
        { 67, u"Psychedelic" }, { 81, u"Folk/Rock" }, { 84, u"Fast-Fusion" }, { 123, u"A Cappella" } };
    for (const auto& [id, name] : renamed)
        EXPECT_EQ(genres[id].name, name);
    std::set<std::u16string> names;
    for (const Genre& genre : genres)
        names.insert(genre.name);
    EXPECT_EQ(names.size(), genres.size()) << "no name twice";

    ASSERT_EQ(combo.items.size(), 149u);
    EXPECT_TRUE(std::is_sorted(combo.items.begin(), combo.items.end(),
        [](const Genre& a, const Genre& b) { return a.name < b.name; }));
    EXPECT_EQ(combo.items[0].name, u"<none>");
    EXPECT_EQ(combo.items[1].name, u"A Cappella");
    EXPECT_EQ(combo.get_current(), 0);
    EXPECT_EQ(face(), u"<none>");
}

TEST_F(GenreComboTest, AnIdOutsideTheListSelectsNone)
{
    combo.select_id(17);
    EXPECT_EQ(face(), u"Rock");
    EXPECT_EQ(combo.current_id(), 17u);
    for (std::uint32_t id : { 200u, 148u, 255u }) {
        combo.select_id(id);
        EXPECT_EQ(combo.get_current(), 0) << id;
        EXPECT_EQ(combo.current_id(), GenreCombo::no_genre) << id;
        EXPECT_EQ(face(), u"<none>");
    }
    combo.set_current(-1);
    EXPECT_EQ(combo.get_current(), 0) << "no item is never left chosen";
}

TEST_F(GenreComboTest, AGenreChosenInTheDropDown)
{
    form.set_active(true);
    run();
    const skinner::Point right_end { combo.position().x + combo.size().width - 4,
        combo.position().y + combo.size().height / 2 };
    screen->tap(on_screen(form, right_end))
        .key(platform::vk::down, 100)
        .key(platform::vk::down, 10)
        .key(platform::vk::down, 10)
        .key(platform::vk::enter, 10);
    run();
    EXPECT_EQ(combo.dropdown(), nullptr);
    EXPECT_EQ(face(), u"Acid Jazz");
    EXPECT_EQ(combo.current_id(), 74u);
}

}
