#include "platform/core/Clipboard.h"
#include "platform/core/headless/MemoryClipboard.h"

#include <gtest/gtest.h>

TEST(MemoryClipboard, OneHolderAtATime)
{
    platform::headless::MemoryClipboard clipboard;
    EXPECT_FALSE(clipboard.set_text(u"closed"));
    ASSERT_TRUE(clipboard.open());
    EXPECT_FALSE(clipboard.open());
    EXPECT_FALSE(clipboard.text().has_value());
    EXPECT_TRUE(clipboard.set_text(u"text"));
    clipboard.close();
    EXPECT_FALSE(clipboard.text().has_value()); // closed: nothing to read
    ASSERT_TRUE(clipboard.open());
    EXPECT_EQ(clipboard.text(), u"text");
    EXPECT_TRUE(clipboard.empty());
    EXPECT_FALSE(clipboard.text().has_value());
    clipboard.close();
}

TEST(Clipboard, NoneUntilOneIsInstalled)
{
    EXPECT_FALSE(platform::clipboard().open());
    {
        platform::ScopedService<platform::Clipboard, platform::headless::MemoryClipboard> memory(
            platform::clipboard_slot());
        ASSERT_TRUE(platform::clipboard().open());
        EXPECT_TRUE(platform::clipboard().set_text(u"text"));
        platform::clipboard().close();
    }
    EXPECT_FALSE(platform::clipboard().open());
    EXPECT_FALSE(platform::clipboard().text().has_value());
}
