#include "liba/Conversion.h"
#include "os/Log.h"
#include "os/Registry.h"
#include "platform/core/MessageBox.h"
#include "tests/support/EnvironmentOverride.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

constexpr std::u16string_view qiro = u"HKEY_CURRENT_USER\\Software\\Qiro";

class Log : public testing::Test {
protected:
    void SetUp() override
    {
        m_log_file = m_dir.file(std::filesystem::read_symlink("/proc/self/exe").filename().string() + ".txt");
    }
    void TearDown() override
    {
        switch_log(0);
        os::log();
    }

    void switch_log(std::uint32_t value) { ASSERT_TRUE(os::registry_write_dword(qiro, u"Log", value)); }
    bool log_exists() const { return std::filesystem::exists(m_log_file); }
    std::string log_bytes() const { return test::read_file(m_log_file); }

    test::TempDir m_dir;
    test::EnvironmentOverride m_app_path { "ORVANTA_APP_PATH", m_dir.path().c_str() };
    os::ScopedRegistryFile m_registry { m_dir.file("registry") };
    std::string m_log_file;
};

}

TEST_F(Log, WithoutTheSwitchNothingIsWritten)
{
    os::log() << u"nothing\n";
    os::log().flush();
    EXPECT_FALSE(log_exists());
    switch_log(0);
    os::log() << u"nothing\n";
    EXPECT_FALSE(log_exists());
}

TEST_F(Log, LinesAreUtf16WithAByteOrderMark)
{
    switch_log(1);
    os::log() << 1234 << u" Application::~Application 1\n";
    os::log() << "Error: skin [" << u"D\u00e9faut" << "] caf\xe9\n"; // 8-bit text in the ANSI code page
    EXPECT_EQ(log_bytes(), test::utf16le_file(u"1234 Application::~Application 1\nError: skin [D\u00e9faut] caf\u00e9\n"));
}

TEST_F(Log, SwitchingOffAndOnStartsAnEmptiedFile)
{
    switch_log(1);
    os::log() << u"first\n";
    switch_log(0);
    os::log() << u"swallowed\n";
    EXPECT_EQ(log_bytes(), test::utf16le_file(u"first\n"));
    switch_log(5); // any non-zero value
    os::log() << u"second\n";
    EXPECT_EQ(log_bytes(), test::utf16le_file(u"second\n"));
}

TEST_F(Log, NumbersAreFormattedLikeC)
{
    switch_log(1);
    os::log() << 0.25 << u"|" << -7 << u"|" << 1.5 << u"|" << 4000000000u << u"\n";
    EXPECT_EQ(log_bytes(), test::utf16le_file(u"0.250000|-7|1.500000|4000000000\n"));
}

TEST_F(Log, RegistryWritesTraceTheirSteps)
{
    switch_log(1);
    os::registry_write_string(qiro, u"Skin", u"x");
    EXPECT_EQ(log_bytes(), test::utf16le_file(u"xxxxx 0\nxxxxx 1\nxxxxx 3\n"));
}

TEST_F(Log, UnopenableTraceFileIsSilent)
{
    const std::string missing = m_dir.file("missing");
    test::EnvironmentOverride nowhere("ORVANTA_APP_PATH", missing.c_str());
    switch_log(1);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    os::log() << u"lost\n";
    os::log().flush();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_FALSE(std::filesystem::exists(missing)) << "no folder is made for it";
    EXPECT_FALSE(log_exists()) << "nor does it go anywhere else";
}

namespace {

// A box that shows itself on stderr, where the death test can see it.
class StderrBox final : public platform::MessageBox {
public:
    void show(std::u16string_view text, std::u16string_view caption) override
    {
        std::fprintf(stderr, "box[%s|%s]\n", liba::to_narrow(caption).c_str(), liba::to_narrow(text).c_str());
    }
};

}

TEST_F(Log, FatalErrorTracesShowsAndEndsWithAFailure)
{
    GTEST_FLAG_SET(death_test_style, "fast"); // the child writes where this test reads
    switch_log(1);
    EXPECT_EXIT(os::fatal_error(u"CActive::~CActive()", u"Active object is already active"),
        testing::ExitedWithCode(os::fatal_exit_code), "CActive::~CActive\\(\\): Active object is already active");
    EXPECT_EQ(log_bytes(), test::utf16le_file(u"Gluck: Active object is already active @ CActive::~CActive()\n"));

    {
        platform::ScopedService<platform::MessageBox, StderrBox> box(platform::message_box_slot());
        EXPECT_EXIT(os::fatal_error(u"", u"pos is invalid"), testing::ExitedWithCode(os::fatal_exit_code),
            "box\\[\\|pos is invalid\\]");
    }
    EXPECT_EQ(log_bytes(), test::utf16le_file(u"Gluck: pos is invalid @ \n"));
}

TEST_F(Log, SwitchedOnByAnotherProcessTakesEffectAtTheNextLine)
{
    os::log() << u"before\n";
    {
        // Another process's view of the same store file.
        platform::RegistryStore theirs(m_dir.file("registry"));
        const std::uint8_t on[] = { 1, 0, 0, 0 };
        ASSERT_TRUE(theirs.create_key(platform::RegistryRoot::current_user, u"Software\\Qiro"));
        ASSERT_TRUE(theirs.set_value(platform::RegistryRoot::current_user, u"Software\\Qiro", u"Log",
            platform::registry_dword, on));
    }
    os::log() << u"after\n";
    EXPECT_EQ(log_bytes(), test::utf16le_file(u"after\n"));
}
