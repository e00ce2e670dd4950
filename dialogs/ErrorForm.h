#pragma once

#include "skinner/widgets/text/ControlFrame.h"
#include "skinner/core/Form.h"

#include <string_view>

// A failure told to the user: a caption and a message, closed by the skin's
// OK button. The caller runs it modally.
class ErrorForm : public skinner::Form {
public:
    ErrorForm(skinner::Form* parent, skinner::Properties& properties);
    ~ErrorForm() override;

    void set_texts(std::u16string_view caption, std::u16string_view message);

private:
    skinner::ControlFrame m_message;
    skinner::ControlFrame m_caption;
};
