#include "platform/core/SleepInhibitor.h"
#include "platform/core/headless/FakeSleepInhibitor.h"
#include "platform/core/logind/LogindSleepInhibitor.h"
#include "tests/support/EnvironmentOverride.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

TEST(SleepInhibitor, NoneUntilOneIsInstalled)
{
    EXPECT_FALSE(platform::sleep_inhibitor().hold(u"Playing"));
    platform::sleep_inhibitor().release();
    {
        platform::ScopedService<platform::SleepInhibitor, platform::headless::FakeSleepInhibitor> fake(
            platform::sleep_inhibitor_slot());
        EXPECT_TRUE(platform::sleep_inhibitor().hold(u"Playing"));
        EXPECT_TRUE(platform::sleep_inhibitor().hold(u"Recording"));
        EXPECT_EQ(fake->locks(), 1u);
        EXPECT_EQ(fake->reason(), u"Recording");
    }
    EXPECT_FALSE(platform::sleep_inhibitor().hold(u"Playing"));
}

// A session without a system bus (a container, a bare X server) is no error.
TEST(LogindSleepInhibitor, WithoutASystemBusHoldingFailsQuietlyAndReleasingIsHarmless)
{
    test::TempDir dir;
    test::EnvironmentOverride bus("DBUS_SYSTEM_BUS_ADDRESS", ("unix:path=" + dir.file("no-bus")).c_str());
    platform::logind::LogindSleepInhibitor inhibitor;
    EXPECT_FALSE(inhibitor.hold(u"Playing"));
    EXPECT_FALSE(inhibitor.hold(u"Recording"));
    inhibitor.release();
    inhibitor.release();
}
