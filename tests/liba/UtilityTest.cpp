#include "liba/Utility.h"

#include <gtest/gtest.h>
#include <string>

TEST(Clamp, LowIsTestedFirst)
{
    EXPECT_EQ(liba::clamp(5, 0, 1), 1);
    EXPECT_EQ(liba::clamp(-1, 0, 1), 0);
    EXPECT_EQ(liba::clamp(0.5, 0, 1), 0.5);
    EXPECT_EQ(liba::clamp(-1, 2, 1), 2);
}

namespace {

struct Counted : liba::ErrorBase {
    explicit Counted(int& deaths)
        : m_deaths(deaths)
    {
    }

    ~Counted() override { ++m_deaths; }

    int& m_deaths;
};

}

TEST(DeleteOwned, ThroughTheVirtualDestructor)
{
    int deaths = 0;
    liba::delete_owned_resource(new Counted(deaths));
    liba::ErrorBase* base = new Counted(deaths);
    liba::delete_owned(base);
    liba::delete_owned<liba::ErrorBase>(nullptr);
    liba::delete_owned_resource(nullptr);
    EXPECT_EQ(deaths, 2);
}
