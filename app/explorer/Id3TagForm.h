#pragma once

#include "app/explorer/GenreCombo.h"
#include "skinner/core/Form.h"
#include "skinner/widgets/edit/ControlEdit.h"
#include "skinner/menus/ControlMenuMain.h"

namespace audio {
class Id3Tag;
}

// Edits the ID3v1 tag of an MP3 file: title, artist, album, year, track
// number, comment and genre. The fields take any length; fitting them into
// the tag is the tag writer's task.
class Id3TagForm : public skinner::Form {
public:
    using Genre = ::Genre;
    using GenreCombo = ::GenreCombo;

    // Built from the skin form "Id3Tags" of the settings skin.
    Id3TagForm(skinner::Form* owner, skinner::Properties& properties);
    ~Id3TagForm() override;

    // Shows the tag, runs the form and writes every field back into the
    // record, however the form was closed; true when the user confirmed.
    bool edit(audio::Id3Tag& tag);

    // "btnOk" confirms and closes.
    bool on_click(skinner::Control& sender) override;

    skinner::ControlEdit& title() { return m_title; }

    skinner::ControlEdit& artist() { return m_artist; }

    skinner::ControlEdit& album() { return m_album; }

    GenreCombo& genre() { return m_genre; }

    skinner::ControlEdit& year() { return m_year; }

    skinner::ControlEdit& track() { return m_track; }

    skinner::ControlEdit& comment() { return m_comment; }

private:
    void show(const audio::Id3Tag& tag);
    void store(audio::Id3Tag& tag) const;

    bool m_confirmed = false;
    skinner::ControlEdit m_title;
    skinner::ControlEdit m_artist;
    skinner::ControlEdit m_album;
    GenreCombo m_genre;
    skinner::ControlEdit m_year;
    skinner::ControlEdit m_track;
    skinner::ControlEdit m_comment;
    skinner::ControlMenuMain m_menu;
};
