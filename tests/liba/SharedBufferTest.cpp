#include "liba/SharedBuffer.h"

#include <gtest/gtest.h>
#include <numeric>
#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> counting(std::size_t n)
{
    std::vector<std::uint8_t> bytes(n);
    std::iota(bytes.begin(), bytes.end(), 0);
    return bytes;
}

std::string text_of(const liba::SharedBuffer& b)
{
    return std::string(reinterpret_cast<const char*>(b.data()), b.size());
}

}

TEST(SharedBuffer, CopyOnWrite)
{
    const auto bytes = counting(100);
    // Each case writes through `writer` and checks what the other handle sees.
    struct Case {
        const char* name;
        std::size_t offset, length; // writer's range in the original
    } cases[] = {
        { "whole copy", 0, 100 },
        { "sub-range", 4, 10 },
        { "empty range", 100, 0 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        liba::SharedBuffer original(bytes.size(), bytes.data());
        liba::SharedBuffer writer(original, c.offset, c.length);
        EXPECT_TRUE(original.is_shared());
        EXPECT_EQ(writer.data(), original.data() + c.offset); // no copy on hand-over

        writer.fill(0xAA);
        EXPECT_FALSE(writer.is_shared());
        EXPECT_FALSE(original.is_shared());
        EXPECT_EQ(writer.offset(), 0u);
        EXPECT_EQ(writer.size(), c.length);
        EXPECT_EQ(std::vector<std::uint8_t>(original.data(), original.data() + 100), bytes);
        for (std::size_t i = 0; i < writer.size(); ++i)
            ASSERT_EQ(writer.data()[i], 0xAA);
    }
}

TEST(SharedBuffer, UnsharedBlockIsWrittenInPlace)
{
    const auto bytes = counting(20);
    liba::SharedBuffer buffer(bytes.size(), bytes.data());
    {
        liba::SharedBuffer part(buffer, 5, 5);
        EXPECT_TRUE(buffer.is_shared());
    }
    const std::uint8_t* before = buffer.data();
    EXPECT_EQ(buffer.make_unique(), before);

    // A sub-range that holds the last reference keeps its offset and writes
    // only its own bytes.
    liba::SharedBuffer part(buffer, 5, 5);
    buffer = liba::SharedBuffer();
    part.fill(0);
    EXPECT_EQ(part.offset(), 5u);
    EXPECT_EQ(part.data()[-1], 4); // the byte before the range is untouched
    EXPECT_EQ(part.data()[5], 10); // and the one after
}

TEST(SharedBuffer, CopyFromClipsAtTheEnd)
{
    struct Case {
        std::size_t size, position, source;
        std::size_t copied;
    } cases[] = {
        { 100, 90, 50, 10 },
        { 100, 0, 50, 50 },
        { 100, 100, 50, 0 },
        { 100, 101, 50, 0 }, // beyond the range: nothing
        { 0, 0, 5, 0 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.size << " " << c.position << " " << c.source);
        liba::SharedBuffer target(c.size);
        target.fill('t');
        liba::SharedBuffer source(c.source);
        source.fill('s');
        EXPECT_EQ(target.copy_from(c.position, source), c.copied);
        const std::string expected = std::string(std::min(c.position, c.size), 't') + std::string(c.copied, 's')
            + std::string(c.size - std::min(c.size, c.position + c.copied), 't');
        EXPECT_EQ(text_of(target), expected);
    }
}

TEST(SharedBuffer, CopyFromASharerOfTheSameBlock)
{
    liba::SharedBuffer buffer(6, "abcdef");
    liba::SharedBuffer tail(buffer, 3, 3);
    EXPECT_EQ(buffer.copy_from(0, tail), 3u);
    EXPECT_EQ(text_of(buffer), "defdef");
    EXPECT_EQ(text_of(tail), "def");
    EXPECT_EQ(buffer.copy_from(1, buffer), 5u);
    EXPECT_EQ(text_of(buffer), "ddefde");
}

TEST(SharedBuffer, DefaultHandlesAndAssignment)
{
    liba::SharedBuffer empty;
    EXPECT_EQ(empty.size(), 0u);
    liba::SharedBuffer copy(empty);
    copy = copy;
    EXPECT_EQ(copy.size(), 0u);

    liba::SharedBuffer a(3, "abc");
    liba::SharedBuffer b;
    b = a;
    EXPECT_EQ(text_of(b), "abc");
    a = liba::SharedBuffer(2, "xy"); // b now holds the last reference
    EXPECT_FALSE(b.is_shared());
    EXPECT_EQ(text_of(b), "abc");
}

TEST(SharedBuffer, SubRangeBeyondTheSourceIsClamped)
{
    liba::SharedBuffer buffer(10);
    liba::SharedBuffer part(buffer, 8, 5);
    EXPECT_EQ(part.size(), 2u);
    liba::SharedBuffer past(buffer, 20, 5);
    EXPECT_EQ(past.size(), 0u);
    past.fill(1);
}

TEST(SharedBuffer, WritesToASharedSubRangeLandInsideItsOwnCopy)
{
    const auto bytes = counting(64);
    liba::SharedBuffer original(bytes.size(), bytes.data());

    liba::SharedBuffer filled(original, 40, 8);
    filled.fill(0xAA);
    EXPECT_EQ(text_of(filled), std::string(8, '\xAA'));

    liba::SharedBuffer copied(original, 40, 8);
    const liba::SharedBuffer source(std::string("xyz").size(), "xyz");
    EXPECT_EQ(copied.copy_from(2, source), 3u);
    EXPECT_EQ(text_of(copied).substr(2, 3), "xyz");
    EXPECT_EQ(static_cast<unsigned char>(text_of(copied)[0]), 40);

    EXPECT_EQ(text_of(original), std::string(bytes.begin(), bytes.end()));
}
