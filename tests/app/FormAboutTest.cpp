#include "app/FormAbout.h"
#include "platform/core/Launcher.h"
#include "platform/core/MessageBox.h"
#include "tests/dialogs/DialogScreen.h"
#include "tests/support/EnvironmentOverride.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TempDir.h"
#include "tests/support/Tool.h"
#include "tests/skinner/EditionOnly.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <thread>
#include <unistd.h>

namespace {

class FormAboutTest : public test::DialogScreen {
protected:
    FormAboutTest()
    {
        std::filesystem::create_directory(app.file("fun"));
        platform::set_desktop_opener(platform::from_utf8(ORVANTA_ARGV_RECORDER));
    }
    ~FormAboutTest() override { platform::set_desktop_opener(u"xdg-open"); }

    // The dialogs skin with the English texts and the test's own portal keys.
    void load_store(const std::string& extra_texts = {})
    {
        const std::string english = test::read_file(platform::to_utf8(test::program_file("English.lng")));
        app.write("Test.lng", english + extra_texts);
        dialogs_store.load_skin_and_language(test::program_file("skins/settings/dialogs.skin"),
            platform::from_utf8(app.file("Test.lng")), { 240, 320 });
    }

    void picture(const std::string& name, int width, int height)
    {
        const auto made = test::run_tool({ "convert", "-size", std::to_string(width) + "x" + std::to_string(height),
            "xc:#D04020", "PNG24:" + app.file("fun/" + name + ".png") });
        ASSERT_EQ(made.exit_code, 0);
    }

    std::optional<skinner::Size> logo_shown(const FormAbout& form)
    {
        auto* logo = dynamic_cast<const skinner::ControlPicture*>(form.get_control(u"frmLOGO"));
        auto* link = form.get_control(u"btnLOGO");
        EXPECT_EQ(logo->is_visible(), link->is_visible());
        if (!logo->is_visible())
            return std::nullopt;
        return logo->picture().get_size();
    }

    // What the desktop's opener was given, each argument as it stood.
    std::vector<std::string> opened()
    {
        const std::string log = app.file("argv");
        for (int i = 0; i < 3000 && access(log.c_str(), F_OK) != 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::vector<std::string> args;
        std::string current;
        for (char c : test::read_file(log)) {
            if (c == '\0')
                args.push_back(std::exchange(current, {}));
            else
                current += c;
        }
        std::filesystem::remove(log);
        return args;
    }

    test::TempDir app;
    test::EnvironmentOverride app_path { "ORVANTA_APP_PATH", app.path().c_str() };
    test::EnvironmentOverride argv_log { "ORVANTA_ARGV_LOG", app.file("argv").c_str() };
    skinner::Properties dialogs_store;
};

TEST_F(FormAboutTest, WithoutPortalFileNoLogoIsShown)
{
    ORVANTA_POCKET_PC_ONLY();
    load_store();
    FormAbout form(nullptr, dialogs_store, u"Qiro Orvanta v1.8", u"About");
    run();
    EXPECT_EQ(form.portal(), u"");
    EXPECT_EQ(frame_text(form, u"frmProduct"), u"Qiro Orvanta v1.8");
    EXPECT_EQ(logo_shown(form), std::nullopt);
    tap_title_ok();
    form.do_modal();
    EXPECT_FALSE(screen->stalled()) << "OK closes the form";
}

TEST_F(FormAboutTest, TheMiddleLogoOnlyWhenItFits)
{
    if (!test::have_tool("convert"))
        GTEST_SKIP() << "ImageMagick is missing";
    app.write("portal.txt", "Portal Acme\n");
    load_store("Acme_LOGO_S acme_s\nAcme_LOGO_M acme_m\n");
    struct Case {
        std::optional<skinner::Size> small, middle, shown;
    };
    // "frmLOGO" is 100 x 60.
    const Case cases[] = {
        { skinner::Size { 40, 20 }, skinner::Size { 100, 60 }, skinner::Size { 100, 60 } },
        { skinner::Size { 40, 20 }, skinner::Size { 101, 30 }, skinner::Size { 40, 20 } },
        { skinner::Size { 40, 20 }, skinner::Size { 50, 61 }, skinner::Size { 40, 20 } },
        { skinner::Size { 150, 90 }, skinner::Size { 120, 70 }, skinner::Size { 150, 90 } },
        { std::nullopt, skinner::Size { 90, 50 }, skinner::Size { 90, 50 } },
        { std::nullopt, skinner::Size { 200, 50 }, std::nullopt },
        { std::nullopt, std::nullopt, std::nullopt },
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(index);
        // Fresh names each time: the program-wide picture cache keeps what it loaded.
        const std::string suffix = std::to_string(index++);
        std::filesystem::remove_all(app.file("fun"));
        std::filesystem::create_directory(app.file("fun"));
        load_store("Acme_LOGO_S acme_s" + suffix + "\nAcme_LOGO_M acme_m" + suffix + "\n");
        if (c.small)
            picture("acme_s" + suffix, c.small->width, c.small->height);
        if (c.middle)
            picture("acme_m" + suffix, c.middle->width, c.middle->height);
        FormAbout form(nullptr, dialogs_store, u"product", u"About");
        EXPECT_EQ(form.portal(), u"Acme");
        EXPECT_EQ(logo_shown(form), c.shown);
    }
}

TEST_F(FormAboutTest, LinksOpenTheirAddressesAsOneArgument)
{
    ORVANTA_POCKET_PC_ONLY();
    if (!test::have_tool("convert"))
        GTEST_SKIP() << "ImageMagick is missing";
    app.write("portal.txt", "Portal Acme\n");
    const std::string hostile = "https://acme.example/a b?x=1;rm -rf ~ `id` $HOME";
    load_store("Acme_LOGO_S acme_link\nAcme_LOGO_URL " + hostile + "\nQiro_URL https://maker.example/\n");
    picture("acme_link", 60, 40);
    FormAbout form(nullptr, dialogs_store, u"Qiro Orvanta v1.8", u"About");
    run();
    EXPECT_TRUE(test::matches_screenshot(screen->shown(), "dialogs-about"));
    tap(form, u"btnLOGO");
    run();
    EXPECT_EQ(opened(), std::vector<std::string> { hostile });
    tap(form, u"btnQiro");
    run();
    EXPECT_EQ(opened(), std::vector<std::string> { "https://maker.example/" });
}

// What the program's message box was asked to show.
struct TextsSeen final : platform::MessageBox {
    void show(std::u16string_view text, std::u16string_view caption) override
    {
        shown.emplace_back(std::u16string(caption), std::u16string(text));
    }

    std::vector<std::pair<std::u16string, std::u16string>> shown;
};

TEST_F(FormAboutTest, WithoutADesktopOpenerTheWebSiteSaysSo)
{
    ORVANTA_POCKET_PC_ONLY();
    platform::ScopedService<platform::MessageBox, TextsSeen> box { platform::message_box_slot() };
    load_store("Qiro_URL https://maker.example/\n");
    platform::set_desktop_opener(u"orvanta-test-no-such-opener");
    FormAbout form(nullptr, dialogs_store, u"Qiro Orvanta v1.8", u"About");
    run();
    tap(form, u"btnQiro");
    run();
    ASSERT_EQ(box->shown.size(), 1u);
    EXPECT_EQ(box->shown[0].first, u"Visit the web site");
    EXPECT_EQ(box->shown[0].second, u"No program is installed to open web pages and documents.");
}

}
