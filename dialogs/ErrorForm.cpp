#include "dialogs/ErrorForm.h"

ErrorForm::ErrorForm(skinner::Form* parent, skinner::Properties& properties)
    : Form(parent, properties, u"Error")
    , m_message(*this, u"frmMessage")
    , m_caption(*this, u"frmCaption")
{
}

ErrorForm::~ErrorForm() = default;

void ErrorForm::set_texts(std::u16string_view caption, std::u16string_view message)
{
    m_caption.set_text(caption);
    m_message.set_text(message);
}
