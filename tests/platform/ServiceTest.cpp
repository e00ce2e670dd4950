#include "platform/core/Service.h"

#include <gtest/gtest.h>

namespace {

struct Greeter {
    virtual ~Greeter() = default;
    virtual int value() const { return 1; }
};

struct Other : Greeter {
    explicit Other(int v) : v(v) {}
    int value() const override { return v; }
    int v;
};

std::unique_ptr<Greeter> make_default() { return std::make_unique<Greeter>(); }

TEST(ServiceSlot, MakesTheDefaultOnFirstUseAndScopedOverridesNest)
{
    platform::ServiceSlot<Greeter> slot(make_default);
    EXPECT_EQ(slot.get().value(), 1);
    {
        platform::ScopedService<Greeter, Other> outer(slot, 2);
        EXPECT_EQ(slot.get().value(), 2);
        {
            platform::ScopedService<Greeter, Other> inner(slot, 3);
            inner->v = 4;
            EXPECT_EQ(slot.get().value(), 4);
        }
        EXPECT_EQ(slot.get().value(), 2);
    }
    EXPECT_EQ(slot.get().value(), 1);
}

TEST(ServiceSlot, InstallHandsBackThePreviousAndNullRestoresTheDefault)
{
    platform::ServiceSlot<Greeter> slot(make_default);
    EXPECT_EQ(slot.install(std::make_unique<Other>(5)), nullptr);
    EXPECT_EQ(slot.get().value(), 5);
    auto previous = slot.install(nullptr);
    ASSERT_NE(previous, nullptr);
    EXPECT_EQ(previous->value(), 5);
    EXPECT_EQ(slot.get().value(), 1);
}

}
