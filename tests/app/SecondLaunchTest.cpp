#include "model/Document.h"
#include "tests/app/AppScreen.h"
#include "tests/support/Child.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <gmock/gmock.h>
#include <memory>
#include <thread>
#include <utility>

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

// Runs a launch of the program while it is shown, serving messages as a box's own loop does.
class BoxDuringALaunch : public platform::MessageBox {
public:
    void show(std::u16string_view text, std::u16string_view) override
    {
        shown.push_back(platform::to_utf8(text));
        if (launch.empty())
            return;
        std::atomic<bool> ended = false;
        std::thread waiter([&] {
            test::Child child(std::exchange(launch, {}));
            exit_code = child.wait();
            ended = true;
        });
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!ended && std::chrono::steady_clock::now() < limit) {
            platform::Message m;
            while (platform::peek_message(m, platform::no_window, 0, 0, platform::Peek::remove))
                platform::dispatch_message(m);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ended_while_shown = ended.load();
        waiter.join();
    }

    std::vector<std::string> launch;
    std::vector<std::string> shown;
    int exit_code = -1;
    bool ended_while_shown = false;
};

// The box a handed-over file causes ("cannot be played") holds up no later launch: that one
// hands its file over while the box shows and ends, and no second copy starts.
TEST_F(SecondLaunchProcess, ALaunchWhileTheRunningCopyShowsABoxHandsOverAndEnds)
{
    const std::string bad = home.write("bad.wav", "no wave at all");
    const std::string wav = make_wav("tone.wav", 10.0);
    platform::ScopedService<platform::MessageBox, BoxDuringALaunch> launching_box { platform::message_box_slot() };
    launching_box->launch = { ORVANTA_PROGRAM, wav };
    std::unique_ptr<test::Child> second;
    screen->call([&] { second = std::make_unique<test::Child>(std::vector<std::string> { ORVANTA_PROGRAM, bad }); });
    poll_until([&] {
        Document& document = *Document::instance();
        return !launching_box->shown.empty() && document.is_playing() && document.get_current_file() == u16(wav);
    });
    Startup::run(u"-hide");
    ASSERT_TRUE(second && second->started());
    EXPECT_EQ(second->wait(), 0);
    EXPECT_EQ(launching_box->shown.size(), 1u) << "one box, for the file that cannot be played";
    EXPECT_TRUE(launching_box->ended_while_shown) << "the launch ended while the box showed";
    EXPECT_EQ(launching_box->exit_code, 0) << "it handed over rather than start a second copy";
}

}
