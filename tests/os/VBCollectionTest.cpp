#include "os/VBCollection.h"

#include <gtest/gtest.h>
#include <string>

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
