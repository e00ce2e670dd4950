#include "app/explorer/BeamForm.h"
#include "dialogs/ErrorForm.h"
#include "os/Registry.h"
#include "tests/dialogs/DialogScreen.h"
#include "tests/network/support/ObexPeer.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TempDir.h"

#include <chrono>
#include <thread>

namespace {

using Phase = BeamForm::Phase;
using Clock = std::chrono::steady_clock;

class Beam : public test::DialogScreen {
protected:
    // The worker runs in real time, the form on the fake clock: a script
    // step waits for the worker before the next tick looks at it.
    static bool wait_for(const BeamForm& form, Phase phase)
    {
        const auto give_up = Clock::now() + std::chrono::seconds(20);
        while (form.phase() != phase) {
            if (Clock::now() > give_up)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return true;
    }

    static const skinner::ControlListStringSelectionStrategySingleRow& devices(const BeamForm& form)
    {
        return dynamic_cast<const skinner::ControlListStringSelectionStrategySingleRow&>(
            *form.get_control(u"lstDevices"));
    }

    static bool enabled(const BeamForm& form, std::u16string_view id) { return form.get_control(id)->is_enabled(); }

    // Closes the error forms that come up and counts them.
    void close_error_forms(int& shown, std::u16string& message)
    {
        for (skinner::Form* form : skinner::Form::forms()) {
            if (auto* error = dynamic_cast<ErrorForm*>(form)) {
                ++shown;
                message = frame_text(*error, u"frmMessage");
                error->close();
            }
        }
    }

    std::u16string file(const std::string& name, const std::string& bytes)
    {
        return platform::from_utf8(dir.write(name, bytes));
    }

    test::TempDir dir;
};

TEST_F(Beam, ASearchAgainThenBeamSendsTheFileToTheChosenDevice)
{
    test::ObexPeer peer;
    ASSERT_TRUE(peer.running());
    const std::string bytes(5000, 'n');
    BeamForm form(nullptr, settings, file("note.txt", bytes));
    EXPECT_EQ(frame_text(form, u"frmFileName"), u"note.txt");
    EXPECT_FALSE(enabled(form, u"btnRefresh")) << "no second search while one runs";
    EXPECT_FALSE(enabled(form, u"btnBeam"));

    screen->call([&] { ASSERT_TRUE(wait_for(form, Phase::searched)); });
    screen->call([&] {
        EXPECT_EQ(form.phase(), Phase::listed);
        EXPECT_EQ(devices(form).items.size(), 1u);
        EXPECT_EQ(devices(form).get_selected_row(), 0);
        EXPECT_TRUE(enabled(form, u"btnBeam"));
        EXPECT_TRUE(enabled(form, u"btnRefresh"));
    }, 300);
    tap(form, u"btnRefresh");
    // The worker was waiting: the tap must wake it for a second search.
    screen->call([&] {
        EXPECT_NE(form.phase(), Phase::listed);
        ASSERT_TRUE(wait_for(form, Phase::searched));
    }, 100);
    tap(form, u"btnBeam", 300);
    screen->call([&] { ASSERT_TRUE(wait_for(form, Phase::finished)); });
    form.do_modal();
    EXPECT_FALSE(screen->stalled());
    EXPECT_TRUE(form.sent());
    EXPECT_EQ(peer.received("note.txt"), bytes);
}

TEST_F(Beam, ARefusedTransferIsReportedOnceAndClosesTheForm)
{
    test::ObexPeer peer({ "--refuse" });
    ASSERT_TRUE(peer.running());
    BeamForm form(nullptr, settings, file("note.txt", "text"));
    int shown = 0;
    std::u16string message;
    screen->call([&] { ASSERT_TRUE(wait_for(form, Phase::searched)); });
    tap(form, u"btnBeam", 300);
    screen->call([&] { ASSERT_TRUE(wait_for(form, Phase::finished)); });
    // The error form comes on the next tick; later ticks must not bring another.
    screen->call([&] { close_error_forms(shown, message); }, 300);
    screen->call([&] { close_error_forms(shown, message); }, 300);
    form.do_modal();
    EXPECT_FALSE(form.sent());
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(message, settings.translate(u"on_failed_to_beam"));
}

TEST_F(Beam, NoDeviceInRangeLeavesOnlyASearchAgain)
{
    test::TempDir config;
    os::ScopedRegistryFile registry(config.file("registry"));
    test::set_obex_peers("");
    BeamForm form(nullptr, settings, file("note.txt", "text"));
    EXPECT_EQ(devices(form).items, std::vector<std::u16string> { settings.translate(u"BEAM_SEARCHING") });
    run();
    EXPECT_TRUE(test::matches_screenshot(screen->shown(), "dialogs-beam-searching"));
    // Ten empty answers 200 ms apart.
    screen->call([&] { ASSERT_TRUE(wait_for(form, Phase::searched)); });
    screen->call([&] {
        EXPECT_EQ(devices(form).items, std::vector<std::u16string> { settings.translate(u"BEAM_NO_DEVICES") });
        EXPECT_FALSE(enabled(form, u"btnBeam"));
        EXPECT_TRUE(enabled(form, u"btnRefresh"));
        EXPECT_EQ(form.phase(), Phase::searched);
    }, 300);
    tap_title_ok(100);
    form.do_modal();
    EXPECT_FALSE(screen->stalled());
    EXPECT_FALSE(form.sent());
}

TEST_F(Beam, ClosingDuringABlockedTransferEndsItWithinASecond)
{
    test::ObexPeer peer({ "--stall" });
    ASSERT_TRUE(peer.running());
    BeamForm form(nullptr, settings, file("big.bin", std::string(100000, 'x')));
    Clock::time_point closed;
    int shown = 0;
    std::u16string message;
    screen->call([&] { ASSERT_TRUE(wait_for(form, Phase::searched)); });
    tap(form, u"btnBeam", 300);
    screen->call([&] {
        ASSERT_TRUE(wait_for(form, Phase::sending));
        // The peer stops answering once the first body has reached it.
        for (int wait = 0; peer.log().size() < 3; ++wait) {
            ASSERT_LT(wait, 2000) << "the first body never arrived";
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        closed = Clock::now();
        form.close();
    });
    screen->call([&] { close_error_forms(shown, message); }, 500);
    form.do_modal();
    EXPECT_LT(Clock::now() - closed, std::chrono::seconds(1));
    EXPECT_FALSE(form.sent());
    EXPECT_EQ(shown, 0) << "a transfer the user ended is no failure to report";
}

TEST_F(Beam, DestroyingTheFormDuringASearchWaitsForTheWorker)
{
    test::TempDir config;
    os::ScopedRegistryFile registry(config.file("registry"));
    test::set_obex_peers("");
    const auto start = Clock::now();
    {
        BeamForm form(nullptr, settings, file("note.txt", "text"));
        screen->call([&] { form.close(); }, 100);
        form.do_modal();
    }
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(1)) << "the search gives up at its next check";
}

}
