#include "app/explorer/ConfirmForm.h"

#include <array>
#include <utility>

namespace {

const std::array<std::pair<std::u16string_view, std::int32_t>, 5> answers { {
    { u"btnYes", ConfirmForm::answer_yes },
    { u"btnNo", ConfirmForm::answer_no },
    { u"btnYesAll", ConfirmForm::answer_yes_all },
    { u"btnNoAll", ConfirmForm::answer_no_all },
    { u"btnCancel", ConfirmForm::answer_cancel },
} };

}

ConfirmForm::ConfirmForm(skinner::Form* parent, skinner::Properties& properties, std::u16string_view form_name)
    : Form(parent, properties, form_name)
    , m_message(*this, u"frmMessage")
    , m_caption(*this, u"frmCaption")
{
}

ConfirmForm::~ConfirmForm() = default;

void ConfirmForm::set_texts(std::u16string_view caption, std::u16string_view message)
{
    m_caption.set_text(caption);
    m_message.set_text(message);
}

std::int32_t ConfirmForm::ask()
{
    do_modal();
    return m_answer;
}

bool ConfirmForm::on_click(skinner::Control& sender)
{
    for (const auto& [id, answer] : answers) {
        if (sender.id() == id) {
            m_answer = answer;
            close();
            return true;
        }
    }
    return false;
}
