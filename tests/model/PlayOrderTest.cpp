#include "model/PlayOrder.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

std::vector<int> range(int n)
{
    std::vector<int> v(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        v[std::size_t(i)] = i;
    return v;
}

}

TEST(PlayOrder, BuildsInOrderForEveryModeButShuffle)
{
    struct Case {
        PlayMode mode;
        int n, current;
        int position;
        bool wrap;
    } cases[] = {
        { PlayMode::SingleOnce, 3, 2, 2, false },
        { PlayMode::SingleRepeat, 3, -1, 0, false },
        { PlayMode::PlaylistOnce, 3, 0, 0, false },
        { PlayMode::PlaylistOnce, 3, 7, 0, false }, // beyond the list: the start
        { PlayMode::PlaylistRepeat, 4, 3, 3, true },
        { PlayMode::PlaylistRepeat, 1, 0, 0, true },
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.mode) * 100 + c.n * 10 + c.current);
        PlayOrder order;
        order.build(c.n, c.current, c.mode);
        EXPECT_EQ(order.entries(), range(c.n));
        EXPECT_EQ(order.count(), c.n);
        EXPECT_EQ(order.item_count(), c.n);
        EXPECT_EQ(order.position(), c.position);
        EXPECT_EQ(order.wrap(), c.wrap);
        EXPECT_FALSE(order.shuffle());
    }
}

TEST(PlayOrder, AnEmptyListGivesAnEmptyOrder)
{
    for (PlayMode mode : { PlayMode::SingleOnce, PlayMode::PlaylistRepeat, PlayMode::PlaylistShuffle }) {
        PlayOrder order;
        order.build(0, 0, mode);
        EXPECT_EQ(order.count(), 0);
        EXPECT_FALSE(order.wrap());
        EXPECT_FALSE(order.shuffle());
        EXPECT_EQ(order.advance(1), 0);
        EXPECT_FALSE(order.has_next());
        order.rebuild(PlayMode::PlaylistOnce);
        EXPECT_EQ(order.count(), 0);
    }
}

TEST(PlayOrder, ShuffleMakesFivePermutationsThatStartWithTheCurrentItem)
{
    for (std::uint32_t seed : { 1u, 2u, 99u }) {
        for (int current : { -1, 0, 2 }) {
            SCOPED_TRACE(seed * 10 + std::uint32_t(current + 1));
            PlayOrder::seed(seed);
            PlayOrder order;
            order.build(3, current, PlayMode::PlaylistShuffle);
            ASSERT_EQ(order.count(), 15);
            EXPECT_TRUE(order.shuffle());
            EXPECT_TRUE(order.wrap());
            EXPECT_EQ(order.position(), 0);
            for (int round = 0; round < 5; ++round) {
                std::vector<int> block(
                    order.entries().begin() + round * 3, order.entries().begin() + round * 3 + 3);
                std::sort(block.begin(), block.end());
                EXPECT_EQ(block, range(3));
            }
            if (current >= 0)
                EXPECT_EQ(order.entries()[0], current);
        }
    }
    // A seed gives one order.
    PlayOrder a, b;
    PlayOrder::seed(5);
    a.build(10, -1, PlayMode::PlaylistShuffle);
    PlayOrder::seed(5);
    b.build(10, -1, PlayMode::PlaylistShuffle);
    EXPECT_EQ(a.entries(), b.entries());
}

TEST(PlayOrder, AdvanceClampsWithoutWrapAndRunsOnWithIt)
{
    struct Case {
        PlayMode mode;
        int current;
        std::vector<int> steps, items;
        std::vector<bool> next;
    } cases[] = {
        { PlayMode::PlaylistOnce, 0, { 1, 1, 1, -5, 0 }, { 1, 2, 2, 0, 0 },
            { true, false, false, true, true } },
        { PlayMode::PlaylistRepeat, 2, { 1, 1, -1, -9, 4 }, { 0, 1, 0, 0, 1 },
            { true, true, true, true, true } },
        { PlayMode::SingleRepeat, 1, { 0, 1, -1 }, { 1, 2, 1 }, { true, false, true } },
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.mode));
        PlayOrder order;
        order.build(3, c.current, c.mode);
        for (std::size_t i = 0; i < c.steps.size(); ++i) {
            EXPECT_EQ(order.advance(c.steps[i]), c.items[i]) << "step " << i;
            EXPECT_EQ(order.has_next(), c.next[i]) << "step " << i;
        }
    }
}

TEST(PlayOrder, RebuildKeepsTheItemAtThePosition)
{
    PlayOrder order;
    order.build(4, 1, PlayMode::PlaylistRepeat);
    order.advance(6); // position 7: item 3
    order.rebuild(PlayMode::PlaylistOnce);
    EXPECT_EQ(order.position(), 3);
    EXPECT_FALSE(order.wrap());
    order.rebuild(PlayMode::PlaylistShuffle);
    EXPECT_EQ(order.entries()[0], 3);
    EXPECT_EQ(order.count(), 20);
}
