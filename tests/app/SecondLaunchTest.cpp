#include "model/Document.h"
#include "tests/app/AppScreen.h"
#include "tests/support/Child.h"

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

}
