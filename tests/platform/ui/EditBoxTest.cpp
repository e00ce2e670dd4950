#include "platform/ui/EditBox.h"

#include "platform/ui/Input.h"
#include "platform/ui/ShellLook.h"
#include "tests/platform/ui/UiTest.h"

#include <string>
#include <vector>

using namespace platform;

namespace {

constexpr ColorRef white = rgb(255, 255, 255);

// A parent with an edit box at (10, 10), which has the focus; the parent
// keeps the box's text at each change it hears of.
class EditBoxTest : public test::UiTest {
protected:
    void SetUp() override
    {
        parent = make_window({ 0, 26, 240, 268 }, ws::visible | ws::clip_children, white);
        set_window_procedure(parent, [this](Window w, MessageId id, WParam wp, LParam lp) -> LResult {
            if (id == msg::command && (wp >> 16) == en::change && Window(std::uint32_t(lp)) == box)
                changes.push_back(window_text(box));
            return procedure(w, id, wp, lp);
        });
        box = edit(ws::border);
        set_foreground_window(parent);
        set_focus(box);
        run();
    }

    Window edit(std::uint32_t style)
    {
        WindowParams params;
        params.class_name = u"edit";
        params.style = ws::child | ws::visible | es::auto_hscroll | style;
        params.parent = parent;
        params.x = 10;
        params.y = 10;
        params.width = 120;
        params.height = 24;
        return create_window(params);
    }

    void type(std::u16string_view keys)
    {
        for (char16_t c : keys)
            screen->key(c >= u'a' && c <= u'z' ? std::uint32_t(c - u'a' + 'A') : std::uint32_t(c));
        run();
    }

    void run() { screen->run_until_idle(); }

    Window parent {};
    Window box {};
    std::vector<std::u16string> changes;
};

TEST_F(EditBoxTest, TypingBackspaceAndDeleteEditAtTheCaretAndTellTheParentOfEachChange)
{
    ASSERT_EQ(window_class_name(box), u"EDIT");
    type(u"abc");
    screen->key(vk::left).key(vk::back);
    run();
    screen->key(vk::home).key(vk::del);
    run();
    EXPECT_EQ(window_text(box), u"c");
    EXPECT_EQ(changes, (std::vector<std::u16string> { u"a", u"ab", u"abc", u"ac", u"c" }));
    // Nothing to delete: nothing changes, nobody is told.
    screen->key(vk::end).key(vk::del).key(vk::home).key(vk::back);
    run();
    EXPECT_EQ(changes.size(), 5u);
}

TEST_F(EditBoxTest, TypingReplacesTheSelection)
{
    ASSERT_TRUE(set_edit_text(box, u"hello"));
    EXPECT_TRUE(changes.empty());
    EXPECT_EQ(edit_selection(box).start, 5u);
    // Out-of-range ends are cut to the text.
    send_message(box, em::set_sel, 1, 99);
    EXPECT_EQ(edit_selection(box).start, 1u);
    EXPECT_EQ(edit_selection(box).end, 5u);
    type(u"i");
    EXPECT_EQ(window_text(box), u"hi");
    // Shift with the arrows selects; Backspace deletes the selection.
    screen->key_down(vk::shift).key(vk::home).key_up(vk::shift).key(vk::back);
    run();
    EXPECT_EQ(window_text(box), u"");
    EXPECT_EQ(send_message(box, em::get_sel), 0);
}

TEST_F(EditBoxTest, AReadOnlyBoxChangesNothing)
{
    set_edit_text(box, u"fixed");
    send_message(box, em::set_read_only, 1);
    EXPECT_TRUE(is_edit_read_only(box));
    type(u"x");
    screen->key(vk::back).key(vk::home).key(vk::del);
    run();
    EXPECT_EQ(window_text(box), u"fixed");
    EXPECT_TRUE(changes.empty());
    send_message(box, em::set_read_only, 0);
    type(u"x");
    EXPECT_EQ(window_text(box), u"xfixed");
}

TEST_F(EditBoxTest, ATapTakesTheFocusAndPutsTheCaretThere)
{
    Window other = edit(0);
    set_edit_text(other, u"wwww");
    move_window(other, { 10, 50, 130, 74 });
    run();
    const Point start = client_to_screen(other, { 0, 12 });
    screen->tap({ start.x + 3, start.y });
    run();
    EXPECT_EQ(focus_window(), other);
    EXPECT_EQ(edit_selection(other).start, 0u);
    screen->tap({ start.x + 115, start.y });
    run();
    EXPECT_EQ(edit_selection(other).start, 4u);
}

TEST_F(EditBoxTest, TheCaretStaysInViewOfALongText)
{
    set_edit_text(box, std::u16string(60, u'm'));
    run();
    // The caret at the end of the text shows at the right edge: one column of
    // the text's colour over the line's height, inside the frame.
    const Point origin = client_to_screen(box, { 0, 0 });
    auto caret_column = [&] {
        for (int x = 2; x < 118; ++x) {
            int dark = 0;
            for (int y = 2; y < 22; ++y)
                dark += screen->pixel({ origin.x + x, origin.y + y }) == look::text;
            if (dark >= 10)
                return x;
        }
        return -1;
    };
    EXPECT_GT(caret_column(), 100);
    send_message(box, em::set_sel, 0, 0);
    run();
    EXPECT_LT(caret_column(), 6);
}

TEST_F(EditBoxTest, InputModesAreKept)
{
    EXPECT_EQ(send_message(box, em::get_input_mode), LResult(im::text));
    send_message(box, em::set_input_mode, 0, im::numbers);
    EXPECT_EQ(send_message(box, em::get_input_mode), LResult(im::numbers));
    EXPECT_FALSE(set_edit_text(parent, u"not an edit box"));
}

}
