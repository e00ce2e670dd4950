#include "skinner/graphics/HuffmanTree.h"

#include <gtest/gtest.h>

namespace {

// The symbol that a code (its bits as text, first bit first) reaches; -1 for none.
int walk(const skinner::HuffmanTree& tree, const std::string& code)
{
    const skinner::HuffmanTree::Node* node = &tree.root();
    for (char c : code) {
        const std::int32_t child = node->child[c - '0'];
        if (child < 0)
            return -1;
        node = &tree.node(child);
    }
    return node->symbol == skinner::HuffmanTree::no_symbol ? -1 : node->symbol;
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
    const std::uint8_t none[] = { 0, 0 };
    ASSERT_TRUE(tree.build(none));
    EXPECT_EQ(walk(tree, "0"), -1);
}

}
