#include "app/panels/PanelMoreControls.h"

#include "liba/StringTranslator.h"
#include "skinner/widgets/combos/List.h"

#include <algorithm>

using liba::literals::operator""_key;

namespace {

constexpr std::u16string_view level_keys[] {
    u"DynamicProcessorOff"_key,
    u"DynamicProcessorLow"_key,
    u"DynamicProcessorMedium"_key,
    u"DynamicProcessorHigh"_key,
};

Document& document()
{
    return *Document::instance();
}

}

void PanelMoreControls::Selector::set_items(std::vector<std::u16string> texts)
{
    items = std::move(texts);
    if (skinner::List* open = list())
        open->refresh();
    face().set_text(current_is_valid() ? std::u16string_view(items[std::size_t(get_current())]) : u"");
}

PanelMoreControls::PanelMoreControls(skinner::Container& container, std::u16string_view id)
    : ControlPanel(container, id)
    , m_speed(*get_container(), u"pbPlaybackSpeed")
    , m_noise(*get_container(), u"cmbNoise")
    , m_limiter(*get_container(), u"cmbLimiter")
    , m_booster(*get_container(), u"cmbBooster")
    , m_pitch_lock(*get_container(), u"chkTone")
{
    fill_selectors();
}

PanelMoreControls::~PanelMoreControls() = default;

double PanelMoreControls::speed_to_value(double speed)
{
    return (speed - 0.5) * 0.6666666666666666;
}

double PanelMoreControls::value_to_speed(double value)
{
    return value * 1.5 + 0.5;
}

void PanelMoreControls::fill_selectors()
{
    std::vector<std::u16string> texts;
    for (std::u16string_view key : level_keys)
        texts.push_back(translate(key));
    for (Selector* selector : { &m_noise, &m_limiter, &m_booster })
        selector->set_items(texts);
}

void PanelMoreControls::load()
{
    ControlPanel::load();
    fill_selectors();
}

void PanelMoreControls::update(const Document::Changes& changes)
{
    if (!changes.state)
        return;
    Document& doc = document();
    m_speed.set_value(speed_to_value(doc.get_speed()));
    m_speed.set_enabled(!doc.is_recording());
    const Settings& settings = doc.get_settings();
    const std::pair<Selector*, int> levels[] {
        { &m_noise, settings.noise },
        { &m_limiter, settings.limiter },
        { &m_booster, settings.booster },
    };
    for (const auto& [selector, level] : levels)
        selector->set_current(std::min(selector->get_item_count() - 1, level));
    m_pitch_lock.set_checked(settings.pitch_lock);
}

bool PanelMoreControls::on_value_changed(skinner::Control& sender, double value)
{
    if (&sender != &m_speed)
        return ControlPanel::on_value_changed(sender, value);
    double speed = value_to_speed(value);
    if (speed > 0.95 && speed < 1.05)
        speed = 1.0;
    document().set_speed(speed, m_pitch_lock.is_checked());
    document().notify(Document::Changes {});
    return true;
}

bool PanelMoreControls::on_click(skinner::Control& sender)
{
    if (&sender != &m_pitch_lock)
        return ControlPanel::on_click(sender);
    document().set_speed(document().get_speed(), m_pitch_lock.is_checked());
    document().notify(Document::Changes {});
    return true;
}

bool PanelMoreControls::on_dropdown_closed(skinner::Control& sender)
{
    Document& doc = document();
    if (&sender == &m_noise)
        doc.set_noise_level(m_noise.get_current());
    else if (&sender == &m_limiter)
        doc.set_limiter_level(m_limiter.get_current());
    else if (&sender == &m_booster)
        doc.set_booster_level(m_booster.get_current());
    else
        return ControlPanel::on_dropdown_closed(sender);
    return true;
}
