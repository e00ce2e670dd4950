#include "app/explorer/ExplorerDialogs.h"

#include "app/SettingsSkinStore.h"
#include "app/explorer/BeamForm.h"
#include "app/explorer/ConvertForm.h"
#include "app/explorer/Id3TagForm.h"

namespace {

ExplorerDialogs program_dialogs()
{
    ExplorerDialogs dialogs;
    dialogs.edit_tag = [](skinner::Form& parent, audio::Id3Tag& tag) {
        Id3TagForm form(&parent, get_settings_skin());
        return form.edit(tag);
    };
    dialogs.convert = [](skinner::Form& parent, const std::u16string& source, const std::u16string& target) {
        return convert_to_mp3(&parent, get_settings_skin(), source, target) == ConvertForm::Outcome::converted
            ? ExplorerDialogs::ConvertResult::done
            : ExplorerDialogs::ConvertResult::not_done;
    };
    dialogs.beam = [](skinner::Form& parent, const std::u16string& path) {
        BeamForm form(&parent, get_settings_skin(), path);
        form.do_modal();
    };
    return dialogs;
}

}

ExplorerDialogs& explorer_dialogs()
{
    static ExplorerDialogs dialogs = program_dialogs();
    return dialogs;
}
