#include "app/panels/PanelEqualizer.h"
#include "app/panels/PanelLevels.h"
#include "app/panels/PanelMoreControls.h"
#include "tests/app/panels/PanelScreen.h"
#include "tests/support/Screenshot.h"

namespace {

// The panels on a screen on its side, whose skin records are the "_landscape" ones.
class LandscapePanels : public test::PanelScreen, public ::testing::WithParamInterface<int> {
protected:
    LandscapePanels()
        : PanelScreen(GetParam() == 2 ? platform::ScreenMode { { 640, 480 }, 192 }
                                      : platform::ScreenMode { { 320, 240 }, 96 },
            test::program_file("skins/Default/Default.skin"))
    {
    }
};

TEST_P(LandscapePanels, EachPanelFindsItsControls)
{
    open();
    document->get_settings().equalizer = { EqualizerBand(100, 8, 0.4, true),
        EqualizerBand(1000, -12, 1.2, true), EqualizerBand(6000, 4, 2, false) };
    const std::string scale = "-x" + std::to_string(GetParam());
    {
        PanelEqualizer panel(*host, u"PanelEqualizer");
        run();
        EXPECT_TRUE(test::matches_screenshot(screen->shown(), "app-equalizer-landscape" + scale));
    }
    {
        PanelLevels panel(*host, u"PanelLevels");
        document->notify(Document::Changes { true, true, true, true });
        run();
        EXPECT_TRUE(test::matches_screenshot(screen->shown(), "app-levels-landscape" + scale));
    }
    {
        PanelMoreControls panel(*host, u"PanelMoreControls");
        document->notify(Document::Changes { true, true, true, true });
        run();
        EXPECT_TRUE(test::matches_screenshot(screen->shown(), "app-more-controls-landscape" + scale));
    }
}

INSTANTIATE_TEST_SUITE_P(Scales, LandscapePanels, ::testing::Values(1, 2));

}
