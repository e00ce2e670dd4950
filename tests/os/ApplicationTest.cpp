#include "os/Application.h"

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
