#include "app/panels/PanelLevels.h"

namespace {

Document& document()
{
    return *Document::instance();
}

// The input slider snaps to unity gain near its middle.
double snapped_input(double value)
{
    return value > 0.45 && value < 0.55 ? 0.5 : value;
}

}

PanelLevels::PanelLevels(skinner::Container& container, std::u16string_view id)
    : ControlPanel(container, id)
    , m_vas(*get_container(), u"pbVAS")
    , m_input(*get_container(), u"pbInput")
    , m_output(*get_container(), u"pbOutput")
    , m_vas_left(*get_container(), u"pbVASLeft")
    , m_vas_right(*get_container(), u"pbVASRight")
    , m_input_left(*get_container(), u"pbInputLeft")
    , m_output_left(*get_container(), u"pbOutputLeft")
    , m_input_right(*get_container(), u"pbInputRight")
    , m_output_right(*get_container(), u"pbOutputRight")
    , m_vas_switch(*get_container(), u"chkVAS")
    , m_input_switch(*get_container(), u"chkInput")
    , m_output_switch(*get_container(), u"chkOutput")
    , m_vas_indicator(*get_container(), u"chkVASInd")
    , m_input_indicator(*get_container(), u"chkInputInd")
    , m_output_indicator(*get_container(), u"chkOutputInd")
{
    m_output_switch.set_checked(false);
    m_output_switch.set_enabled(false);
    m_vas_indicator.set_enabled(false);
    m_input_indicator.set_enabled(false);
    m_output_indicator.set_enabled(false);
    m_output_indicator.set_checked(false);
}

PanelLevels::~PanelLevels() = default;

void PanelLevels::update(const Document::Changes& changes)
{
    Document& doc = document();
    if (changes.position || changes.state) {
        m_vas.set_value(doc.get_vas_threshold());
        m_input.set_value(doc.get_input());
        m_vas_right.set_second_value(doc.get_vas_threshold());
        m_vas_left.set_second_value(doc.get_vas_threshold());
        m_vas_left.set_value(doc.get_vas_level(0));
        m_vas_right.set_value(doc.get_vas_level(1));
        m_input_left.set_value(doc.get_input_level(0));
        m_input_right.set_value(doc.get_input_level(1));
        m_output_left.set_value(doc.get_output_level(0));
        m_output_right.set_value(doc.get_output_level(1));
    }
    if (changes.state) {
        const bool vas = doc.is_vas_enabled();
        m_vas_indicator.set_checked(!vas);
        m_vas_switch.set_checked(!vas);
        const bool input = doc.is_input_active();
        m_input_indicator.set_checked(!input);
        m_input_switch.set_checked(!input);
        m_vas.set_enabled(vas);
    }
    if (changes.volume)
        m_output.set_value(doc.get_volume());
}

bool PanelLevels::on_value_changed(skinner::Control& sender, double value)
{
    Document& doc = document();
    if (&sender == &m_vas)
        doc.set_vas_threshold(value);
    else if (&sender == &m_input)
        doc.set_input(snapped_input(value));
    else if (&sender == &m_output)
        doc.set_volume(value);
    else
        return ControlPanel::on_value_changed(sender, value);
    doc.notify(Document::Changes {});
    return true;
}

bool PanelLevels::on_click(skinner::Control& sender)
{
    Document& doc = document();
    if (&sender == &m_vas_switch)
        doc.set_vas_enabled(!m_vas_switch.is_checked());
    else if (&sender == &m_input_switch)
        doc.set_input_enabled(!m_input_switch.is_checked());
    else
        return ControlPanel::on_click(sender);
    doc.notify(Document::Changes {});
    return true;
}
