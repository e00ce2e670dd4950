#include "app/explorer/ConvertForm.h"

#include "audio/readers/FileReader.h"
#include "audio/readers/FileReaderMP3.h"
#include "dialogs/ErrorForm.h"
#include "liba/Path.h"
#include "liba/StringTranslator.h"
#include "model/FileHelpers.h"
#include "model/PlayChainFactory.h"
#include "model/RangeMarkList.h"
#include "os/FileInfo.h"
#include "os/FileSystem.h"
#include "os/Log.h"
#include "skinner/skin/Properties.h"

#include <algorithm>

using liba::literals::operator""_key;

namespace {

// Each step of the worker passes this much of the source's stored data, so
// a stop request is seen within a fraction of a second whatever the coding.
constexpr double step_bytes = 5000;

// The step in the reader's own units (bytes of PCM, blocks of ADPCM and GSM).
std::int64_t step_units(audio::FileReader& reader)
{
    const int bitrate = reader.get_bitrate();
    if (bitrate <= 0)
        return static_cast<std::int64_t>(step_bytes);
    return std::max<std::int64_t>(1, reader.time_to_bytes(step_bytes * 8 / bitrate));
}

void remove_if_there(const std::u16string& path)
{
    os::FileInfo file(path);
    if (file.exists())
        file.remove();
}

}

ConvertForm::ConvertForm(skinner::Form* owner, skinner::Properties& properties, const std::u16string& source,
    const std::u16string& target, audio::FileWriter::Opener opener)
    : Form(owner, properties, u"Convert")
    , m_file_name(*this, u"frmFileName")
    , m_progress(*this, u"pbProgress")
    , m_chain(open_play_chain(source, nullptr))
    , m_source(source)
    , m_target(target)
{
    m_file_name.set_text(liba::get_file_name(source));
    audio::FileReader* reader = m_chain ? m_chain->get_reader() : nullptr;
    // Converting a file into itself would replace what is being read.
    if (reader && m_chain->get_output() && !liba::paths_equal(source, target)) {
        m_length_units = reader->get_length_bytes();
        m_length_seconds = reader->get_length();
        m_step_units = step_units(*reader);
        // Hidden, and unique, so that no file of the user's is written over.
        m_temporary = unique_file_path(liba::get_directory(target), u"." + liba::get_file_name(target) + u".", u"tmp");
    }
    if (!m_temporary.empty()) {
        m_encoder = std::make_unique<audio::EncoderMP3>(bitrate);
        m_writer = std::make_unique<audio::FileWriterMP3>(m_temporary, false, std::move(opener));
        if (m_writer->is_ok()) {
            audio::connect(m_chain->get_output(), m_encoder.get());
            audio::connect<audio::MP3Data>(m_encoder.get(), m_writer.get());
            m_ready = true;
        }
    }
    if (!m_ready) {
        os::log() << u"ConvertForm: can't convert " << source << u"\n";
        m_outcome.store(Outcome::failed, std::memory_order_release);
    }
    m_timer_id = set_timer(0.1);
}

ConvertForm::~ConvertForm()
{
    stop_timer();
    request_stop();
    join();
    // The worker is gone: nothing else holds the chain, the encoder or the file.
    if (m_chain)
        audio::connect<audio::PCMData>(m_chain->get_output(), nullptr);
    m_encoder.reset();
    m_writer.reset();
    if (!m_temporary.empty() && outcome() != Outcome::converted)
        remove_if_there(m_temporary);
}

double ConvertForm::needed_bytes() const
{
    return static_cast<double>(bitrate) * m_length_seconds * 0.125;
}

bool ConvertForm::has_room() const
{
    return os::get_free_space(liba::get_directory(m_target)) > needed_bytes();
}

void ConvertForm::do_modal()
{
    if (m_ready && outcome() == Outcome::running) {
        if (start())
            set_priority(-1);
        else
            m_outcome.store(Outcome::failed, std::memory_order_release);
    }
    Form::do_modal();
}

void ConvertForm::stop_timer()
{
    if (m_timer_id != 0)
        kill_timer(m_timer_id);
    m_timer_id = 0;
}

void ConvertForm::on_timer_broadcast(std::uint32_t timer_id)
{
    if (timer_id == 0 || timer_id != m_timer_id) {
        Form::on_timer_broadcast(timer_id);
        return;
    }
    m_progress.set_value_in_range(0, static_cast<double>(m_length_units),
        static_cast<double>(m_position.load(std::memory_order_acquire)));
    if (outcome() == Outcome::running)
        return;
    stop_timer();
    close();
}

bool ConvertForm::can_close()
{
    request_stop();
    return true;
}

void ConvertForm::run()
{
    audio::FileReader& reader = *m_chain->get_reader();
    bool stuck = false;
    while (!is_stop_requested() && !reader.is_end() && m_writer->is_ok() && !stuck) {
        const std::int64_t before = reader.get_position_bytes();
        const bool more = reader.skip_bytes(m_step_units);
        const std::int64_t after = reader.get_position_bytes();
        m_position.store(after, std::memory_order_release);
        // A reader that neither moves nor ends would keep us here for ever.
        stuck = !reader.is_end() && (!more || after == before);
    }
    Outcome outcome = Outcome::stopped;
    if (!m_writer->is_ok() || stuck)
        outcome = Outcome::failed;
    else if (reader.is_end())
        outcome = finish() ? Outcome::converted : Outcome::failed;
    if (outcome == Outcome::failed)
        os::log() << u"ConvertForm: " << m_target << u" stays as it was\n";
    m_outcome.store(outcome, std::memory_order_release);
}

bool ConvertForm::finish()
{
    audio::connect<audio::PCMData>(m_chain->get_output(), nullptr);
    // The encoder's last frames reach the writer, which then closes the file.
    m_encoder.reset();
    const bool written = m_writer->is_ok();
    const std::int64_t size = m_writer->get_data_size();
    m_writer.reset();
    // A buffer that did not fit on the disk at close shows as a short file.
    if (!written || os::FileInfo(m_temporary).size() != static_cast<std::uint64_t>(size))
        return false;
    if (m_length_units > 0) {
        audio::FileReaderMP3 check(m_temporary);
        if (!check.is_open() || check.get_length_bytes() <= 0)
            return false;
    }
    if (!os::replace_file(m_temporary, m_target))
        return false;
    carry_bookmarks_over(*m_chain->get_reader());
    return true;
}

// Each mark keeps its time, its name and its place in the play order.
void ConvertForm::carry_bookmarks_over(audio::FileReader& source) const
{
    const RangeMarkList marks = RangeMarkList::load(bookmark_file_name(m_source));
    const std::u16string target_marks = bookmark_file_name(m_target);
    if (marks.mark_count() == 0) {
        // Those of a file this one replaced would stand at the wrong places.
        remove_if_there(target_marks);
        return;
    }
    audio::FileReaderMP3 mp3(m_target);
    const auto moved = [&](const RangeMark& mark) { return mp3.time_to_bytes(source.bytes_to_time(mark.position)); };
    RangeMarkList carried;
    // Inserted, not added: adding would put a mark inside a played segment
    // into the play order, and the list would play what the source did not.
    for (const int index : marks.play_order())
        carried.insert(moved(marks.mark(index)), marks.mark(index).name, true);
    for (int index = 0; index < marks.mark_count(); ++index) {
        if (marks.mark(index).play == RangeMark::not_played)
            carried.insert(moved(marks.mark(index)), marks.mark(index).name, false);
    }
    if (!carried.save(target_marks))
        os::log() << u"ConvertForm: can't write " << target_marks << u"\n";
}

ConvertForm::Outcome convert_to_mp3(skinner::Form* owner, skinner::Properties& properties,
    const std::u16string& source, const std::u16string& target)
{
    ConvertForm form(owner, properties, source, target);
    ConvertForm::Outcome outcome = ConvertForm::Outcome::failed;
    std::u16string_view message = u"on_failed_to_convert"_key;
    if (!form.is_ready()) {
        form.show(false);
    } else if (!form.has_room()) {
        form.show(false);
        outcome = ConvertForm::Outcome::no_room;
        message = u"on_not_enough_storage_memory"_key;
    } else {
        form.do_modal();
        outcome = form.outcome();
        if (outcome != ConvertForm::Outcome::failed)
            return outcome;
    }
    ErrorForm error(owner, properties);
    error.set_texts(properties.translate(u"form.Convert.frmCaption.Text"_key), properties.translate(message));
    error.do_modal();
    return outcome;
}
