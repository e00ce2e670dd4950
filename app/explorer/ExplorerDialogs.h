#pragma once

#include <functional>
#include <string>

namespace audio {
class Id3Tag;
}

namespace skinner {
class Form;
}

// The forms that the explorer's commands open but the dialogs make: the tag
// form, the conversion form and the beam form. The program's own are there
// from the start; tests replace them, and a command whose form is missing
// tells the user so and does nothing.
struct ExplorerDialogs {
    enum class ConvertResult { done, not_done };

    // Edits the tag; true when the user kept the edit.
    std::function<bool(skinner::Form& parent, audio::Id3Tag& tag)> edit_tag;
    // Converts the WAV source into the MP3 target, which a complete new file
    // replaces; not_done when it was stopped or failed, which the dialog has
    // already told the user, and then an old target is left as it was.
    std::function<ConvertResult(
        skinner::Form& parent, const std::u16string& source, const std::u16string& target)>
        convert;
    // Sends the file over infrared.
    std::function<void(skinner::Form& parent, const std::u16string& path)> beam;
};

// The program's one set.
ExplorerDialogs& explorer_dialogs();
