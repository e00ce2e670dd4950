#include "app/settings/SettingsForm.h"
#include "model/Document.h"
#include "tests/app/AppScreen.h"

namespace {

class SettingsCommand : public test::AppScreen {
protected:
    // What the user does in the settings form, run inside its loop; the form then closes.
    void in_settings_form(const std::function<void(SettingsForm&)>& change)
    {
        screen->call([change] {
            auto* form = dynamic_cast<SettingsForm*>(skinner::Form::current_modal());
            ASSERT_NE(form, nullptr) << "the settings form runs";
            change(*form);
            form->close();
        });
    }
};

TEST_F(SettingsCommand, TheDocumentTakesWhatTheDialogLeftAndSavesIt)
{
    bool ran = false;
    inside_loop([&](MainForm& form) {
        in_settings_form([](SettingsForm& settings) {
            auto* mode = dynamic_cast<skinner::ControlComboBoxStringReadonly*>(
                settings.tab().pages()[1]->get_container()->get_control(u"cbMode"));
            ASSERT_NE(mode, nullptr);
            mode->set_current(4);
        });
        form.execute_command(u"Settings");
        EXPECT_EQ(Document::instance()->get_play_mode(), PlayMode::PlaylistShuffle);
        ran = true;
        // The loop's own close step was taken up by the settings form's loop.
        form.close();
    });
    Startup::run(u"");
    EXPECT_TRUE(ran);
    Settings saved;
    saved.load(Settings::file_path());
    EXPECT_EQ(saved.play_mode, PlayMode::PlaylistShuffle);
}

}
