#include "skinner/widgets/pictures/ControlPicture.h"

#include "tests/skinner/ControlScreen.h"
#include "tests/skinner/EditionOnly.h"

namespace {

using skinner::ControlPicture;
using skinner::Form;

constexpr platform::ColorRef ink_color = platform::rgb(200, 30, 60), back = platform::rgb(0, 255, 255);

class ClickListener : public skinner::Listener {
public:
    bool on_click(skinner::Control& sender) override
    {
        clicked.push_back(&sender);
        return true;
    }

    std::vector<skinner::Control*> clicked;
};

// A 200 x 100 and a 50 x 50 picture in 100 x 100 controls.
class PictureControlTest : public test::ControlScreen {
protected:
    void SetUp() override
    {
        make_picture(
            "wide.png", std::vector<std::string>(100, std::string(200, 'i')), { { 'i', ink_color } });
        make_picture("small.png", std::vector<std::string>(50, std::string(50, 'i')), { { 'i', ink_color } });
        load_skin(R"(
            <picture name="wide"/><picture name="small"/>
            <form name="Board">
              <point name="Size" x="240" y="240"/>
              <int name="StartPosition" value="4"/>
              <template control="Logo" type="Auto.Picture"/>
              <control name="Logo">
                <point name="Position" x="120" y="120"/><point name="Size" x="100" y="100"/>
                <picture name="Picture" image="small" source="0 0 50 50"/>
              </control>
              <control name="Wide">
                <point name="Position" x="10" y="10"/><point name="Size" x="100" y="100"/>
                <picture name="Picture" image="wide" source="0 0 200 100"/>
              </control>
              <control name="Corner">
                <point name="Position" x="120" y="10"/><point name="Size" x="100" y="100"/>
                <string name="PictureHAlignment" value="RIGHT"/><string name="PictureVAlignment" value="BOTTOM"/>
                <picture name="Picture" image="small" source="0 0 50 50"/>
              </control>
              <control name="Empty">
                <point name="Position" x="10" y="120"/><point name="Size" x="100" y="100"/>
                <string name="PictureHAlignment" value="middle"/>
              </control>
            </form>)");
    }

    ClickListener listener;
};

TEST_F(PictureControlTest, ShrunkToFitAndPlacedByItsAlignments)
{
    Form form(nullptr, *properties, u"Board", &listener);
    ControlPicture wide(form, u"Wide");
    ControlPicture corner(form, u"Corner");
    ControlPicture empty(form, u"Empty");
    run();
    // Halved to 100 x 50 and centred: from y + 25.
    EXPECT_EQ(ink(form, { 10, 10 }, { 100, 100 }, back), (platform::Rect { 10, 35, 110, 85 }));
    // Unscaled in the bottom-right corner.
    EXPECT_EQ(ink(form, { 120, 10 }, { 100, 100 }, back), (platform::Rect { 170, 60, 220, 110 }));
    EXPECT_TRUE(ink(form, { 10, 120 }, { 100, 100 }, back).empty());
    EXPECT_EQ(empty.picture_h_alignment(), 1);
    EXPECT_FALSE(wide.wants_focus());
    // Another picture in its place.
    empty.set_picture(corner.picture());
    run();
    EXPECT_EQ(ink(form, { 10, 120 }, { 100, 100 }, back), (platform::Rect { 35, 145, 85, 195 }));
}

TEST_F(PictureControlTest, AFormMakesOneForItsTemplate)
{
    Form form(nullptr, *properties, u"Board", &listener);
    run();
    const auto* logo = dynamic_cast<const ControlPicture*>(form.get_control(u"Logo"));
    ASSERT_NE(logo, nullptr);
    EXPECT_EQ(ink(form, { 120, 120 }, { 100, 100 }, back), (platform::Rect { 145, 145, 195, 195 }));
}

TEST_F(PictureControlTest, ATapClicksLikeAButton)
{
    ORVANTA_POCKET_PC_ONLY();
    Form form(nullptr, *properties, u"Board", &listener);
    ControlPicture wide(form, u"Wide");
    form.on_pen_down(skinner::Container::button_pen, { 50, 50 }, 0);
    form.on_pen_up(skinner::Container::button_pen, { 50, 50 }, 0);
    ASSERT_EQ(listener.clicked.size(), 1u);
    EXPECT_EQ(listener.clicked.front(), &wide);
}

}
