#include "tests/support/Child.h"
#include "tests/support/EnvironmentOverride.h"
#include "tests/support/TempDir.h"

#include <csignal>
#include <gtest/gtest.h>

namespace {

class SingleInstance : public ::testing::Test {
protected:
    // A running copy that has its window and serves.
    std::unique_ptr<test::Child> start_first()
    {
        auto child
            = std::make_unique<test::Child>(std::vector<std::string> { APPLICATION_PEER, "first", "Peer" });
        EXPECT_EQ(child->read_line(), "locked");
        child->write("go\n");
        EXPECT_EQ(child->read_line(), "ready");
        return child;
    }

    std::string run_second(const std::string& command_line_hex)
    {
        test::Child second({ APPLICATION_PEER, "second", "Peer", command_line_hex });
        std::string line = second.read_line(30000); // beyond the hand-over's own 10 s limit
        EXPECT_EQ(second.wait(), 0);
        return line;
    }

    test::TempDir m_dir;
    test::EnvironmentOverride m_runtime { "XDG_RUNTIME_DIR", m_dir.path().c_str() };
};

TEST_F(SingleInstance, ASecondCopyHandsItsCommandLineToTheFirstAndEnds)
{
    auto first = start_first();
    EXPECT_EQ(run_second("-"), "handed-over");
    EXPECT_EQ(first->read_line(), "received gui -");
    // "-hide" and a character outside the BMP.
    EXPECT_EQ(run_second("002d0068006900640065d83cdfb5"), "handed-over");
    EXPECT_EQ(first->read_line(), "received gui 002d0068006900640065d83cdfb5");
    first->close_stdin();
    EXPECT_EQ(first->read_line(), "bye"); // each arrived once
    EXPECT_EQ(first->wait(), 0);
    EXPECT_EQ(run_second("0061"), "start");
}

TEST_F(SingleInstance, ACopyStartedWhileTheFirstStartsUpWaitsForItsWindow)
{
    test::Child first({ APPLICATION_PEER, "first", "Peer" });
    ASSERT_EQ(first.read_line(), "locked");
    test::Child second({ APPLICATION_PEER, "second", "Peer", "0078" });
    first.write("go\n"); // only now does the first copy make its window and let go
    EXPECT_EQ(second.read_line(), "handed-over");
    EXPECT_EQ(first.read_line(), "ready");
    EXPECT_EQ(first.read_line(), "received gui 0078");
}

TEST_F(SingleInstance, AKilledFirstCopyDoesNotBlockTheNext)
{
    {
        auto first = start_first();
        first->kill(SIGKILL);
        first->wait();
    }
    {
        // Killed while still holding the lock, before it had a window.
        test::Child starting({ APPLICATION_PEER, "first", "Peer" });
        ASSERT_EQ(starting.read_line(), "locked");
        starting.kill(SIGKILL);
        starting.wait();
    }
    EXPECT_EQ(run_second("0061"), "start");
    auto next = start_first();
    EXPECT_EQ(run_second("0062"), "handed-over");
    EXPECT_EQ(next->read_line(), "received gui 0062");
}

// A copy that cannot answer in time (here: stopped) is still running: the launch ends
// rather than start a second copy, and the request it gave up on never runs later.
TEST_F(SingleInstance, AFirstCopyTooBusyToAnswerStillCountsAndTheAbandonedRequestNeverRuns)
{
    auto first = start_first();
    first->kill(SIGSTOP);
    EXPECT_EQ(run_second("0061"), "handed-over");
    first->kill(SIGCONT);
    EXPECT_EQ(run_second("0062"), "handed-over");
    EXPECT_EQ(first->read_line(), "received gui 0062");
}

}
