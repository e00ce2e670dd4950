#include "liba/Utility.h"

#include "liba/VBCollection.h"

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

TEST(VBCollection, KeepsTheOrderOfAdding)
{
    VBCollection<std::u16string> names;
    names.add(u"first");
    names.add(u"second");
    ASSERT_EQ(names.count(), 2);
    EXPECT_EQ(names[0], u"first");
    EXPECT_EQ(names[1], u"second");
    names[1] = u"changed";
    const auto& view = names;
    EXPECT_EQ(view[1], u"changed");
}

TEST(VBCollectionDeathTest, PositionOutsideEndsTheProgram)
{
    VBCollection<int> numbers;
    numbers.add(7);
    for (int pos : { -1, 1 })
        EXPECT_EXIT(numbers[pos], testing::ExitedWithCode(os::fatal_exit_code),
            "VBCollection::operator\\[\\]: pos is invalid")
            << pos;
    const VBCollection<int> empty;
    EXPECT_EXIT(empty[0], testing::ExitedWithCode(os::fatal_exit_code), "pos is invalid");
}
