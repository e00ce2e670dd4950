#pragma once

#include "skinner/widgets/text/ControlFrame.h"
#include "skinner/core/Form.h"

#include <cstdint>
#include <string_view>

// A question with up to five answers, from the skin form the caller names
// ("ConfirmYesNo", "Confirm5Way"). The answer is the pressed button's:
// yes 0, no 1, yes to all 2, no to all 3, cancel 4; a form closed any other
// way answers no.
class ConfirmForm : public skinner::Form {
public:
    static constexpr std::int32_t answer_yes = 0;
    static constexpr std::int32_t answer_no = 1;
    static constexpr std::int32_t answer_yes_all = 2;
    static constexpr std::int32_t answer_no_all = 3;
    static constexpr std::int32_t answer_cancel = 4;

    ConfirmForm(skinner::Form* parent, skinner::Properties& properties, std::u16string_view form_name);
    ~ConfirmForm() override;

    void set_texts(std::u16string_view caption, std::u16string_view message);
    // Runs the form modally and answers the pressed button.
    std::int32_t ask();

    bool on_click(skinner::Control& sender) override;

private:
    skinner::ControlFrame m_message;
    skinner::ControlFrame m_caption;
    std::int32_t m_answer = answer_no;
};
