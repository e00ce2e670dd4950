#include "app/settings/SettingsAssociate.h"
#include "platform/core/FileAssociations.h"
#include "platform/core/posix/MimeAppsAssociations.h"
#include "tests/app/settings/SettingsScreen.h"
#include "tests/support/Screenshot.h"

namespace {

using test::SettingsScreen;

// The desktop's own associations, in the test's configuration folder.
class AssociatePage : public SettingsScreen {
protected:
    std::string list() const { return test::read_file(dir.file("config/mimeapps.list")); }

    void check(SettingsForm& form, std::u16string_view id, bool checked)
    {
        control<skinner::ControlCheckBox>(form, associate, id).set_checked(checked);
    }

    bool checked(SettingsForm& form, std::u16string_view id)
    {
        return control<skinner::ControlCheckBox>(form, associate, id).is_checked();
    }

    platform::ScopedService<platform::FileAssociations, platform::MimeAppsAssociations> desktop {
        platform::file_associations_slot()
    };
};

TEST_F(AssociatePage, TypesAreTakenOnCloseAndGivenBackLater)
{
    dir.write("config/mimeapps.list", "[Default Applications]\naudio/x-wav=other-player.desktop\n");
    {
        SettingsForm form(nullptr, settings_skin, settings);
        for (const char16_t* id : { u"chkWAV", u"chkMP3", u"chkM3U", u"chkOGG", u"chkWMA" })
            EXPECT_FALSE(checked(form, id));
        check(form, u"chkWAV", true);
        check(form, u"chkOGG", true);
        EXPECT_EQ(list(), "[Default Applications]\naudio/x-wav=other-player.desktop\n") << "nothing before closing";
        close(form);
    }
    EXPECT_EQ(list(), "[Default Applications]\naudio/x-wav=orvanta.desktop\naudio/ogg=orvanta.desktop\n");
    EXPECT_EQ(settings.associate_wav_cmd, u"other-player.desktop");
    EXPECT_FALSE(settings.associate_ogg_cmd.empty());

    // The next time the page shows what is taken; giving WAV back restores the other player.
    SettingsForm form(nullptr, settings_skin, settings);
    EXPECT_TRUE(checked(form, u"chkWAV"));
    EXPECT_FALSE(checked(form, u"chkMP3"));
    EXPECT_TRUE(checked(form, u"chkOGG"));
    check(form, u"chkWAV", false);
    close(form);
    EXPECT_EQ(list(), "[Default Applications]\naudio/x-wav=other-player.desktop\naudio/ogg=orvanta.desktop\n");
    EXPECT_TRUE(settings.associate_wav_cmd.empty());
}

TEST_F(AssociatePage, Looks)
{
    settings.associate_mp3_cmd = u"kept.desktop";
    SettingsForm form(nullptr, settings_skin, settings);
    form.tab().pages()[associate]->set_visible(true);
    run();
    EXPECT_TRUE(test::matches_screenshot(screen->shown(), "settings-associate"));
}

}
