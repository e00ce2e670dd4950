#include "app/explorer/Id3TagForm.h"

#include "audio/Id3Tag.h"
#include "liba/Conversion.h"

Id3TagForm::Id3TagForm(skinner::Form* owner, skinner::Properties& properties)
    : Form(owner, properties, u"Id3Tags")
    , m_title(*this, u"txtTitle")
    , m_artist(*this, u"txtArtist")
    , m_album(*this, u"txtAlbum")
    , m_genre(*this, u"cbGenre")
    , m_year(*this, u"txtYear")
    , m_track(*this, u"txtTrack")
    , m_comment(*this, u"txtComment")
    , m_menu(*this, u"MenuMain")
{
}

Id3TagForm::~Id3TagForm() = default;

bool Id3TagForm::edit(audio::Id3Tag& tag)
{
    show(tag);
    do_modal();
    store(tag);
    return m_confirmed;
}

void Id3TagForm::show(const audio::Id3Tag& tag)
{
    m_title.set_text(tag.title);
    m_artist.set_text(tag.artist);
    m_album.set_text(tag.album);
    m_year.set_text(tag.year);
    m_track.set_text(liba::number_text(tag.track));
    m_comment.set_text(tag.comment);
    // A file without a tag has no genre: its record's 0 would read as the first genre.
    m_genre.select_id(tag.has_tag ? std::uint32_t(tag.genre) : GenreCombo::no_genre);
}

void Id3TagForm::store(audio::Id3Tag& tag) const
{
    tag.title = m_title.get_text();
    tag.artist = m_artist.get_text();
    tag.album = m_album.get_text();
    tag.year = m_year.get_text();
    tag.comment = m_comment.get_text();
    const std::u16string& track = m_track.get_text();
    int number = 0;
    if (liba::parse_int(track.data(), track.data() + track.size(), number))
        tag.track = number;
    tag.genre = std::int32_t(m_genre.current_id());
}

bool Id3TagForm::on_click(skinner::Control& sender)
{
    if (sender.id() != u"btnOk")
        return false;
    m_confirmed = true;
    close();
    return true;
}
