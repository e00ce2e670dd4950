#include "network/ObexConnector.h"
#include "platform/core/Utf8.h"
#include "tests/network/support/ObexPeer.h"

#include <future>
#include <gtest/gtest.h>
#include <thread>

TEST(ObexAbort, ShutdownEndsATransferBlockedOnAnAnswer)
{
    test::ObexPeer peer({ "--stall" });
    ASSERT_TRUE(peer.running());
    test::TempDir dir;
    const std::string file = dir.write("big.bin", std::string(100000, 'x'));

    network::ObexConnector connector;
    ASSERT_TRUE(connector.discover_devices());
    ASSERT_EQ(connector.get_devices().size(), 1u);
    ASSERT_TRUE(connector.connect(0));
    auto transfer
        = std::async(std::launch::async, [&] { return connector.send_file(platform::from_utf8(file)); });

    // The peer stops answering once the first body has reached it.
    for (int wait = 0; peer.log().size() < 3; ++wait) {
        ASSERT_LT(wait, 2000) << "the first body never arrived";
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_LT(connector.get_progress(), 0.1);
    connector.shutdown();
    ASSERT_EQ(transfer.wait_for(std::chrono::seconds(1)), std::future_status::ready);
    EXPECT_FALSE(transfer.get());
    EXPECT_LT(connector.get_progress(), 0.1);
}
