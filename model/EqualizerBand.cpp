#include "model/EqualizerBand.h"

#include "os/XmlNode.h"

EqualizerBand::EqualizerBand(double frequency, double gain, double width, bool active)
    : frequency(frequency)
    , gain(gain)
    , width(width)
    , active(active)
{
}

void EqualizerBand::save(const os::XmlNode& element) const
{
    os::XmlNode::set_attribute_double(element, u"Frequency", frequency);
    os::XmlNode::set_attribute_double(element, u"Amplitude", gain);
    os::XmlNode::set_attribute_double(element, u"Width", width);
    os::XmlNode::set_attribute_bool(element, u"Active", active);
}

void EqualizerBand::load(const os::XmlNode& element)
{
    os::XmlNode::get_attribute_double(element, u"Frequency", frequency);
    os::XmlNode::get_attribute_double(element, u"Amplitude", gain);
    os::XmlNode::get_attribute_double(element, u"Width", width);
    os::XmlNode::get_attribute_bool(element, u"Active", active);
}
