#include "app/explorer/PropertiesForm.h"

#include "audio/chains/PlayChain.h"
#include "audio/readers/FileReader.h"
#include "liba/Conversion.h"
#include "liba/Path.h"
#include "model/FileHelpers.h"
#include "model/PlayChainFactory.h"
#include "os/FileInfo.h"

PropertiesForm::PropertiesForm(skinner::Form* parent, skinner::Properties& properties, std::u16string_view form_name,
    const std::u16string& path)
    : Form(parent, properties, form_name)
    , m_file_name(*this, u"frmFileName")
    , m_format(*this, u"frmFormat")
    , m_duration(*this, u"frmDuration")
    , m_channels(*this, u"frmChannels")
    , m_sample_rate(*this, u"frmSampleRate")
    , m_bitrate(*this, u"frmBitRate")
    , m_bits(*this, u"frmBits")
    , m_size(*this, u"frmSize")
    , m_ok(*this, u"btnOk")
{
    m_file_name.set_text(liba::get_file_name(path));
    show_file(path);
}

PropertiesForm::~PropertiesForm() = default;

// The chain is never linked to the player, so whatever plays goes on.
void PropertiesForm::show_file(const std::u16string& path)
{
    const std::unique_ptr<audio::PlayChain> chain = open_play_chain(path, nullptr);
    if (!chain)
        return;
    m_size.set_text(file_size_to_text(static_cast<std::int64_t>(os::FileInfo(path).size())));
    m_format.set_text(chain->get_format_name());
    audio::FileReader* reader = chain->get_reader();
    if (!reader)
        return;
    m_duration.set_text(format_duration(reader->get_length()));
    m_channels.set_text(liba::number_text(reader->get_channels()));
    m_sample_rate.set_text(liba::number_text(reader->get_sample_rate()));
    m_bitrate.set_text(liba::number_text(reader->get_bitrate()));
    m_bits.set_text(liba::number_text(reader->get_bits_per_sample()));
}

bool PropertiesForm::on_click(skinner::Control& sender)
{
    if (&sender != &m_ok)
        return false;
    close();
    return true;
}
