#include "model/Document.h"
#include "tests/app/AppScreen.h"
#include "tests/support/Child.h"

#include <algorithm>
#include <chrono>
#include <gmock/gmock.h>
#include <memory>

namespace {

using test::u16;

// The program itself started a second time, beside this test's running copy.
class SecondLaunchProcess : public test::AppScreen {
protected:
    // Runs the check in the loop every 50 ms until it holds or 20 s have passed.
    void poll_until(std::function<bool()> done)
    {
        m_done = std::move(done);
        m_limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        screen->call([this] { poll(); }, 50);
    }

    void poll()
    {
        if (m_done() || std::chrono::steady_clock::now() > m_limit) {
            if (MainForm* form = main_form())
                form->close();
            return;
        }
        screen->call([this] { poll(); }, 50);
    }

    std::function<bool()> m_done;
    std::chrono::steady_clock::time_point m_limit;

    // No desktop for the copy that only hands its command line over.
    test::EnvironmentOverride no_video { "SDL_VIDEODRIVER", "dummy" };
    test::EnvironmentOverride no_audio { "SDL_AUDIODRIVER", "dummy" };
    test::EnvironmentOverride no_leak_report { "ASAN_OPTIONS", "detect_leaks=0" };
};

TEST_F(SecondLaunchProcess, HandsItsFileToTheRunningCopyWhichPlaysIt)
{
    const std::string wav = make_wav("tone.wav", 10.0);
    std::unique_ptr<test::Child> second;
    bool shown = false;
    screen->call([&] { second = std::make_unique<test::Child>(std::vector<std::string> { ORVANTA_PROGRAM, wav }); });
    poll_until([&] {
        Document& document = *Document::instance();
        shown = main_form()->is_window_visible();
        return document.is_playing() && document.get_current_file() == u16(wav);
    });
    Startup::run(u"-hide");
    ASSERT_TRUE(second && second->started());
    EXPECT_EQ(second->wait(), 0) << "the second copy ends once it has handed over";
    EXPECT_TRUE(shown) << "the hidden form came up";
    EXPECT_THAT(driver->log(), ::testing::Contains("out open 22050 16 1"));
}

TEST_F(SecondLaunchProcess, WhileAFilePlaysTheHandedFileOfTheSameFolderPlaysInstead)
{
    const std::string first = make_wav("chord.wav", 10.0);
    const std::string handed = make_wav("music.wav", 10.0, 11025);
    std::unique_ptr<test::Child> second;
    poll_until([&] {
        Document& document = *Document::instance();
        if (!second) {
            if (document.is_playing() && document.get_current_file() == u16(first))
                second = std::make_unique<test::Child>(std::vector<std::string> { ORVANTA_PROGRAM, handed });
            return false;
        }
        return document.is_playing() && document.get_current_file() == u16(handed);
    });
    Startup::run(u16(first));
    ASSERT_TRUE(second && second->started()) << "the first file played";
    EXPECT_EQ(second->wait(), 0);
    EXPECT_THAT(driver->log(), ::testing::Contains("out open 11025 16 1")) << "the handed file played";
}

TEST_F(SecondLaunchProcess, WhileAFilePlaysAHandedPathThatIsNoFileLeavesItPlaying)
{
    const std::string first = make_wav("chord.wav", 10.0);
    std::unique_ptr<test::Child> second;
    std::u16string playing;
    poll_until([&] {
        Document& document = *Document::instance();
        if (!second) {
            if (document.is_playing() && document.get_current_file() == u16(first))
                second = std::make_unique<test::Child>(
                    std::vector<std::string> { ORVANTA_PROGRAM, home.file("missing.wav") });
            return false;
        }
        if (box->shown.empty())
            return false;
        playing = document.is_playing() ? document.get_current_file() : u"";
        return true;
    });
    Startup::run(u16(first));
    ASSERT_TRUE(second && second->started());
    EXPECT_EQ(second->wait(), 0);
    EXPECT_EQ(platform::to_utf8(playing), first) << "the playing file goes on";
    ASSERT_EQ(box->shown.size(), 1u);
    EXPECT_THAT(box->shown[0], ::testing::HasSubstr("missing.wav"));
    const auto& log = driver->log();
    EXPECT_EQ(std::count(log.begin(), log.end(), "out open 22050 16 1"), 1) << "it did not start again";
}

}
