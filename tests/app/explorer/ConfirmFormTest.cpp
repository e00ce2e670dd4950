#include "app/explorer/ConfirmForm.h"
#include "platform/core/MessageQueue.h"
#include "tests/dialogs/DialogScreen.h"
#include "tests/skinner/EditionOnly.h"
#include "tests/support/Screenshot.h"

#include <cstdint>

namespace {

using test::DialogScreen;

class MessageForms : public DialogScreen {
};

struct AnswerCase {
    const char16_t* form;
    const char16_t* button;
    std::int32_t answer;
};

class ConfirmAnswers : public MessageForms, public ::testing::WithParamInterface<AnswerCase> {
};

TEST_P(ConfirmAnswers, EachButtonAnswersItsNumber)
{
    ORVANTA_POCKET_PC_ONLY();
    const AnswerCase& c = GetParam();
    ConfirmForm form(nullptr, settings, c.form);
    form.set_texts(u"Overwrite", u"Replace the file?");
    run();
    tap(form, c.button);
    EXPECT_EQ(form.ask(), c.answer);
    EXPECT_FALSE(screen->stalled());
}

INSTANTIATE_TEST_SUITE_P(Buttons, ConfirmAnswers,
    ::testing::Values(AnswerCase { u"ConfirmYesNo", u"btnYes", 0 }, AnswerCase { u"ConfirmYesNo", u"btnNo", 1 },
        AnswerCase { u"Confirm5Way", u"btnYes", 0 }, AnswerCase { u"Confirm5Way", u"btnNo", 1 },
        AnswerCase { u"Confirm5Way", u"btnYesAll", 2 }, AnswerCase { u"Confirm5Way", u"btnNoAll", 3 },
        AnswerCase { u"Confirm5Way", u"btnCancel", 4 }));

TEST_F(MessageForms, ConfirmFormClosedByItsWindowAnswersNo)
{
    ConfirmForm form(nullptr, settings, u"Confirm5Way");
    run();
    screen->call([&] { platform::post_message(form.window().handle(), platform::msg::close, 0, 0); });
    EXPECT_EQ(form.ask(), ConfirmForm::answer_no);
    EXPECT_FALSE(screen->stalled());
}

TEST_F(MessageForms, ConfirmFormLooks)
{
    ORVANTA_POCKET_PC_ONLY();
    ConfirmForm form(nullptr, settings, u"Confirm5Way");
    form.set_texts(u"Overwrite", u"The file exists. Replace it?");
    run();
    EXPECT_TRUE(test::matches_screenshot(screen->shown(), "dialogs-confirm5way"));
}

}
