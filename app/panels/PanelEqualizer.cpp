#include "app/panels/PanelEqualizer.h"

#include <string_view>

namespace {

// The settings' bands in order, each with its switch.
constexpr std::u16string_view band_names[] { u"Eq1", u"Eq2", u"Eq3" };

Document& document()
{
    return *Document::instance();
}

}

PanelEqualizer::PanelEqualizer(skinner::Container& container, std::u16string_view id)
    : ControlPanel(container, id)
    , m_equalizer(*get_container(), u"Equalizer")
    , m_switches { skinner::ControlCheckBox(*get_container(), u"chkEq1"),
        skinner::ControlCheckBox(*get_container(), u"chkEq2"),
        skinner::ControlCheckBox(*get_container(), u"chkEq3") }
{
    const Settings& settings = document().get_settings();
    for (std::size_t i = 0; i < std::size(band_names); ++i) {
        const EqualizerBand& band = settings.equalizer[i];
        if (band.active)
            m_equalizer.add_band(band_names[i], band.frequency, band.gain, band.width);
    }
    for (std::size_t i = 0; i < std::size(band_names); ++i)
        m_switches[i].set_checked(settings.equalizer[i].active);
}

PanelEqualizer::~PanelEqualizer() = default;

bool PanelEqualizer::on_click(skinner::Control& sender)
{
    if (&sender == &m_equalizer) {
        apply();
        return true;
    }
    for (std::size_t i = 0; i < std::size(band_names); ++i) {
        if (&sender != &m_switches[i])
            continue;
        if (m_switches[i].is_checked()) {
            const EqualizerBand& band = document().get_settings().equalizer[i];
            m_equalizer.add_band(band_names[i], band.frequency, band.gain, band.width);
        } else {
            m_equalizer.remove_band(band_names[i]);
        }
        apply();
        m_equalizer.invalidate();
        return true;
    }
    return ControlPanel::on_click(sender);
}

void PanelEqualizer::apply()
{
    Settings copy = document().get_settings();
    for (std::size_t i = 0; i < std::size(band_names); ++i) {
        EqualizerBand& band = copy.equalizer[i];
        if (m_switches[i].is_checked()) {
            band.frequency = m_equalizer.get_band_frequency(band_names[i]);
            band.gain = m_equalizer.get_band_gain(band_names[i]);
            band.width = m_equalizer.get_band_width(band_names[i]);
            band.active = true;
        } else {
            band.active = false;
        }
    }
    document().apply_settings(copy);
    document().apply_equalizer();
}

void PanelEqualizer::update(const Document::Changes&) { }
