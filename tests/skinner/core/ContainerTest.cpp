#include "tests/skinner/FormScreen.h"

#include "platform/ui/Input.h"
#include "skinner/core/KeyCode.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using skinner::Container;
using skinner::ControlMode;
using skinner::Form;
using skinner::Point;
using skinner::Size;
using test::ProbeControl;

namespace {

class ContainerTest : public test::FormScreen {
protected:
    Form form { nullptr, properties, u"Board" };
};

struct AnchorCase {
    const char16_t* control;
    Point position;
    Size size;
};

// Reference 100 x 100; the container at (5, 5) grows to 200 x 150. Each
// control's skin place is (10, 20) 30 x 40.
TEST_F(ContainerTest, LaysChildrenOutByTheirAnchors)
{
    Container inner { form, properties, u"Anchors", ControlMode::named, nullptr };
    const AnchorCase cases[] {
        { u"Min", { 15, 25 }, { 30, 40 } },
        { u"Both", { 15, 25 }, { 130, 90 } },
        { u"Max", { 115, 75 }, { 30, 40 } },
        { u"Ratio", { 25, 35 }, { 60, 60 } },
        { u"Center", { 40, 45 }, { 30, 40 } },
    };
    std::vector<std::unique_ptr<ProbeControl>> controls;
    for (const AnchorCase& c : cases)
        controls.push_back(std::make_unique<ProbeControl>(inner, c.control));
    inner.set_rect({ 5, 5 }, { 200, 150 });
    for (std::size_t i = 0; i < controls.size(); ++i) {
        SCOPED_TRACE(test::narrow(cases[i].control));
        EXPECT_EQ(controls[i]->position(), cases[i].position);
        EXPECT_EQ(controls[i]->size(), cases[i].size);
    }
}

TEST_F(ContainerTest, ZeroReferenceKeepsScaledChildrenAtTheirSkinPlace)
{
    Container inner { form, properties, u"Unsized", ControlMode::named, nullptr };
    EXPECT_EQ(inner.reference_size(), Size {});
    ProbeControl ratio { inner, u"Ratio" };
    ProbeControl center { inner, u"Center" };
    inner.set_rect({ 5, 5 }, { 200, 150 });
    for (const ProbeControl* c : { &ratio, &center }) {
        EXPECT_EQ(c->position(), (Point { 15, 25 }));
        EXPECT_EQ(c->size(), (Size { 30, 40 }));
    }
}

TEST_F(ContainerTest, AnchorNameMustBeSpelledExactly)
{
    ProbeControl blank { form, u"Blank" };
    EXPECT_EQ(blank.anchor_x(), skinner::Anchor::min_side);
    EXPECT_EQ(skinner::anchor_from_name(u"RATIO"), skinner::Anchor::ratio);
    EXPECT_EQ(skinner::anchor_from_name(u"ratio"), skinner::Anchor::min_side);
}

TEST_F(ContainerTest, ControlWithoutGeometryIsNeverHitNorPainted)
{
    ProbeControl nowhere { form, u"Nowhere" };
    run();
    form.on_pen_down(Container::button_pen, { 0, 0 }, 0);
    form.on_pen_up(Container::button_pen, { 0, 0 }, 0);
    EXPECT_EQ(nowhere.paints, 0);
    EXPECT_TRUE(nowhere.events.empty());
    EXPECT_FALSE(form.hit_child({ 0, 0 }));
}

TEST_F(ContainerTest, EqualZOrderPutsTheNewerBelow)
{
    ProbeControl first { form, u"Twin1" };
    ProbeControl second { form, u"Twin2" };
    EXPECT_THAT(form.children(), ElementsAre(&second, &first));
    form.on_pen_down(Container::button_pen, { 170, 60 }, 0);
    EXPECT_EQ(form.captured(), &first);
}

TEST_F(ContainerTest, DuplicateIdEndsTheProgram)
{
    ProbeControl a { form, u"A" };
    EXPECT_EXIT(ProbeControl(form, u"A"), ::testing::ExitedWithCode(70), "already exists in container");
}

TEST_F(ContainerTest, CaptureLastsUntilTheLastButtonIsReleased)
{
    ProbeControl a { form, u"A" };
    form.on_pen_down(Container::button_pen, { 20, 20 }, 0);
    form.on_pen_down(Container::button_alt, { 200, 200 }, 0);
    form.on_pen_up(Container::button_pen, { 21, 20 }, 0);
    EXPECT_EQ(form.captured(), &a);
    form.on_pen_up(Container::button_alt, { 22, 20 }, 0);
    EXPECT_EQ(form.captured(), nullptr);
    EXPECT_THAT(a.events,
        ElementsAre("enter", "down 20,20 0", "alt-down 200,200 0", "up 21,20 0", "alt-up 22,20 0"));
}

TEST_F(ContainerTest, DisablingWhileCapturedReleasesEveryButtonAtTheLastPoint)
{
    ProbeControl a { form, u"A" };
    form.on_pen_down(Container::button_pen, { 20, 20 }, 0);
    form.on_pen_move({ 25, 30 });
    a.clear();
    form.set_enabled(false);
    EXPECT_THAT(a.events, ElementsAre("leave", "up 25,30 0", "alt-up 25,30 0", "hold-up 25,30 0", "disabled"));
    EXPECT_EQ(form.captured(), nullptr);
}

TEST_F(ContainerTest, PressOnDisabledChildPressesNothing)
{
    ProbeControl a { form, u"A" };
    a.set_enabled(false);
    a.clear();
    form.on_pen_down(Container::button_pen, { 20, 20 }, 0);
    EXPECT_EQ(form.captured(), nullptr);
    EXPECT_TRUE(a.events.empty());
}

TEST_F(ContainerTest, HoverFollowsThePen)
{
    ProbeControl a { form, u"A" };
    ProbeControl b { form, u"B" };
    form.on_pen_move({ 20, 20 });
    form.on_pen_move({ 70, 20 });
    form.on_pen_move({ 5, 5 });
    EXPECT_THAT(a.events, ElementsAre("enter", "move 20,20 0", "leave"));
    EXPECT_THAT(b.events, ElementsAre("enter", "move 70,20 0", "leave"));
    EXPECT_EQ(form.hover(), nullptr);
    // B's skin asks for the hand; the others have the arrow.
    EXPECT_THAT(screen->cursors(), ElementsAre(platform::CursorShape::hand, platform::CursorShape::arrow));
}

// A control with a container of its own, as a panel has: it lays its
// container over itself and passes the pen on.
class NestingControl : public skinner::Control {
public:
    NestingControl(Container& outer, std::u16string_view name, std::u16string_view inner_form)
        : Control(outer, name)
        , inner(outer.form(), outer.properties(), inner_form, ControlMode::named, this)
    {
        inner.set_rect(position(), size());
    }

    void set_rect(Point position, Size size) override
    {
        Control::set_rect(position, size);
        inner.set_rect(position, size);
    }
    void on_pen_down(Point p, std::int32_t argument) override { inner.on_pen_down(Container::button_pen, p, argument); }
    void on_pen_up(Point p, std::int32_t argument) override { inner.on_pen_up(Container::button_pen, p, argument); }
    void paint(skinner::Canvas& canvas, Point area_position, Size area_size) override
    {
        inner.paint(canvas, area_position, area_size);
    }
    Container* get_container() override { return &inner; }

    Container inner;
};

class ClickRecorder : public skinner::Listener {
public:
    bool on_click(skinner::Control& sender) override
    {
        senders.push_back(&sender);
        return true;
    }
    std::vector<skinner::Control*> senders;
};

class ClickingProbe : public ProbeControl {
public:
    using ProbeControl::ProbeControl;
    void on_pen_up(Point p, std::int32_t argument) override
    {
        ProbeControl::on_pen_up(p, argument);
        on_click(*this);
    }
};

TEST_F(ContainerTest, NestedContainersRouteThePenInFormCoordinatesAndEventsClimb)
{
    ClickRecorder recorder;
    Form board { nullptr, properties, u"Board", &recorder };
    NestingControl panel { board, u"Panel", u"Inner" };
    ClickingProbe deep { panel.inner, u"Deep", { 0, 150, 0, 0 } };
    // The inner form's (20, 20) lies at the panel's (60, 50) plus that.
    EXPECT_EQ(deep.position(), (Point { 80, 70 }));
    run();
    EXPECT_EQ(pixel_at(board, { 80, 70 }), platform::rgb(0, 150, 0));
    screen->tap(on_screen(board, { 85, 75 }));
    run();
    EXPECT_THAT(deep.events, ElementsAre("enter", "down 85,75 0", "up 85,75 0"));
    EXPECT_THAT(recorder.senders, ElementsAre(&deep));
}

// Focus

class FocusTest : public ContainerTest {
protected:
    ProbeControl a { form, u"A" };
    ProbeControl b { form, u"B" };
    ProbeControl c { form, u"C" };

    void SetUp() override { form.set_active(true); }
};

TEST_F(FocusTest, FirstControlMadeTakesTheFreeFocusAndTabWalksTheTabOrder)
{
    EXPECT_TRUE(a.has_focus());
    EXPECT_TRUE(form.on_keydown(skinner::key::tab));
    EXPECT_TRUE(c.has_focus());
    // Wrapping moves the focus but does not count as handled.
    EXPECT_FALSE(form.on_keydown(skinner::key::tab));
    EXPECT_TRUE(b.has_focus());
    EXPECT_TRUE(form.on_keydown(skinner::key::tab));
    EXPECT_TRUE(a.has_focus());
    EXPECT_TRUE(form.focus_next(false));
    EXPECT_TRUE(b.has_focus());
    EXPECT_FALSE(form.focus_next(false));
    EXPECT_TRUE(c.has_focus());
}

TEST_F(FocusTest, FocusChangesAreAnnounced)
{
    a.clear();
    b.clear();
    b.take_focus();
    EXPECT_THAT(a.events, ElementsAre("focus-"));
    EXPECT_THAT(b.events, ElementsAre("focus+"));
    form.set_active(false);
    EXPECT_THAT(b.events, ElementsAre("focus+", "focus-"));
    EXPECT_EQ(form.focused(), &b);
    EXPECT_FALSE(b.has_focus());
}

TEST_F(FocusTest, HidingTheFocusedControlMovesTheFocusOn)
{
    a.set_visible(false);
    EXPECT_TRUE(b.has_focus());
    b.set_enabled(false);
    EXPECT_TRUE(c.has_focus());
    c.set_want_focus(false);
    EXPECT_EQ(form.focused(), nullptr);
    // A control shown while nobody has the focus takes it.
    a.set_visible(true);
    EXPECT_TRUE(a.has_focus());
}

TEST_F(FocusTest, TabWithOneFocusableControlStaysAndIsNotHandled)
{
    a.set_visible(false);
    c.set_visible(false);
    EXPECT_TRUE(b.has_focus());
    EXPECT_FALSE(form.on_keydown(skinner::key::tab));
    EXPECT_TRUE(b.has_focus());
}

TEST_F(FocusTest, KeysAndTextGoToTheFocusedControl)
{
    b.take_focus();
    b.clear();
    b.takes_keys = true;
    EXPECT_TRUE(form.on_keydown(skinner::key::tab));
    EXPECT_TRUE(form.on_text_input(u"x"));
    EXPECT_TRUE(form.on_keyup(skinner::key::left));
    EXPECT_THAT(b.events, ElementsAre("key 18", "text x", "keyup 4"));
    EXPECT_TRUE(b.has_focus());
}

TEST_F(FocusTest, PressTakesTheFocus)
{
    form.on_pen_down(Container::button_pen, { 120, 20 }, 0);
    EXPECT_TRUE(c.has_focus());
}

}
