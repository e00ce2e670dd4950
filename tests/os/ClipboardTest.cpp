#include "platform/core/Clipboard.h"

#include "os/ClipboardFormat.h"
#include "os/ClipboardReader.h"
#include "os/ClipboardWriter.h"
#include "platform/core/headless/MemoryClipboard.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

class ClipboardTest : public ::testing::Test {
protected:
    platform::ScopedService<platform::Clipboard, platform::headless::MemoryClipboard> m_clipboard {
        platform::clipboard_slot()
    };

    // As the text edit control copies: the text and its zero, emptying first.
    static void copy(std::u16string_view text)
    {
        os::ClipboardWriter writer(os::clipboard_unicode_text, (text.size() + 1) * 2, true);
        ASSERT_TRUE(writer.is_valid());
        std::memcpy(writer.data(), text.data(), text.size() * 2);
    }

    static std::optional<std::u16string> clipboard_text()
    {
        auto& clipboard = platform::clipboard();
        if (!clipboard.open())
            return u"<held open>";
        auto text = clipboard.text();
        clipboard.close();
        return text;
    }
};

}

TEST_F(ClipboardTest, TextRoundTrip)
{
    copy(u"caf\u00e9 \u20ac\U0001F3B5");
    os::ClipboardReader reader(os::clipboard_unicode_text);
    ASSERT_TRUE(reader.has_data());
    ASSERT_EQ(reader.size(), 9u * 2);
    std::u16string pasted(static_cast<const char16_t*>(reader.data()), reader.size() / 2 - 1);
    EXPECT_EQ(pasted, u"caf\u00e9 \u20ac\U0001F3B5");
}

TEST_F(ClipboardTest, EightBitTextIsWindows1252)
{
    copy(u"caf\u00e9 \u20ac \u4e2d");
    {
        os::ClipboardReader reader(os::clipboard_text);
        ASSERT_TRUE(reader.has_data());
        EXPECT_EQ(std::string(static_cast<const char*>(reader.data()), reader.size()),
            std::string("caf\xE9 \x80 ?", 9));
    }

    {
        os::ClipboardWriter writer(os::clipboard_text, 6, true);
        ASSERT_TRUE(writer.is_valid());
        std::memcpy(writer.data(), "\xE9t\xE9\0zz", 6);
    }
    EXPECT_EQ(clipboard_text(), u"\u00e9t\u00e9");
}

TEST_F(ClipboardTest, TextStopsAtItsZero)
{
    {
        os::ClipboardWriter writer(os::clipboard_unicode_text, 16, true);
        std::memcpy(writer.data(), u"ab\0cd", 10);
    }
    EXPECT_EQ(clipboard_text(), u"ab");
    os::ClipboardReader reader(os::clipboard_unicode_text);
    EXPECT_EQ(reader.size(), 6u);
}

TEST_F(ClipboardTest, FormatsWithoutTextHaveNoData)
{
    copy(u"text");
    {
        os::ClipboardReader bitmap(os::clipboard_dib);
        EXPECT_FALSE(bitmap.has_data());
        EXPECT_EQ(bitmap.size(), 0u);
        EXPECT_EQ(bitmap.data(), nullptr);
    }
    // ... and the reader closed the clipboard all the same.
    EXPECT_EQ(clipboard_text(), u"text");
    {
        os::ClipboardWriter sound(os::clipboard_riff, 100, false);
        EXPECT_TRUE(sound.is_valid());
    }
    EXPECT_EQ(clipboard_text(), u"text");
    os::ClipboardReader unknown(7);
    EXPECT_FALSE(unknown.has_data());
}

TEST_F(ClipboardTest, AFailedAllocationPutsNothingButEmpties)
{
    copy(u"old");
    {
        os::ClipboardWriter writer(os::clipboard_unicode_text, os::ClipboardWriter::max_size + 1, false);
        EXPECT_FALSE(writer.is_valid());
        EXPECT_EQ(writer.data(), nullptr);
    }
    EXPECT_EQ(clipboard_text(), u"old");
    {
        os::ClipboardWriter writer(os::clipboard_unicode_text, SIZE_MAX, true);
        EXPECT_FALSE(writer.is_valid());
    }
    EXPECT_EQ(clipboard_text(), std::nullopt);
}

TEST_F(ClipboardTest, AClipboardHeldElsewhereIsNotClosed)
{
    copy(u"text");
    auto& clipboard = platform::clipboard();
    ASSERT_TRUE(clipboard.open());
    {
        os::ClipboardReader reader(os::clipboard_unicode_text);
        EXPECT_FALSE(reader.has_data());
        os::ClipboardWriter writer(os::clipboard_unicode_text, 4, true);
        EXPECT_FALSE(writer.is_valid());
    }
    EXPECT_FALSE(clipboard.open()); // still held by its first user
    EXPECT_EQ(clipboard.text(), u"text");
    clipboard.close();
}
