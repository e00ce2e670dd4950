#include "platform/core/Launcher.h"

#include "platform/core/Utf8.h"
#include "tests/support/EnvironmentOverride.h"
#include "tests/support/TempDir.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

namespace {

// The recorder writes its arguments, each ended by a zero byte, once it has run.
std::vector<std::string> recorded_arguments(const std::string& log)
{
    for (int i = 0; i < 3000 && access(log.c_str(), F_OK) != 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::vector<std::string> args;
    std::string bytes = test::read_file(log), current;
    for (char c : bytes) {
        if (c == '\0')
            args.push_back(std::exchange(current, {}));
        else
            current += c;
    }
    return args;
}

}

TEST(Launcher, ArgumentsReachTheProgramUntouched)
{
    test::TempDir dir;
    auto log = dir.file("argv");
    test::EnvironmentOverride recorder_log("ORVANTA_ARGV_LOG", log.c_str());
    const std::string tricky = "a file with spaces, 'single' \"double\" $HOME `id` ; rm -rf x & \u00e9";
    platform::set_desktop_opener(platform::from_utf8(ORVANTA_ARGV_RECORDER));
    EXPECT_TRUE(platform::open_with_desktop(platform::from_utf8(tricky)));
    EXPECT_EQ(recorded_arguments(log), std::vector<std::string> { tricky });
    platform::set_desktop_opener(u"xdg-open");
}

TEST(Launcher, AMissingProgramFails)
{
    EXPECT_FALSE(platform::launch({ u"orvanta-no-such-program" }));
    EXPECT_FALSE(platform::launch({}));
}
