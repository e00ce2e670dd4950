#pragma once

#include "liba/Thread.h"
#include "network/ObexConnector.h"
#include "skinner/widgets/buttons/ControlButton.h"
#include "skinner/widgets/text/ControlFrame.h"
#include "skinner/widgets/lists/ControlListStringSelectionStrategySingleRow.h"
#include "skinner/widgets/progress/ControlProgress.h"
#include "skinner/core/Form.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>

// Sends one file to a nearby device: searches, lists the devices found, and
// after the user's choice connects and sends the file with OBEX. The slow
// steps run on a worker thread; the form follows them on a 0.1 s timer
// through the phase, which both threads change under one lock, the worker
// waiting on a condition for the GUI thread's next step. Closing the form
// shuts the connection down, so a blocked step ends at once, and waits for
// the worker.
class BeamForm : public skinner::Form, private liba::Thread {
public:
    enum class Phase : std::int32_t {
        searching = 0, // set by the GUI thread when a search starts
        searched = 1, // by the worker after each search
        listed = 2, // by the GUI thread: devices listed, the user chooses
        connecting = 3, // by the GUI thread on "btnBeam"
        sending = 4, // by the worker once connected
        finished = 5, // by the worker after the transfer, whatever its result
    };

    // The caller passes the settings skin.
    BeamForm(skinner::Form* owner, skinner::Properties& properties, const std::u16string& path);
    ~BeamForm() override;

    // Starts the worker one step below normal priority and runs the form.
    virtual void do_modal();

    Phase phase() const;
    // True once the file went over whole.
    bool sent() const;

    bool on_click(skinner::Control& sender) override;
    bool on_selection_changed(skinner::Control& sender) override;
    void on_timer_broadcast(std::uint32_t timer_id) override;
    bool can_close() override;

private:
    void run() override;
    void start_search();
    void set_phase(Phase phase);
    // Ends the worker, blocked or waiting, and joins it.
    void stop_worker();
    void show_devices();
    void show_status(std::u16string_view key);
    void update_beam_button();
    void tick();

    skinner::ControlFrame m_file_name;
    skinner::ControlListStringSelectionStrategySingleRow m_devices;
    skinner::ControlButton m_beam;
    std::int32_t m_selected = 0; // guarded by m_lock
    std::u16string m_path;
    std::uint32_t m_timer_id = 0;
    Phase m_phase = Phase::searching; // guarded by m_lock
    bool m_stop = false; // guarded by m_lock
    bool m_sent = false; // guarded by m_lock
    bool m_closing = false;
    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    network::ObexConnector m_connector;
    skinner::ControlProgress m_progress;
    skinner::ControlButton m_refresh;
};

// Runs the beam form for the file over the owner; true when the file was sent.
bool beam_file(skinner::Form* owner, skinner::Properties& properties, const std::u16string& path);
