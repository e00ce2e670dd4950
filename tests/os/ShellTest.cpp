#include "os/Shell.h"

#include "platform/core/Launcher.h"
#include "platform/core/Utf8.h"
#include "tests/support/EnvironmentOverride.h"
#include "tests/support/TempDir.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

namespace {

// Runs the argument recorder in place of the desktop's opener.
class ShellTest : public ::testing::Test {
protected:
    ShellTest()
        : m_log_path(m_dir.file("argv"))
        , m_log("ORVANTA_ARGV_LOG", m_log_path.c_str())
    {
        platform::set_desktop_opener(platform::from_utf8(ORVANTA_ARGV_RECORDER));
    }

    ~ShellTest() override { platform::set_desktop_opener(u"xdg-open"); }

    // The arguments the recorder received, each ended by a zero byte.
    std::vector<std::string> recorded()
    {
        for (int i = 0; i < 3000 && access(m_log_path.c_str(), F_OK) != 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::vector<std::string> args;
        std::string current;
        for (char c : test::read_file(m_log_path)) {
            if (c == '\0')
                args.push_back(std::exchange(current, {}));
            else
                current += c;
        }
        return args;
    }

    test::TempDir m_dir;
    std::string m_log_path;
    test::EnvironmentOverride m_log;
};

}

TEST_F(ShellTest, ExecuteFileHandsOverTheDocumentUntouched)
{
    auto document = m_dir.write("it's a \"memo\" for $HOME & `me`.wav", "RIFF");
    const std::string parameters = "--x 'y' \"z\" $PATH;";
    EXPECT_TRUE(os::execute_file(platform::from_utf8(document), platform::from_utf8(parameters)));
    EXPECT_EQ(recorded(), (std::vector<std::string> { document, parameters }));
}

TEST_F(ShellTest, ExecuteFileOfAMissingFileFails)
{
    EXPECT_FALSE(os::execute_file(platform::from_utf8(m_dir.file("missing.htm")), u""));
    EXPECT_FALSE(os::execute_file(u"", u""));
}

TEST_F(ShellTest, OpenUrl)
{
    const std::string url = "http://example.invalid/a b?q='x'&r=\"$y\"#frag";
    EXPECT_TRUE(os::open_url(platform::from_utf8(url)));
    EXPECT_EQ(recorded(), (std::vector<std::string> { url }));
    EXPECT_FALSE(os::open_url(u"--help"));
    EXPECT_FALSE(os::open_url(u""));
}
