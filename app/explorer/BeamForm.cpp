#include "app/explorer/BeamForm.h"

#include "dialogs/ErrorForm.h"
#include "liba/Path.h"
#include "liba/StringTranslator.h"
#include "os/Log.h"
#include "skinner/skin/Properties.h"

#include <vector>

using liba::literals::operator""_key;

BeamForm::BeamForm(skinner::Form* owner, skinner::Properties& properties, const std::u16string& path)
    : Form(owner, properties, u"Beam")
    , m_file_name(*this, u"frmFileName")
    , m_devices(*this, u"lstDevices")
    , m_beam(*this, u"btnBeam")
    , m_path(path)
    , m_progress(*this, u"pbProgress")
    , m_refresh(*this, u"btnRefresh")
{
    m_file_name.set_text(liba::get_file_name(path));
    m_timer_id = set_timer(0.1);
    start_search();
}

BeamForm::~BeamForm()
{
    if (m_timer_id != 0)
        kill_timer(m_timer_id);
    m_timer_id = 0;
    stop_worker();
}

void BeamForm::do_modal()
{
    if (start()) {
        set_priority(-1);
    } else {
        // Nothing will search: the next tick reports the failure and closes.
        std::lock_guard lock(m_lock);
        m_phase = Phase::finished;
    }
    Form::do_modal();
}

BeamForm::Phase BeamForm::phase() const
{
    std::lock_guard lock(m_lock);
    return m_phase;
}

bool BeamForm::sent() const
{
    std::lock_guard lock(m_lock);
    return m_sent;
}

void BeamForm::set_phase(Phase phase)
{
    {
        std::lock_guard lock(m_lock);
        m_phase = phase;
    }
    m_changed.notify_all();
}

void BeamForm::stop_worker()
{
    {
        std::lock_guard lock(m_lock);
        m_stop = true;
    }
    m_changed.notify_all();
    // A socket call in progress returns; every later step gives up.
    m_connector.shutdown();
    join();
}

void BeamForm::start_search()
{
    show_status(u"BEAM_SEARCHING"_key);
    m_refresh.set_enabled(false);
    m_beam.set_enabled(false);
    set_phase(Phase::searching);
}

void BeamForm::show_status(std::u16string_view key)
{
    const std::vector<std::u16string> status { properties().translate(key) };
    if (m_devices.items == status)
        return;
    m_devices.items = status;
    m_devices.set_selected_row(-1);
    m_devices.refresh();
}

void BeamForm::show_devices()
{
    m_progress.set_value(1.0);
    m_refresh.set_enabled(true);
    // The worker waits for our next step: the list is ours to read.
    const auto& devices = m_connector.get_devices();
    if (devices.empty()) {
        show_status(u"BEAM_NO_DEVICES"_key);
        return;
    }
    m_devices.items.clear();
    for (const auto& device : devices)
        m_devices.items.push_back(device.name);
    m_devices.refresh();
    set_phase(Phase::listed);
    m_devices.set_selected_row(-1);
    m_devices.set_selected_row(0);
    m_devices.invalidate();
}

void BeamForm::update_beam_button()
{
    std::int32_t selected;
    {
        std::lock_guard lock(m_lock);
        selected = m_selected;
    }
    m_beam.set_enabled(phase() == Phase::listed && selected >= 0 && selected < m_devices.get_item_count());
}

bool BeamForm::on_click(skinner::Control& sender)
{
    if (&sender == &m_beam) {
        if (phase() == Phase::listed) {
            m_beam.set_enabled(false);
            m_refresh.set_enabled(false);
            set_phase(Phase::connecting);
        }
        return true;
    }
    if (&sender == &m_refresh) {
        // Only while the worker waits for us; the button is off otherwise.
        const Phase now = phase();
        if (now == Phase::searched || now == Phase::listed)
            start_search();
        return true;
    }
    if (sender.id() == u"btnOk") {
        close();
        return true;
    }
    return Form::on_click(sender);
}

bool BeamForm::on_selection_changed(skinner::Control& sender)
{
    if (&sender != &m_devices)
        return Form::on_selection_changed(sender);
    {
        std::lock_guard lock(m_lock);
        m_selected = m_devices.get_selected_row();
    }
    update_beam_button();
    return true;
}

void BeamForm::on_timer_broadcast(std::uint32_t timer_id)
{
    if (timer_id == 0 || timer_id != m_timer_id) {
        Form::on_timer_broadcast(timer_id);
        return;
    }
    if (m_closing)
        return;
    // Ticks that come while the error form runs are not ours.
    m_timer_id = 0;
    tick();
    m_timer_id = timer_id;
}

void BeamForm::tick()
{
    switch (phase()) {
    case Phase::searching: {
        const double progress = m_connector.get_progress();
        m_progress.set_value(progress);
        os::log() << u"connector.get_progress() = " << progress << u"\n";
        break;
    }
    case Phase::searched:
        show_devices();
        break;
    case Phase::sending:
        m_progress.set_value(m_connector.get_progress());
        break;
    case Phase::finished:
        m_closing = true;
        if (!sent()) {
            ErrorForm error(this, properties());
            error.set_texts(properties().translate(u"on_failed_to_beam_caption"_key),
                properties().translate(u"on_failed_to_beam"_key));
            error.do_modal();
        }
        close();
        break;
    case Phase::listed:
    case Phase::connecting:
        break;
    }
}

bool BeamForm::can_close()
{
    m_closing = true;
    stop_worker();
    return true;
}

void BeamForm::run()
{
    std::unique_lock lock(m_lock);
    while (!m_stop && m_phase == Phase::searching) {
        lock.unlock();
        m_connector.discover_devices();
        lock.lock();
        m_phase = Phase::searched;
        // Whatever the GUI thread decides meanwhile is kept for this wait.
        m_changed.wait(lock, [this] {
            return m_stop || m_phase == Phase::searching || m_phase == Phase::connecting;
        });
    }
    if (m_stop)
        return;
    const std::int32_t selected = m_selected;
    lock.unlock();

    bool sent = selected >= 0 && m_connector.connect(static_cast<std::size_t>(selected));
    set_phase(Phase::sending);
    if (sent)
        sent = m_connector.send_file(m_path);
    lock.lock();
    m_sent = sent;
    m_phase = Phase::finished;
}

bool beam_file(skinner::Form* owner, skinner::Properties& properties, const std::u16string& path)
{
    BeamForm form(owner, properties, path);
    form.do_modal();
    return form.sent();
}
