#include "skinner/widgets/edit/ControlEdit.h"

#include "platform/core/Clipboard.h"
#include "platform/core/headless/MemoryClipboard.h"
#include "platform/ui/Input.h"
#include "platform/ui/Screen.h"
#include "tests/skinner/ControlScreen.h"
#include "tests/skinner/EditionOnly.h"
#include "skinner/widgets/edit/ControlEditNativeImpl.h"
#include "platform/ui/EditBox.h"

#include <gmock/gmock.h>

namespace {

using platform::vk::back;
using platform::vk::del;
using platform::vk::end;
using platform::vk::home;
using platform::vk::insert;
using platform::vk::left;
using platform::vk::right;
using skinner::ControlEdit;
using skinner::Form;
using skinner::Point;

constexpr platform::ColorRef paper = platform::rgb(240, 240, 240);
constexpr platform::ColorRef focused_paper = platform::rgb(255, 255, 200);
constexpr platform::ColorRef marker = platform::rgb(0, 0, 160);

// Counts the events that reach the form.
class EditListener : public skinner::Listener {
public:
    bool on_text_changed(skinner::Control&) override
    {
        ++changes;
        return true;
    }

    bool on_click(skinner::Control&) override
    {
        ++clicks;
        return true;
    }

    int changes = 0;
    int clicks = 0;
};

class EditTest : public test::ControlScreen {
protected:
    void SetUp() override
    {
        make_picture("paper.png", { "p" }, { { 'p', paper } });
        make_picture("focused.png", { "f" }, { { 'f', focused_paper } });
        make_picture("marker.png", { "m" }, { { 'm', marker } });
        load_skin(R"(
            <picture name="paper"/><picture name="focused"/><picture name="marker"/>
            <font name="text" description="9 0 0 0 Pinned"/>
            <kind name="Looks">
              <picture name="Normal" image="paper" source="0 0 1 1"/>
              <picture name="Highlighted" image="focused" source="0 0 1 1"/>
              <picture name="Selection" image="marker" source="0 0 1 1"/>
              <font name="Normal" font="text"/>
              <color name="Normal" value="#000000"/>
              <color name="Selection" value="#FFFFFF"/>
              <point name="BorderMin" x="2" y="2"/>
            </kind>
            <form name="Board">
              <point name="Size" x="240" y="200"/>
              <int name="StartPosition" value="4"/>
              <control name="Field">
                <point name="Position" x="10" y="10"/><point name="Size" x="100" y="20"/>
                <picture name="Normal" image="paper" source="0 0 1 1"/>
                <picture name="Highlighted" image="focused" source="0 0 1 1"/>
                <picture name="Selection" image="marker" source="0 0 1 1"/>
                <font name="Normal" font="text"/>
                <color name="Normal" value="#000000"/>
                <color name="Selection" value="#FFFFFF"/>
                <point name="BorderMin" x="2" y="2"/>
                <string name="InputMode" value="TextDefault"/>
              </control>
              <control name="Secret">
                <point name="Position" x="10" y="40"/><point name="Size" x="100" y="20"/>
                <picture name="Normal" image="paper" source="0 0 1 1"/>
                <font name="Normal" font="text"/>
                <string name="PasswordChar" value="*x"/>
                <string name="Text" value="hidden"/>
              </control>
              <control name="Fixed">
                <point name="Position" x="10" y="70"/><point name="Size" x="100" y="20"/>
                <picture name="Normal" image="paper" source="0 0 1 1"/>
                <font name="Normal" font="text"/>
                <int name="Readonly" value="1"/>
                <string name="Text" value="fixed text"/>
              </control>
              <control name="Mask">
                <point name="Position" x="10" y="100"/><point name="Size" x="100" y="20"/>
                <font name="Normal" font="text"/>
                <string name="Text" value="******"/>
              </control>
            </form>)");
        form = std::make_unique<Form>(nullptr, *properties, u"Board", &events);
        field = std::make_unique<ControlEdit>(*form, u"Field");
        run();
        form->set_active(true);
        field->take_focus();
        run();
    }

    void TearDown() override
    {
        field.reset();
        form.reset();
    }

    // A key with modifiers held, as the framework's message loop hands it to the form.
    void press(std::uint32_t key, bool ctrl = false, bool shift = false, char16_t character = 0)
    {
        if (ctrl)
            platform::key_down(platform::vk::control);
        if (shift)
            platform::key_down(platform::vk::shift);
        platform::send_message(form->window().handle(), platform::msg::user_key, key, character);
        if (shift)
            platform::key_up(platform::vk::shift);
        if (ctrl)
            platform::key_up(platform::vk::control);
        run();
    }

    void type(std::u16string text)
    {
        screen->text(std::move(text));
        run();
    }

    platform::Point at(Point client) const
    {
        return platform::client_to_screen(form->window().handle(), { client.x, client.y });
    }

    // The field's client x of the caret position i, as painted.
    std::int32_t x_of(const ControlEdit& edit, std::int32_t i) const
    {
        const auto prefix = std::u16string_view(edit.get_text()).substr(0, std::size_t(i));
        return edit.position().x + edit.border_min().x + edit.text_offset()
            + ControlEdit::measure_text(text_font(), prefix).width;
    }

    const skinner::Font& text_font() const
    {
        static skinner::Font font = [this] {
            skinner::Font f(1);
            f.set_description(u"9 0 0 0 Pinned");
            return f;
        }();
        return font;
    }

    EditListener events;
    platform::ScopedService<platform::Clipboard, platform::headless::MemoryClipboard> clipboard {
        platform::clipboard_slot()
    };
    std::unique_ptr<Form> form;
    std::unique_ptr<ControlEdit> field;
};

std::optional<std::u16string> clipboard_text()
{
    auto& clipboard = platform::clipboard();
    if (!clipboard.open())
        return u"<held>";
    auto text = clipboard.text();
    clipboard.close();
    return text;
}

void put_on_clipboard(std::u16string text)
{
    auto& clipboard = platform::clipboard();
    ASSERT_TRUE(clipboard.open());
    clipboard.set_text(std::move(text));
    clipboard.close();
}

}

TEST_F(EditTest, LoadsItsSkinAndStartsWithTheSkinsText)
{
    ORVANTA_POCKET_PC_ONLY();
    EXPECT_TRUE(field->has_focus());
    EXPECT_TRUE(field->wants_gestures());
    EXPECT_TRUE(field->impl().drawn());
    EXPECT_EQ(field->input_mode(), u"TextDefault");
    EXPECT_EQ(field->get_text(), u"");

    ControlEdit secret(*form, u"Secret");
    EXPECT_EQ(secret.get_text(), u"hidden");
    EXPECT_EQ(secret.password_char(), u'*');
    ControlEdit fixed(*form, u"Fixed");
    EXPECT_TRUE(fixed.read_only());
    // A read-only field keeps its look when the skin names no read-only picture.
    EXPECT_TRUE(fixed.hit_test({ 20, 80 }));
    EXPECT_FALSE(fixed.hit_test({ 5, 80 }));
}

TEST_F(EditTest, TypingInsertsAtTheCaretAndReplacesTheSelection)
{
    ORVANTA_POCKET_PC_ONLY();
    type(u"hello");
    EXPECT_EQ(field->get_text(), u"hello");
    EXPECT_EQ(field->caret(), 5);
    EXPECT_EQ(events.changes, 1);

    field->set_selection(1, 4);
    type(u"EY");
    EXPECT_EQ(field->get_text(), u"hEYo");
    EXPECT_EQ(field->anchor(), 3);
    EXPECT_EQ(field->caret(), 3);
    EXPECT_EQ(events.changes, 2);

    // Typed letters arrive as key presses that make characters, too.
    press('Z', false, false, u'z');
    EXPECT_EQ(field->get_text(), u"hEYzo");

    // An empty input-method result (a composition given up) changes nothing.
    field->set_selection(0, 5);
    platform::send_message(
        form->window().handle(), platform::msg::ime_composition, 0, platform::gcs_result_string);
    run();
    EXPECT_EQ(field->get_text(), u"hEYzo");
    EXPECT_EQ(events.changes, 3);

    // A read-only field takes no text.
    ControlEdit fixed(*form, u"Fixed");
    fixed.take_focus();
    type(u"x");
    EXPECT_EQ(fixed.get_text(), u"fixed text");
}

TEST_F(EditTest, BackspaceAndDeleteRemoveOneCharacterOrTheSelectionAndReportIt)
{
    ORVANTA_POCKET_PC_ONLY();
    field->set_text(u"abcdef");
    events.changes = 0;

    // Backspace at the start and Delete at the end change nothing and raise nothing.
    press(home);
    press(back);
    press(end);
    press(del);
    EXPECT_EQ(field->get_text(), u"abcdef");
    EXPECT_EQ(events.changes, 0);

    press(back);
    EXPECT_EQ(field->get_text(), u"abcde");
    EXPECT_EQ(events.changes, 1);
    press(home);
    press(del);
    EXPECT_EQ(field->get_text(), u"bcde");
    EXPECT_EQ(events.changes, 2);

    field->set_selection(3, 1);
    press(back);
    EXPECT_EQ(field->get_text(), u"be");
    EXPECT_EQ(field->caret(), 1);
    field->set_selection(0, 1);
    press(del);
    EXPECT_EQ(field->get_text(), u"e");
    EXPECT_EQ(events.changes, 4);
}

TEST_F(EditTest, CaretMovesByKeys)
{
    ORVANTA_POCKET_PC_ONLY();
    struct Case {
        const char* what;
        std::int32_t anchor, caret;
        std::uint32_t key;
        bool ctrl, shift;
        std::int32_t anchor_after, caret_after;
    };

    // "one two  three": words start at 0, 4 and 9.
    const Case cases[] = {
        { "left", 5, 5, left, false, false, 4, 4 },
        { "left collapses a selection", 2, 7, left, false, false, 6, 6 },
        { "left at 0", 0, 0, left, false, false, 0, 0 },
        { "shift+left extends", 5, 5, left, false, true, 5, 4 },
        { "shift+left at 0 keeps the selection", 3, 0, left, false, true, 3, 0 },
        { "ctrl+left inside a word", 6, 6, left, true, false, 4, 4 },
        { "ctrl+left at a word start", 9, 9, left, true, false, 4, 4 },
        { "ctrl+left over two spaces", 8, 8, left, true, false, 4, 4 },
        { "ctrl+left in the first word", 2, 2, left, true, false, 0, 0 },
        { "ctrl+shift+left", 14, 14, left, true, true, 14, 9 },
        { "right", 0, 0, right, false, false, 1, 1 },
        { "right at the end", 14, 14, right, false, false, 14, 14 },
        { "shift+right", 1, 1, right, false, true, 1, 2 },
        { "ctrl+right", 0, 0, right, true, false, 4, 4 },
        { "ctrl+right before two spaces", 6, 6, right, true, false, 9, 9 },
        { "ctrl+right in the last word", 10, 10, right, true, false, 14, 14 },
        { "home", 7, 7, home, false, false, 0, 0 },
        { "shift+home", 7, 7, home, false, true, 7, 0 },
        { "end", 3, 3, end, false, false, 14, 14 },
        { "shift+end", 3, 3, end, false, true, 3, 14 },
    };
    field->set_text(u"one two  three");
    for (const Case& c : cases) {
        field->set_selection(c.anchor, c.caret);
        press(c.key, c.ctrl, c.shift);
        EXPECT_EQ(field->anchor(), c.anchor_after) << c.what;
        EXPECT_EQ(field->caret(), c.caret_after) << c.what;
    }
    // Moving the caret changes no text.
    EXPECT_EQ(events.changes, 1);
}

TEST_F(EditTest, PenPlacesTheCaretDragsASelectionAndDoubleTapSelectsAWord)
{
    ORVANTA_POCKET_PC_ONLY();
    field->set_text(u"ab cd");
    run();
    const std::int32_t y = 20;
    // A press inside a character's right half lies after it.
    const std::int32_t mid_b = (x_of(*field, 1) + x_of(*field, 2)) / 2;
    screen->tap(at({ mid_b + 1, y }));
    run();
    EXPECT_EQ(field->caret(), 2);
    EXPECT_EQ(field->anchor(), 2);
    EXPECT_EQ(events.clicks, 1);
    // Left of the text is position 0, right of it the end.
    screen->tap(at({ 11, y }), 600);
    run();
    EXPECT_EQ(field->caret(), 0);
    screen->tap(at({ 105, y }), 600);
    run();
    EXPECT_EQ(field->caret(), 5);

    // A drag from the start to the end of "cd".
    screen->pen_down(at({ x_of(*field, 3), y }), 600)
        .pen_move(at({ x_of(*field, 4), y }), 20)
        .pen_up(at({ x_of(*field, 5), y }), 20);
    run();
    EXPECT_EQ(field->anchor(), 3);
    EXPECT_EQ(field->caret(), 5);

    // A double tap in the first word selects it and the space after it.
    const platform::Point in_a = at({ x_of(*field, 0) + 2, y });
    screen->tap(in_a, 600).tap(in_a, 50);
    run();
    EXPECT_EQ(field->anchor(), 0);
    EXPECT_EQ(field->caret(), 3);
    // In the last word it selects the word alone.
    const platform::Point in_d = at({ x_of(*field, 4) + 2, y });
    screen->tap(in_d, 600).tap(in_d, 50);
    run();
    EXPECT_EQ(field->anchor(), 3);
    EXPECT_EQ(field->caret(), 5);
    EXPECT_EQ(events.changes, 1);
}

TEST_F(EditTest, ClipboardKeysCopyCutAndPasteText)
{
    ORVANTA_POCKET_PC_ONLY();
    field->set_text(u"hello world");
    field->set_selection(0, 5);
    press('C', true);
    EXPECT_EQ(clipboard_text(), u"hello");
    EXPECT_EQ(field->get_text(), u"hello world");

    field->set_selection(5, 11);
    press('X', true);
    EXPECT_EQ(clipboard_text(), u" world");
    EXPECT_EQ(field->get_text(), u"hello");

    press(home);
    press('V', true);
    EXPECT_EQ(field->get_text(), u" worldhello");
    EXPECT_EQ(field->caret(), 6);

    // Shift+Delete cuts, Ctrl+Insert copies, Shift+Insert pastes.
    field->set_selection(0, 1);
    press(del, false, true);
    EXPECT_EQ(field->get_text(), u"worldhello");
    EXPECT_EQ(clipboard_text(), u" ");
    field->set_selection(5, 10);
    press(insert, true);
    EXPECT_EQ(clipboard_text(), u"hello");
    field->set_selection(0, 5);
    press(insert, false, true);
    EXPECT_EQ(field->get_text(), u"hellohello");
    // Insert alone is not the field's.
    press(insert);
    EXPECT_EQ(field->get_text(), u"hellohello");
}

TEST_F(EditTest, CtrlASelectsAllAndTypingReplacesIt)
{
    ORVANTA_POCKET_PC_ONLY();
    field->set_text(u"hello world");
    field->set_selection(3, 3);
    press('A', true);
    EXPECT_EQ(field->anchor(), 0);
    EXPECT_EQ(field->caret(), 11);
    press('A', false, false, u'a');
    EXPECT_EQ(field->get_text(), u"a") << "A alone is typed, over the selection";
}

TEST_F(EditTest, PasteDropsControlCharactersAndStopsAtTheTextsEnd)
{
    struct Case {
        std::u16string clipboard;
        std::u16string pasted;
    };

    const Case cases[] = {
        { u"two\r\nlines\tand a tab", u"twolinesand a tab" },
        // A zero inside the clipboard's text ends it.
        { std::u16string(u"kept\0dropped", 12), u"kept" },
        { u"", u"" },
    };
    for (const Case& c : cases) {
        field->set_text(u"");
        put_on_clipboard(c.clipboard);
        field->paste();
        EXPECT_EQ(field->get_text(), c.pasted);
    }
}

TEST_F(EditTest, WithoutAClipboardCutKeepsTheTextAndPasteDoesNothing)
{
    platform::ScopedService<platform::Clipboard, platform::headless::MemoryClipboard> held {
        platform::clipboard_slot()
    };
    ASSERT_TRUE(platform::clipboard().open()); // someone else holds it
    field->set_text(u"precious");
    field->set_selection(0, 8);
    press('X', true);
    EXPECT_EQ(field->get_text(), u"precious");
    EXPECT_FALSE(field->copy_selection());
    field->run_menu_command(u"menuCut");
    EXPECT_EQ(field->get_text(), u"precious");
    field->paste();
    EXPECT_EQ(field->get_text(), u"precious");
    platform::clipboard().close();
}

TEST_F(EditTest, PasswordFieldNeitherCopiesNorCuts)
{
    ORVANTA_POCKET_PC_ONLY();
    ControlEdit secret(*form, u"Secret");
    secret.take_focus();
    put_on_clipboard(u"before");
    secret.set_selection(0, 6);
    press('C', true);
    press('X', true);
    press(insert, true);
    press(del, false, true);
    EXPECT_EQ(secret.get_text(), u"hidden");
    EXPECT_EQ(clipboard_text(), u"before");

    const skinner::MenuEntry menu = secret.context_menu();
    ASSERT_EQ(menu.children.size(), 5u);
    EXPECT_FALSE(menu.children[0].enabled); // Cut
    EXPECT_FALSE(menu.children[1].enabled); // Copy
    EXPECT_TRUE(menu.children[3].enabled); // Delete

    // It shows as many password characters as the text has characters, and
    // the caret's positions follow their widths.
    ControlEdit mask(*form, u"Mask");
    run();
    const std::map<char, platform::ColorRef> legend { { '#', platform::rgb(0, 0, 0) } };
    EXPECT_EQ(
        pixels(*form, { 10, 40 }, { 100, 20 }, legend), pixels(*form, { 10, 100 }, { 100, 20 }, legend));
    secret.set_selection(0, 0);
    screen->tap(at({ 12 + ControlEdit::measure_text(text_font(), u"***").width, 50 }));
    run();
    EXPECT_EQ(secret.caret(), 3);
}

TEST_F(EditTest, ContextMenuOffersWhatTheStateAllows)
{
    struct Case {
        const char* what;
        const char16_t* text;
        std::int32_t anchor, caret;
        std::vector<bool> enabled; // Cut, Copy, Paste, Delete, Select All
    };

    const Case cases[] = {
        { "empty", u"", 0, 0, { false, false, true, false, false } },
        { "no selection", u"abc", 1, 1, { false, false, true, false, true } },
        { "part selected", u"abc", 0, 2, { true, true, true, true, true } },
        { "all selected", u"abc", 3, 0, { true, true, true, true, false } },
    };
    for (const Case& c : cases) {
        field->set_text(c.text);
        field->set_selection(c.anchor, c.caret);
        const skinner::MenuEntry menu = field->context_menu();
        std::vector<bool> enabled;
        for (const auto& entry : menu.children)
            enabled.push_back(entry.enabled);
        EXPECT_EQ(enabled, c.enabled) << c.what;
    }
    const skinner::MenuEntry menu = field->context_menu();
    std::vector<std::u16string> ids, texts;
    for (const auto& entry : menu.children) {
        ids.push_back(entry.id);
        texts.push_back(entry.text);
    }
    EXPECT_THAT(
        ids, ::testing::ElementsAre(u"menuCut", u"menuCopy", u"menuPaste", u"menuDelete", u"menuSelectAll"));
    EXPECT_THAT(texts, ::testing::ElementsAre(u"Cut", u"Copy", u"Paste", u"Delete", u"Select All"));
    EXPECT_TRUE(menu.children[3].separator_after);

    ControlEdit fixed(*form, u"Fixed");
    fixed.set_selection(0, 5);
    std::vector<bool> enabled;
    for (const auto& entry : fixed.context_menu().children)
        enabled.push_back(entry.enabled);
    EXPECT_EQ(enabled, (std::vector<bool> { false, true, false, false, true }));
}

TEST_F(EditTest, TapAndHoldShowsTheMenuAndRunsTheChoice)
{
    ORVANTA_POCKET_PC_ONLY();
    field->set_text(u"abc def");
    field->set_selection(2, 2);
    // Up from nothing highlights the last entry, "Select All".
    const platform::Point p = at({ 30, 20 });
    screen->hold_down(p).hold_up(p, 600).key(platform::vk::up, 100).key(platform::vk::enter, 10);
    run();
    EXPECT_EQ(field->anchor(), 0);
    EXPECT_EQ(field->caret(), 7);

    // Down, Down, Down, Down is "Delete" (the first four entries are all usable now).
    screen->key(platform::vk::down, 100)
        .key(platform::vk::down, 10)
        .key(platform::vk::down, 10)
        .key(platform::vk::down, 10)
        .key(platform::vk::enter, 10);
    press(platform::vk::apps);
    EXPECT_EQ(field->get_text(), u"");

    // Dismissed, nothing happens.
    field->set_text(u"stay");
    screen->hold_down(p).hold_up(p, 600).key(platform::vk::escape, 100);
    run();
    EXPECT_EQ(field->get_text(), u"stay");
    EXPECT_FALSE(screen->stalled());
}

TEST_F(EditTest, SetTextReportsOnlyAChange)
{
    field->set_text(u"same");
    EXPECT_EQ(events.changes, 1);
    EXPECT_EQ(field->caret(), 4);
    EXPECT_EQ(field->anchor(), 4);
    field->set_text(u"same");
    EXPECT_EQ(events.changes, 1);
    field->set_selection(-5, 99);
    EXPECT_EQ(field->anchor(), 0);
    EXPECT_EQ(field->caret(), 4);
}

TEST_F(EditTest, LongTextScrollsToKeepTheCaretVisible)
{
    ORVANTA_POCKET_PC_ONLY();
    field->set_text(u"a rather long text that cannot fit in the field");
    run();
    // The caret at the end: the text's end lies at the client's right edge.
    EXPECT_LT(field->text_offset(), 0);
    const std::int32_t client_right = 10 + 100;
    EXPECT_LE(x_of(*field, field->caret()), client_right - 1);
    EXPECT_GT(x_of(*field, field->caret()), client_right - 10);

    press(home);
    EXPECT_EQ(field->text_offset(), 0);
    // Past the right edge scrolls left again, one caret step at a time.
    press(end);
    const std::int32_t scrolled = field->text_offset();
    press(left);
    EXPECT_EQ(field->text_offset(), scrolled);
    // Deleting the text brings it back to the left edge.
    field->set_text(u"short");
    run();
    EXPECT_EQ(field->text_offset(), 0);
}

TEST_F(EditTest, PaintShowsTheSelectionAndABlinkingCaret)
{
    ORVANTA_POCKET_PC_ONLY();
    field->set_text(u"abcdef");
    field->set_selection(1, 3);
    run();
    // The selection's box spans the selected characters and the caret after them.
    EXPECT_EQ(pixel_at(*form, { x_of(*field, 1) + 1, 12 }), marker);
    EXPECT_EQ(pixel_at(*form, { x_of(*field, 3), 12 }), marker);
    EXPECT_EQ(pixel_at(*form, { x_of(*field, 3) + 2, 12 }), focused_paper);
    EXPECT_EQ(pixel_at(*form, { x_of(*field, 1) - 1, 12 }), focused_paper);
    EXPECT_TRUE(field->caret_visible());

    // Half a blink period later the caret is hidden; the selection stays.
    field->set_selection(4, 4);
    screen->pause(
        std::uint32_t(1000 * ControlEdit::blink_seconds * ControlEdit::default_blink_period / 2) + 10);
    run();
    EXPECT_FALSE(field->caret_visible());
    EXPECT_EQ(pixel_at(*form, { x_of(*field, 4), 12 }), focused_paper);
    screen->pause(std::uint32_t(1000 * ControlEdit::blink_seconds * ControlEdit::default_blink_period / 2));
    run();
    EXPECT_TRUE(field->caret_visible());
    EXPECT_EQ(pixel_at(*form, { x_of(*field, 4), 12 }), marker);

    // Without the focus there is no caret and the normal picture shows.
    ControlEdit other(*form, u"Secret");
    EXPECT_EQ(other.timer_id(), 0u) << "no caret to blink, no timer";
    EXPECT_NE(field->timer_id(), 0u);
    other.take_focus();
    run();
    EXPECT_FALSE(field->caret_visible());
    EXPECT_EQ(pixel_at(*form, { x_of(*field, 4), 12 }), paper);
    EXPECT_EQ(field->timer_id(), 0u);
    EXPECT_NE(other.timer_id(), 0u);
}

TEST_F(EditTest, FocusRaisesTheInputPanelUnlessReadOnly)
{
    ORVANTA_POCKET_PC_ONLY();
    EXPECT_TRUE(platform::input_panel_preference());
    ControlEdit fixed(*form, u"Fixed");
    fixed.take_focus();
    EXPECT_FALSE(platform::input_panel_preference());
    field->take_focus();
    EXPECT_TRUE(platform::input_panel_preference());
}

TEST_F(EditTest, TheDrawnImplementationTakesNothingOver)
{
    ORVANTA_POCKET_PC_ONLY();
    skinner::ControlEditImpl& impl = field->impl();
    EXPECT_TRUE(impl.drawn());
    EXPECT_FALSE(impl.on_form_activate());
    EXPECT_FALSE(field->on_form_activate());
    impl.set_text(u"ignored");
    impl.set_selection(0, 3);
    impl.set_readonly(true);
    impl.set_visible(false);
    EXPECT_EQ(field->get_text(), u"");
    EXPECT_FALSE(field->read_only());
    EXPECT_TRUE(field->is_visible());

    // What a native part reports is taken once per change, the selection kept inside it.
    field->set_text(u"longer text");
    events.changes = 0;
    field->take_text_from_impl(u"short");
    field->take_text_from_impl(u"short");
    EXPECT_EQ(field->get_text(), u"short");
    EXPECT_EQ(field->caret(), 5);
    EXPECT_EQ(events.changes, 1);

    // A reload makes a new one and keeps the text.
    field->set_text(u"kept");
    field->load();
    EXPECT_NE(&field->impl(), &impl);
    EXPECT_EQ(field->get_text(), u"kept");
}

TEST_F(EditTest, AnySequenceOfEditsKeepsTheSelectionInsideTheText)
{
    // A fixed pseudo-random mix of keys, typing, pasting and selections.
    std::uint32_t seed = 12345;
    const auto next = [&seed](std::uint32_t n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % n;
    };
    const std::uint32_t keys[] = { left, right, home, end, back, del, insert, 'C', 'V', 'X' };
    const std::u16string pieces[] = { u"a", u"word ", u"  ", u"\U0001D11E", u"long text here" };
    put_on_clipboard(u"clip");
    for (int step = 0; step < 1500; ++step) {
        switch (next(5)) {
        case 0:
        case 1: {
            const bool ctrl = next(2) == 0, shift = next(2) == 0;
            if (ctrl)
                platform::key_down(platform::vk::control);
            if (shift)
                platform::key_down(platform::vk::shift);
            field->on_keydown(skinner::map_key(keys[next(std::size(keys))]));
            if (shift)
                platform::key_up(platform::vk::shift);
            if (ctrl)
                platform::key_up(platform::vk::control);
            break;
        }
        case 2:
            field->on_text_input(pieces[next(std::size(pieces))]);
            break;
        case 3:
            field->set_selection(std::int32_t(next(40)) - 5, std::int32_t(next(40)) - 5);
            break;
        default:
            field->run_menu_command(next(2) ? u"menuSelectAll" : u"menuDelete");
            break;
        }
        const auto length = std::int32_t(field->get_text().size());
        ASSERT_GE(field->anchor(), 0) << step;
        ASSERT_GE(field->caret(), 0) << step;
        ASSERT_LE(field->anchor(), length) << step;
        ASSERT_LE(field->caret(), length) << step;
        if (step % 100 == 0)
            run();
    }
}

namespace {

// The Smartphone types into the shell's own edit window over the field.
TEST_F(EditTest, TheSmartphoneTypesInTheShellsEditWindow)
{
    ORVANTA_SMARTPHONE_ONLY();
    auto* native = dynamic_cast<skinner::ControlEditNativeImpl*>(&field->impl());
    ASSERT_NE(native, nullptr);
    EXPECT_FALSE(native->drawn());
    const platform::Window window = native->edit_window();
    EXPECT_EQ(platform::window_class_name(window), u"EDIT");
    EXPECT_EQ(platform::focus_window(), window) << "the focused field hands its window the focus";
    EXPECT_EQ(platform::window_rect(window),
        platform::Rect::from(platform::client_to_screen(form->window().handle(), { 10, 10 }), { 100, 20 }));
    EXPECT_EQ(platform::send_message(window, platform::em::get_input_mode), platform::LResult(platform::im::text));

    // Each change typed there becomes the field's text once; keys also reach the form.
    events.changes = 0;
    screen->key('A').key('B').key(platform::vk::left).key(platform::vk::back);
    run();
    EXPECT_EQ(field->get_text(), u"b");
    EXPECT_EQ(events.changes, 3);
    // The caret stays where the user types.
    EXPECT_EQ(platform::edit_selection(window).start, 0u);
    // The field's own text goes to the window; the same text again tells nobody.
    field->set_text(u"set");
    EXPECT_EQ(platform::window_text(window), u"set");
    const int changes = events.changes;
    field->set_text(u"set");
    run();
    EXPECT_EQ(events.changes, changes);
    field->set_visible(false);
    EXPECT_FALSE(platform::is_window_visible(window));
}

}
