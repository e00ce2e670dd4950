#include "platform/core/Mail.h"

#include "platform/core/Utf8.h"
#include "tests/support/EnvironmentOverride.h"
#include "tests/support/TempDir.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

namespace {

struct MailProgram {
    explicit MailProgram(std::u16string program) { platform::set_mail_program(std::move(program)); }

    ~MailProgram() { platform::set_mail_program(u"xdg-email"); }
};

TEST(Mail, TheComposerGetsTheAttachmentAsOneArgument)
{
    test::TempDir dir;
    auto log = dir.file("argv");
    test::EnvironmentOverride recorder_log("ORVANTA_ARGV_LOG", log.c_str());
    MailProgram recorder(platform::from_utf8(ORVANTA_ARGV_RECORDER));
    const std::string path = "/tmp/a recording; $(id) \"x\".wav";
    ASSERT_EQ(platform::start_mail_with_attachment(platform::from_utf8(path)), platform::MailStart::started);
    for (int i = 0; i < 3000 && access(log.c_str(), F_OK) != 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(test::read_file(log), std::string("--attach\0", 9) + path + std::string(1, '\0'));
}

TEST(Mail, AMissingMailProgramIsAClearFailure)
{
    test::TempDir dir;
    test::EnvironmentOverride path("PATH", dir.path().c_str());
    EXPECT_EQ(platform::start_mail_with_attachment(u"/tmp/x.wav"), platform::MailStart::no_mail_program);
    MailProgram absent(u"/no/such/mailer");
    EXPECT_EQ(platform::start_mail_with_attachment(u"/tmp/x.wav"), platform::MailStart::no_mail_program);
}

}
