#include "audio/devices/ActiveBuffer.h"
#include "dialogs/CompleteForm.h"
#include "dialogs/CompletionDrain.h"
#include "dialogs/ErrorForm.h"
#include "platform/core/MessageQueue.h"
#include "tests/dialogs/DialogScreen.h"
#include "tests/support/Screenshot.h"
#include "tests/skinner/EditionOnly.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

using test::DialogScreen;

class MessageForms : public DialogScreen {
};

TEST_F(MessageForms, ErrorFormShowsItsTextsAndClosesWithOk)
{
    ORVANTA_POCKET_PC_ONLY();
    ErrorForm form(nullptr, settings);
    form.set_texts(u"Recording", u"The recording could not be started.");
    run();
    EXPECT_TRUE(test::matches_screenshot(screen->shown(), "dialogs-error"));
    tap(form, u"btnOk");
    form.do_modal();
    EXPECT_FALSE(screen->stalled()) << "the OK button ends the loop";
}

TEST_F(MessageForms, ErrorFormWithEmptyCaptionShowsTheMessage)
{
    ErrorForm form(nullptr, settings);
    form.set_texts(u"", u"message");
    auto* caption = dynamic_cast<skinner::ControlFrame*>(form.get_control(u"frmCaption"));
    auto* message = dynamic_cast<skinner::ControlFrame*>(form.get_control(u"frmMessage"));
    ASSERT_NE(caption, nullptr);
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(caption->text(), u"");
    EXPECT_EQ(message->text(), u"message");
}

class ErrorLooks : public DialogScreen, public ::testing::WithParamInterface<int> {
protected:
    ErrorLooks()
        : DialogScreen(GetParam() == 2 ? platform::ScreenMode { { 480, 640 }, 192 } : platform::ScreenMode {})
    {
    }
};

// A path longer than a line wraps, so the file's name at its end shows.
TEST_P(ErrorLooks, ALongPathWrapsAndKeepsTheFilesName)
{
    ORVANTA_POCKET_PC_ONLY();
    ErrorForm form(nullptr, settings);
    form.set_texts(u"Playback",
        u"/home/somebody/Documents/Recordings/Edge/garbage-from-the-long-meeting.mp3 cannot be played.");
    run();
    auto* message = dynamic_cast<skinner::ControlFrame*>(form.get_control(u"frmMessage"));
    ASSERT_NE(message, nullptr);
    std::u16string joined;
    for (const std::u16string& line : message->lines()) {
        EXPECT_LE(skinner::Control::measure_text(message->font(), line).width, message->size().width)
            << platform::to_utf8(line);
        joined += line;
    }
    EXPECT_NE(joined.find(u"Edge/garbage-from-the-long-meeting.mp3cannot"), std::u16string::npos)
        << platform::to_utf8(joined);
    EXPECT_TRUE(test::matches_screenshot(screen->shown(), "dialogs-error-path-x" + std::to_string(GetParam())));
}

INSTANTIATE_TEST_SUITE_P(Scales, ErrorLooks, ::testing::Values(1, 2));

// A writer that takes chunks only while the test lets it.
class GatedSink : public audio::Consumer<audio::PCMData> {
public:
    void on_data(const audio::PCMData&) override
    {
        std::unique_lock lock(m_lock);
        m_open.wait(lock, [&] { return m_passing > 0 || m_released; });
        if (m_passing > 0)
            --m_passing;
    }

    // Lets the next chunks through, one by one.
    void pass(int chunks)
    {
        std::lock_guard lock(m_lock);
        m_passing += chunks;
        m_open.notify_all();
    }

    void release()
    {
        std::lock_guard lock(m_lock);
        m_released = true;
        m_open.notify_all();
    }

private:
    std::mutex m_lock;
    std::condition_variable m_open;
    int m_passing = 0;
    bool m_released = false;
};

class Completion : public MessageForms {
protected:
    Completion() { audio::connect<audio::PCMData>(&buffer, &sink); }
    ~Completion() override
    {
        sink.release();
        audio::connect<audio::PCMData>(&buffer, nullptr);
    }

    // The writer runs on its own thread in real time, the form on the fake
    // clock: the script waits until the writer has taken the chunks.
    void pass_and_wait(int chunks, int left)
    {
        sink.pass(chunks);
        for (int i = 0; i < 500 && buffer.get_queued_chunks() > left; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }

    void queue(int chunks)
    {
        for (int i = 0; i < chunks; ++i)
            buffer.on_data(audio::PCMData(liba::SharedBuffer(200), 1, 16, 8000));
    }

    skinner::Form owner { nullptr, settings, u"Error" };
    GatedSink sink;
    audio::ActiveBuffer buffer;
};

TEST_F(Completion, AnEmptyBufferClosesOnTheFirstTick)
{
    CompleteForm form(&owner, settings, buffer);
    const std::uint32_t start = platform::tick_count();
    form.do_modal();
    EXPECT_FALSE(screen->stalled());
    EXPECT_TRUE(form.drained());
    EXPECT_LE(platform::tick_count() - start, 200u);
}

TEST_F(Completion, ShowsTheDrainAndClosesWhenEmpty)
{
    queue(4);
    CompleteForm form(&owner, settings, buffer);
    auto* progress = dynamic_cast<skinner::ControlProgress*>(form.get_control(u"pbProgress"));
    ASSERT_NE(progress, nullptr);
    screen->call([&] { pass_and_wait(2, 2); }, 50);
    screen->call([&] {
        EXPECT_NEAR(progress->value(), 0.5, 0.26) << "two of four written, one maybe in flight";
        sink.pass(2);
    }, 500);
    form.do_modal();
    EXPECT_FALSE(screen->stalled());
    EXPECT_TRUE(form.drained());
    EXPECT_EQ(buffer.get_queued_chunks(), 0);
}

TEST_F(Completion, AStalledWriterEndsTheWaitAfterTheTimeout)
{
    queue(3);
    CompleteForm form(&owner, settings, buffer);
    const std::uint32_t start = platform::tick_count();
    form.do_modal();
    const std::uint32_t waited = platform::tick_count() - start;
    EXPECT_FALSE(screen->stalled());
    EXPECT_FALSE(form.drained());
    EXPECT_GE(waited, CompleteForm::stall_timeout_ms);
    EXPECT_LE(waited, CompleteForm::stall_timeout_ms + 500);
}

TEST_F(Completion, ProgressPutsTheTimeoutOff)
{
    queue(3);
    CompleteForm form(&owner, settings, buffer);
    screen->call([&] { pass_and_wait(1, 2); }, 8000);
    screen->call([&] { pass_and_wait(1, 1); }, 8000);
    form.do_modal();
    EXPECT_FALSE(form.drained());
    EXPECT_GE(platform::tick_count() - 10000, 16000u + CompleteForm::stall_timeout_ms - 200);
}

TEST_F(Completion, TheDrainReportsAStalledWriter)
{
    queue(2);
    CompletionDrain drain(settings);
    // The error form comes up after the completion form gave up; its OK ends it.
    screen->call([&] {
        for (skinner::Form* form : skinner::Form::forms()) {
            if (auto* error = dynamic_cast<ErrorForm*>(form)) {
                auto* message = dynamic_cast<skinner::ControlFrame*>(error->get_control(u"frmMessage"));
                EXPECT_EQ(message->text(), settings.translate(u"on_recording_not_drained"));
                error->close();
                return;
            }
        }
        ADD_FAILURE() << "no error form";
    }, CompleteForm::stall_timeout_ms + 1000);
    drain.run_completion_form(owner, buffer);
    EXPECT_FALSE(screen->stalled());
    EXPECT_EQ(buffer.get_queued_chunks(), 2) << "the document drops the rest";
}

TEST_F(Completion, TheWaitShowsTheWaitCursorUntilTheBufferIsDrained)
{
    queue(2);
    CompletionDrain drain(settings);
    std::thread writer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        sink.pass(2);
    });
    drain.wait(buffer);
    writer.join();
    EXPECT_EQ(buffer.get_queued_chunks(), 0);
    using platform::CursorShape;
    EXPECT_EQ(screen->cursors(), (std::vector { CursorShape::wait, CursorShape::arrow }));
}

TEST_F(Completion, ThePollGivesUpOnAStalledWriter)
{
    queue(1);
    EXPECT_FALSE(CompletionDrain::poll_until_drained(buffer, 200));
    sink.release();
    EXPECT_TRUE(CompletionDrain::poll_until_drained(buffer, 200));
}

}
