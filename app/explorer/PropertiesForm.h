#pragma once

#include "skinner/widgets/buttons/ControlButton.h"
#include "skinner/widgets/text/ControlFrame.h"
#include "skinner/core/Form.h"

#include <string>
#include <string_view>

// What one sound file holds: name, format, duration, channels, sample
// rate, bitrate, bits per sample and size. The file is opened only to read
// them; a file nothing opens shows its name alone.
class PropertiesForm : public skinner::Form {
public:
    PropertiesForm(skinner::Form* parent, skinner::Properties& properties, std::u16string_view form_name,
        const std::u16string& path);
    ~PropertiesForm() override;

    bool on_click(skinner::Control& sender) override;

private:
    void show_file(const std::u16string& path);

    skinner::ControlFrame m_file_name;
    skinner::ControlFrame m_format;
    skinner::ControlFrame m_duration;
    skinner::ControlFrame m_channels;
    skinner::ControlFrame m_sample_rate;
    skinner::ControlFrame m_bitrate;
    skinner::ControlFrame m_bits;
    skinner::ControlFrame m_size;
    skinner::ControlButton m_ok;
};
