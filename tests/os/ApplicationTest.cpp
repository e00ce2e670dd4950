#include "os/Application.h"
#include "os/Log.h"
#include "os/Registry.h"
#include "platform/core/headless/FakeClock.h"
#include "platform/ui/headless/HeadlessDisplay.h"
#include "tests/support/EnvironmentOverride.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

TEST(Application, ClassNameAndSingleObject)
{
    EXPECT_EQ(os::Application::instance(), nullptr);
    {
        os::Application application(u"abcdefghijklmnopqrstuvwxy"); // 25 characters fit
        EXPECT_EQ(os::Application::instance(), &application);
        EXPECT_EQ(application.window_class_name(), u"SkinnerClass_abcdefghijklmnopqrstuvwxy");
    }
    EXPECT_EQ(os::Application::instance(), nullptr);
}

TEST(Application, TheDestructorTracesEachStep)
{
    test::TempDir dir;
    test::EnvironmentOverride app_path("ORVANTA_APP_PATH", dir.path().c_str());
    os::ScopedRegistryFile registry(dir.file("registry"));
    const std::u16string qiro = u"HKEY_CURRENT_USER\\Software\\Qiro";
    ASSERT_TRUE(os::registry_write_dword(qiro, u"Log", 1));
    {
        platform::ScopedService<platform::Clock, platform::headless::FakeClock> clock(
            platform::clock_slot(), 4242);
        os::Application application(u"Traced");
    }
    ASSERT_TRUE(os::registry_write_dword(qiro, u"Log", 0));
    os::log(); // closes the trace file

    std::string expected = "\xFF\xFE";
    for (char c : std::string("4242 Application::~Application 1\n4242 Application::~Application 2\n"
                              "4242 Application::~Application 3\n4242 Application::~Application 4\n")) {
        expected += c;
        expected += '\0';
    }
    auto name = std::filesystem::read_symlink("/proc/self/exe").filename().string() + ".txt";
    EXPECT_EQ(test::read_file(dir.file(name)), expected);
}

// The start-up under the single-instance lock shows the wait pointer until the lock goes.
TEST(Application, TheWaitCursorShowsFromTheHandOverUntilTheLockIsReleased)
{
    test::TempDir dir;
    test::EnvironmentOverride runtime("XDG_RUNTIME_DIR", dir.path().c_str());
    platform::ScopedService<platform::Display, platform::headless::HeadlessDisplay> screen(platform::display_slot());
    using platform::CursorShape;
    {
        os::Application application(u"Waiting");
        EXPECT_FALSE(application.activate_previous_instance(u"")) << "no other copy runs";
        EXPECT_EQ(screen->cursors(), std::vector { CursorShape::wait });
        application.release_instance_lock();
        EXPECT_EQ(screen->cursors(), (std::vector { CursorShape::wait, CursorShape::arrow }));
    }
    EXPECT_EQ(screen->cursors().size(), 2u) << "the destructor leaves the arrow alone";
}

TEST(Application, CommandLineFromCopyData)
{
    struct Case {
        std::u16string sent;
        std::uint32_t size; // bytes
        std::u16string received;
    } cases[] = {
        { u"-hide", 10, u"-hide" },
        { std::u16string(u"-hide\0", 6), 12, u"-hide" }, // a sender that counted the terminator
        { u"ab", 3, u"a" }, // an odd byte is no character
        { u"", 0, u"" },
        { std::u16string(u"\0", 1), 2, u"" },
        { u"\U0001F3B5", 4, u"\U0001F3B5" },
    };

    for (const auto& c : cases) {
        platform::CopyData data { 0, c.size, c.sent.data() };
        EXPECT_EQ(os::Application::command_line_from(data), c.received) << c.size;
    }
}

}
