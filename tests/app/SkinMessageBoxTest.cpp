#include "app/SkinMessageBox.h"
#include "dialogs/ErrorForm.h"
#include "skinner/widgets/text/ControlFrame.h"
#include "tests/app/AppScreen.h"
#include "tests/skinner/EditionOnly.h"

#include <thread>

namespace {

class SkinMessageBoxTest : public test::AppScreen {
protected:
    platform::ScopedService<platform::MessageBox, SkinMessageBox> skin_box { platform::message_box_slot() };
};

std::u16string frame_text(skinner::Form& form, std::u16string_view id)
{
    auto* frame = dynamic_cast<skinner::ControlFrame*>(form.get_control(id));
    return frame ? frame->text() : u"<no frame>";
}

TEST_F(SkinMessageBoxTest, ShowsTheErrorFormUntilItsOkIsTapped)
{
    ORVANTA_POCKET_PC_ONLY();
    std::u16string caption, message;
    screen->call(
        [&] {
            auto* form = dynamic_cast<ErrorForm*>(skinner::Form::current_modal());
            ASSERT_NE(form, nullptr) << "the box is the settings skin's error form";
            EXPECT_TRUE(form->is_window_visible());
            caption = frame_text(*form, u"frmCaption");
            message = frame_text(*form, u"frmMessage");
            const skinner::Control* ok = form->get_control(u"btnOk");
            ASSERT_NE(ok, nullptr);
            screen->tap(platform::client_to_screen(form->window().handle(),
                { ok->position().x + ok->size().width / 2, ok->position().y + ok->size().height / 2 }));
        },
        100);
    platform::message_box(u"tone.wav cannot be played.", u"Playback");
    EXPECT_EQ(caption, u"Playback");
    EXPECT_EQ(message, u"tone.wav cannot be played.");
    EXPECT_EQ(skinner::Form::current_modal(), nullptr) << "OK ended the box's loop";
    EXPECT_FALSE(screen->stalled());
}

TEST_F(SkinMessageBoxTest, FromAnotherThreadOnlyWritesTheText)
{
    std::thread worker([] { platform::message_box(u"from a worker", u"Worker"); });
    worker.join();
    EXPECT_TRUE(skinner::Form::forms().empty());
}

}
