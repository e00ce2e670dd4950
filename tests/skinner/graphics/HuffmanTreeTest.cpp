#include "skinner/graphics/HuffmanTree.h"

#include <gtest/gtest.h>
#include <string>

namespace {

// The symbol that a code (its bits as text, first bit first) stands for
// when it is the whole code; -1 for none.
int walk(const skinner::HuffmanTree& tree, const std::string& code)
{
    std::uint64_t bits = 0;
    for (std::size_t i = 0; i < code.size(); ++i)
        bits |= std::uint64_t(code[i] - '0') << i;
    int length = 0;
    const std::int32_t symbol = tree.decode(bits, static_cast<int>(code.size()), length);
    return symbol >= 0 && length == static_cast<int>(code.size()) ? symbol : -1;
}

TEST(HuffmanTree, AssignsCanonicalCodes)
{
    // The example of the deflate format: lengths 3 3 3 3 3 2 4 4 for A to H.
    skinner::HuffmanTree tree;
    const std::uint8_t lengths[] = { 3, 3, 3, 3, 3, 2, 4, 4 };
    ASSERT_TRUE(tree.build(lengths));
    const std::pair<const char*, int> codes[] = { { "010", 0 }, { "011", 1 }, { "100", 2 }, { "101", 3 },
        { "110", 4 }, { "00", 5 }, { "1110", 6 }, { "1111", 7 } };
    for (auto [code, symbol] : codes)
        EXPECT_EQ(walk(tree, code), symbol) << code;
}

TEST(HuffmanTree, RefusesOverfullCodesAndKeepsIncompleteOnes)
{
    skinner::HuffmanTree tree;
    const std::uint8_t overfull[] = { 1, 1, 1 };
    EXPECT_FALSE(tree.build(overfull));
    const std::uint8_t too_long[] = { 16, 1 };
    EXPECT_FALSE(tree.build(too_long));
    // One code of length 1, as a distance code may have: the other branch is missing.
    const std::uint8_t single[] = { 0, 1 };
    ASSERT_TRUE(tree.build(single));
    EXPECT_EQ(walk(tree, "0"), 1);
    EXPECT_EQ(walk(tree, "1"), -1);
    int length = 0;
    EXPECT_EQ(tree.decode(1, 1, length), skinner::HuffmanTree::no_code);
    const std::uint8_t none[] = { 0, 0 };
    ASSERT_TRUE(tree.build(none));
    EXPECT_EQ(walk(tree, "0"), -1);
}

TEST(HuffmanTree, FindsLongCodesAndAsksForMoreBits)
{
    // Symbol n is n ones and a zero; the last two share the longest length, 15 bits.
    std::uint8_t lengths[16];
    for (int i = 0; i < 15; ++i)
        lengths[i] = static_cast<std::uint8_t>(i + 1);
    lengths[15] = 15;
    skinner::HuffmanTree tree;
    ASSERT_TRUE(tree.build(lengths));
    EXPECT_EQ(walk(tree, "0"), 0);
    EXPECT_EQ(walk(tree, "10"), 1);
    EXPECT_EQ(walk(tree, "11111111110"), 10);
    EXPECT_EQ(walk(tree, "111111111111110"), 14);
    EXPECT_EQ(walk(tree, "111111111111111"), 15);
    int length = 0;
    // Eleven ones are the start of a longer code.
    EXPECT_EQ(tree.decode(0x7FF, 11, length), skinner::HuffmanTree::need_more);
}

}
