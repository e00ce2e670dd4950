#include "platform/ui/headless/HeadlessDisplay.h"
#include "platform/core/Cursor.h"

#include <gtest/gtest.h>

using platform::CursorShape;
using Shapes = std::vector<CursorShape>;

TEST(Cursor, StandardIdentifiersNameTheirShapesAndAnythingElseIsTheArrow)
{
    struct Case {
        std::uint32_t id;
        CursorShape shape;
    } cases[] = {
        { 32512, CursorShape::arrow },
        { 32513, CursorShape::ibeam },
        { 32514, CursorShape::wait },
        { 32642, CursorShape::size_nwse },
        { 32643, CursorShape::size_nesw },
        { 32644, CursorShape::size_we },
        { 32645, CursorShape::size_ns },
        { 32646, CursorShape::size_all },
        { 32648, CursorShape::no },
        { 32649, CursorShape::hand },
        { 32650, CursorShape::app_starting },
        { 32651, CursorShape::help },
        { 0, CursorShape::arrow },
        { 32647, CursorShape::arrow },
        { 0xFFFFFFFF, CursorShape::arrow },
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::cursor_shape(c.id), c.shape) << c.id;
}

TEST(Cursor, ADisplayIsToldOfEachChangeOnlyAndANewOneStartsWithTheArrow)
{
    {
        platform::ScopedService<platform::Display, platform::headless::HeadlessDisplay> screen(
            platform::display_slot());
        EXPECT_EQ(platform::current_cursor(), CursorShape::arrow);
        EXPECT_EQ(platform::set_cursor(CursorShape::arrow), CursorShape::arrow);
        EXPECT_EQ(platform::set_cursor(CursorShape::hand), CursorShape::arrow);
        EXPECT_EQ(platform::set_cursor(CursorShape::hand), CursorShape::hand);
        {
            platform::ScopedCursor waiting(CursorShape::wait);
            EXPECT_EQ(platform::current_cursor(), CursorShape::wait);
        }
        EXPECT_EQ(screen->cursors(), (Shapes { CursorShape::hand, CursorShape::wait, CursorShape::hand }));
    }
    platform::ScopedService<platform::Display, platform::headless::HeadlessDisplay> next(platform::display_slot());
    EXPECT_EQ(platform::current_cursor(), CursorShape::arrow);
    EXPECT_EQ(platform::set_cursor(CursorShape::ibeam), CursorShape::arrow);
    EXPECT_EQ(next->cursors(), Shapes { CursorShape::ibeam });
}
