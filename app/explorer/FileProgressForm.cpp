#include "app/explorer/FileProgressForm.h"

FileProgressForm::FileProgressForm(skinner::Form* parent, skinner::Properties& properties)
    : Form(parent, properties, u"FileProgress")
    , m_file_name(*this, u"frmFileName")
    , m_caption(*this, u"frmCaption")
    , m_message(*this, u"frmMessage")
    , m_file_progress(*this, u"pbProgressFile")
    , m_total_progress(*this, u"pbProgressTotal")
    , m_cancel(*this, u"btnCancel")
{
    show(false);
}

FileProgressForm::~FileProgressForm() = default;

void FileProgressForm::set_texts(std::u16string_view caption, std::u16string_view message)
{
    m_caption.set_text(caption);
    m_message.set_text(message);
}

void FileProgressForm::set_progress(
    std::u16string_view file_name, double file_fraction, double total_fraction)
{
    m_file_progress.set_value(file_fraction);
    m_total_progress.set_value(total_fraction);
    m_file_name.set_text(file_name);
}

bool FileProgressForm::on_click(skinner::Control& sender)
{
    if (&sender != &m_cancel)
        return false;
    m_cancelled = true;
    return true;
}
