#include "model/ipc/CWindowCommModule.h"
#include "model/ipc/Comm.h"
#include "platform/core/MessageQueue.h"
#include "platform/core/Window.h"
#include "tests/model/CommBlock.h"

#include <gtest/gtest.h>

using test::CommBlock;

namespace {

struct Handlers {
    std::int32_t calls = 0;

    std::int32_t first() { return ++calls; }

    std::int32_t second() { return 100 + ++calls; }
};

class CommWindow : public CommBlock {
protected:
    ~CommWindow() override
    {
        for (std::int32_t id = -1; id <= 9; ++id)
            register_command(id, nullptr);
        CCommClipboard::SetInstance(nullptr);
    }
};

TEST_F(CommWindow, CommandsRunTheDelegateRegisteredUnderTheirId)
{
    Handlers handlers;
    CMethodCommandDelegate<Handlers> first(handlers, &Handlers::first);
    CMethodCommandDelegate<Handlers> second(handlers, &Handlers::second);
    EXPECT_EQ(comm_invoke(3), 0) << "nothing registered";
    register_command(3, &first);
    register_command(CommCommand::get_status, &second);
    EXPECT_EQ(comm_invoke(3), 1);
    EXPECT_EQ(comm_invoke(7), 102);
    register_command(3, &second); // the first delegate is only replaced
    EXPECT_EQ(comm_invoke(3), 103);
    register_command(3, nullptr);
    EXPECT_EQ(comm_invoke(3), 0);
    EXPECT_EQ(comm_invoke(-1), 0);
    EXPECT_EQ(comm_invoke(std::int64_t(7) + (std::int64_t(1) << 32)), 0) << "not an id";
    EXPECT_EQ(handlers.calls, 3);
}

TEST_F(CommWindow, InitMakesTheSharedStackAndAHiddenWindowThatTakesTheCommandMessage)
{
    Handlers handlers;
    CMethodCommandDelegate<Handlers> first(handlers, &Handlers::first);
    register_command(CommCommand::play_offset, &first);
    comm_init();

    ASSERT_TRUE(CCommClipboard::GetInstance().Push("q", 1));
    EXPECT_EQ(stack(), "q") << "the process-wide stack is the shared block";

    auto* module = dynamic_cast<CWindowCommModule*>(comm_find_module(comm_window_class));
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(module->get_application_name(), u"Qiro Orvanta");
    EXPECT_FALSE(module->get_start_visible());
    const platform::Window window = module->get_window();
    ASSERT_TRUE(platform::is_window(window));
    EXPECT_EQ(platform::window_class_name(window), comm_window_class);
    EXPECT_EQ(platform::window_parent(window), platform::no_window);
    EXPECT_EQ(platform::window_style(window), platform::ws::disabled) << "disabled, not visible";
    EXPECT_EQ(platform::send_message(window, platform::msg::user_command, 8), 1);
    EXPECT_EQ(platform::send_message(window, platform::msg::user_command, 5), 0);
    EXPECT_EQ(platform::send_message(window, platform::msg::user_key, 8), 0);
    EXPECT_EQ(handlers.calls, 1);

    // Again: the new module replaces the old one, whose window goes.
    comm_init();
    auto* again = dynamic_cast<CWindowCommModule*>(comm_find_module(comm_window_class));
    ASSERT_NE(again, nullptr);
    EXPECT_FALSE(platform::is_window(window));
    EXPECT_TRUE(platform::is_window(again->get_window()));
}

TEST_F(CommWindow, AClientsModuleHasNoWindowAndSendsNothingToItsOwnProcess)
{
    Handlers handlers;
    CMethodCommandDelegate<Handlers> first(handlers, &Handlers::first);
    register_command(CommCommand::stop, &first);
    comm_init();
    CWindowCommModule client(
        std::u16string(comm_window_class), u"", u"", false, CWindowCommModule::Role::client);
    EXPECT_EQ(client.get_window(), platform::no_window);
    EXPECT_EQ(client.Send(6), 0) << "only other processes are asked";
    EXPECT_EQ(handlers.calls, 0);
    EXPECT_EQ(CCommModule(u"default", u"", u"", true).Send(6), 0);
}

}
