#include "os/Log.h"
#include "tests/os/SchedulerTestSupport.h"

#include <functional>
#include <memory>

namespace {

class SchedulerDeath : public test::SchedulerTest { };

TEST_F(SchedulerDeath, BrokenInvariantsEndTheProgramWithTheirMessage)
{
    struct Case {
        std::function<void()> act;
        const char* message; // what the message box shows: "caption: text"
    };

    std::vector<std::string> log;
    const Case cases[] = {
        { [&] {
             test::Operation o(log, "o");
             o.set_active();
             o.set_active();
         },
            "CActiveScheduler::set_active: Object is already active" },
        { [&] {
             test::Operation o(log, "o");
             o.notify();
         },
            "CActiveScheduler::notify\\(\\): Active object is not active" },
        { [&] {
             auto o = std::make_unique<test::Operation>(log, "o");
             o->set_active();
             o.reset();
         },
            "CActive::~CActive\\(\\): Active object is already active" },
        { [&] {
             test::Operation o(log, "o");
             scheduler().process_actives(o);
         },
            "CActiveScheduler::process_actives\\(\\): Active object is not in active list" },
        { [&] {
             test::Operation idle(log, "idle"), waited(log, "waited");
             platform::post_message(scheduler().window(), active_completed_message, &idle);
             waited.set_active();
             waited.cancel();
         },
            "CActiveScheduler::cancel: Object to be added to pending_actives is not marked as active" },
        { [&] {
             test::Operation o(log, "o");
             auto* scheduler = new CActiveScheduler;
             scheduler->set_active(o);
             delete scheduler;
         },
            "^: Some active objects still live while scheduler is terminating" },
        { [&] { os::Application second(u"Other"); }, "Application::Application: instance != 0" },
    };
    for (const auto& c : cases)
        EXPECT_EXIT(c.act(), ::testing::ExitedWithCode(os::fatal_exit_code), c.message);
}

TEST(ApplicationDeath, ANameOfMoreThanTwentyFiveCharactersIsFatal)
{
    EXPECT_EXIT(os::Application(u"abcdefghijklmnopqrstuvwxyz"),
        ::testing::ExitedWithCode(os::fatal_exit_code),
        "Application::Application: Application name is too long. Sorry.");
}

}
