#include "app/explorer/GenreCombo.h"

#include "skinner/widgets/combos/List.h"
#include "skinner/graphics/Canvas.h"

#include <algorithm>
#include <array>

namespace {

// The genre byte's names, by id.
constexpr std::array<const char16_t*, 148> genre_names { u"Blues", u"Classic Rock", u"Country", u"Dance", u"Disco",
    u"Funk", u"Grunge", u"Hip-Hop", u"Jazz", u"Metal", u"New Age", u"Oldies", u"Other", u"Pop", u"R&B", u"Rap",
    u"Reggae", u"Rock", u"Techno", u"Industrial", u"Alternative", u"Ska", u"Death Metal", u"Pranks",
    u"Soundtrack", u"Euro-Techno", u"Ambient", u"Trip-Hop", u"Vocal", u"Jazz+Funk", u"Fusion", u"Trance",
    u"Classical", u"Instrumental", u"Acid", u"House", u"Game", u"Sound Clip", u"Gospel", u"Noise",
    u"Alt. Rock", u"Bass", u"Soul", u"Punk", u"Space", u"Meditative", u"Instrumental Pop", u"Instrumental Rock",
    u"Ethnic", u"Gothic", u"Darkwave", u"Techno-Industrial", u"Electronic", u"Pop-Folk", u"Eurodance", u"Dream",
    u"Southern Rock", u"Comedy", u"Cult", u"Gangsta Rap", u"Top 40", u"Christian Rap", u"Pop/Funk", u"Jungle",
    u"Native American", u"Cabaret", u"New Wave", u"Psychedelic", u"Rave", u"Showtunes", u"Trailer", u"Lo-Fi",
    u"Tribal", u"Acid Punk", u"Acid Jazz", u"Polka", u"Retro", u"Musical", u"Rock & Roll", u"Hard Rock", u"Folk",
    u"Folk/Rock", u"National Folk", u"Swing", u"Fast-Fusion", u"Bebop", u"Latin", u"Revival", u"Celtic",
    u"Bluegrass", u"Avantgarde", u"Gothic Rock", u"Progressive Rock", u"Psychedelic Rock", u"Symphonic Rock",
    u"Slow Rock", u"Big Band", u"Chorus", u"Easy Listening", u"Acoustic", u"Humour", u"Speech", u"Chanson",
    u"Opera", u"Chamber Music", u"Sonata", u"Symphony", u"Booty Bass", u"Primus", u"Porn Groove", u"Satire",
    u"Slow Jam", u"Club", u"Tango", u"Samba", u"Folklore", u"Ballad", u"Power Ballad", u"Rhythmic Soul",
    u"Freestyle", u"Duet", u"Punk Rock", u"Drum Solo", u"A Cappella", u"Euro-House", u"Dance Hall", u"Goa",
    u"Drum & Bass", u"Club-House", u"Hardcore", u"Terror", u"Indie", u"BritPop", u"Negerpunk", u"Polsk Punk",
    u"Beat", u"Christian Gangsta Rap", u"Heavy Metal", u"Black Metal", u"Crossover", u"Contemporary Christian",
    u"Christian Rock", u"Merengue", u"Salsa", u"Thrash Metal", u"Anime", u"JPop", u"Synthpop" };

// Canvas text alignment: centred, vertically centred.
constexpr std::int32_t text_center = 1;
constexpr std::int32_t text_vcenter = 1;

}

GenreCombo::GenreCombo(skinner::Container& container, std::u16string_view id, skinner::ControlMode mode)
    : ControlComboBoxGenericReadonly(container, id, mode)
{
    items = all_genres();
    // Code-unit order, so "<none>" comes first.
    std::stable_sort(items.begin(), items.end(), [](const Genre& a, const Genre& b) { return a.name < b.name; });
    set_current(0);
}

GenreCombo::~GenreCombo() = default;

std::vector<Genre> GenreCombo::all_genres()
{
    std::vector<Genre> genres;
    for (std::size_t id = 0; id < genre_names.size(); ++id)
        genres.push_back({ genre_names[id], static_cast<std::uint32_t>(id) });
    genres.push_back({ u"<none>", no_genre });
    return genres;
}

void GenreCombo::select_id(std::uint32_t id)
{
    set_current(0);
    const auto found = std::find_if(items.begin(), items.end(), [id](const Genre& genre) { return genre.id == id; });
    if (found != items.end())
        set_current(static_cast<std::int32_t>(found - items.begin()));
}

std::uint32_t GenreCombo::current_id() const
{
    return current_is_valid() ? items[std::size_t(get_current())].id : no_genre;
}

void GenreCombo::paint_item(std::int32_t row, skinner::Canvas& canvas, skinner::Point position, skinner::Size size,
    bool selected, bool highlighted)
{
    const skinner::List* drop_down = list();
    if (!drop_down)
        return;
    const skinner::ButtonLook& look = drop_down->get_item_look(selected, highlighted);
    look.picture.draw(canvas, position, size);
    if (row < 0 || std::size_t(row) >= items.size())
        return;
    canvas.draw_text(look.font, look.text_color, items[std::size_t(row)].name, position, size, text_center,
        text_vcenter);
}

bool GenreCombo::on_selection_changed(skinner::Control& sender)
{
    // Item 0 again: set_current reports that change itself.
    if (get_current() < 0) {
        set_current(0);
        return true;
    }
    face().set_text(current_is_valid() ? std::u16string_view(items[std::size_t(get_current())].name)
                                       : std::u16string_view());
    return ControlComboBoxGenericReadonly::on_selection_changed(sender);
}
