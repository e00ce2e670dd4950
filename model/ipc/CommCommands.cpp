#include "model/ipc/CommCommands.h"

#include "audio/chains/ChainFactory.h"
#include "model/Document.h"
#include "model/ipc/CCommClipboard.h"
#include "model/ipc/COrvantaStatus.h"
#include "model/ipc/CSerializableBool.h"
#include "model/ipc/CSerializableString.h"
#include "model/ipc/CommWindow.h"
#include "model/ipc/InsertPosition.h"
#include "os/PathMacros.h"

#include <limits>

namespace {

// The recording formats a record request names by number; always mono.
struct RecordPreset {
    std::u16string_view codec;
    std::int32_t bits;
    std::int32_t rate;
    std::int32_t bitrate; // bit/s, for mp3
};

constexpr RecordPreset record_presets[] = {
    { u"mp3", 16, 8000, 16000 },
    { u"mp3", 16, 11025, 16000 },
    { u"mp3", 16, 11025, 32000 },
    { u"mp3", 16, 22050, 32000 },
    { u"PCM", 8, 11025, 0 },
    { u"PCM", 16, 11025, 0 },
    { u"PCM", 8, 22050, 0 },
    { u"PCM", 16, 22050, 0 },
    { u"PCM", 8, 44100, 0 },
};

constexpr CommField path_flag[] = { CommField::path, CommField::flag };
constexpr CommField path_number_flag[] = { CommField::path, CommField::number, CommField::flag };
constexpr CommField number_flag[] = { CommField::number, CommField::flag };
constexpr CommField flag_only[] = { CommField::flag };

}

CommCommands::CommCommands(Document& document, CommWindow& window)
    : m_document(document)
    , m_window(window)
{
}

std::int32_t CommCommands::serve(std::span<const CommField> fields, const Action& action)
{
    CCommClipboard& clipboard = CCommClipboard::GetInstance();
    CSerializableString text;
    if (!text.Read(clipboard))
        return 0;
    const std::optional<CommRequest> request = CommRequest::parse(*text.get_text(), fields);
    bool result = false;
    if (request) {
        if (request->show)
            m_window.show_window(true);
        result = action(*request);
    }
    m_document.notify(Document::Changes());
    return CSerializableBool(result).Write(clipboard) ? 1 : 0;
}

void CommCommands::select_if_any(const std::u16string& path)
{
    if (!path.empty())
        m_window.select_path(path);
}

std::int32_t CommCommands::on_comm_play_file()
{
    return serve(path_flag, [this](const CommRequest& request) {
        select_if_any(request.path);
        return m_window.play_selection();
    });
}

std::int32_t CommCommands::on_comm_record()
{
    return serve(path_number_flag, [this](const CommRequest& request) {
        bool recording = false;
        if (request.path.empty()) {
            recording = m_document.record(os::expand_path_macros(u"%my_documents%"));
        } else if (request.number >= 0 && request.number < std::ssize(record_presets)) {
            const RecordPreset& preset = record_presets[request.number];
            // Made only once the document takes the recording on: a refusal leaves the file alone.
            auto make = [&preset](const std::u16string& path) {
                return audio::create_record_chain(
                    path, std::u16string(preset.codec), 1, preset.bits, preset.rate, preset.bitrate, false);
            };
            // The recorder captures in the preset's format too, so the file is what its header says.
            recording = m_document.start_recording(make, request.path, { 1, preset.bits, preset.rate });
        }
        select_if_any(m_document.get_record_file());
        return recording;
    });
}

std::int32_t CommCommands::on_comm_record_overwrite()
{
    return serve(path_flag, [this](const CommRequest& request) {
        const bool recording = m_document.record_overwrite(request.path);
        select_if_any(request.path);
        return recording;
    });
}

std::int32_t CommCommands::on_comm_record_append()
{
    return serve(path_flag, [this](const CommRequest& request) {
        const bool recording = m_document.record_append(request.path);
        select_if_any(request.path);
        return recording;
    });
}

std::int32_t CommCommands::on_comm_record_insert()
{
    return serve(path_number_flag, [this](const CommRequest& request) {
        if (request.number < 0)
            return false;
        const bool recording
            = m_document.record_insert(request.path, align_insert_position(request.path, request.number));
        select_if_any(request.path);
        return recording;
    });
}

std::int32_t CommCommands::on_comm_pause()
{
    return serve(flag_only, [this](const CommRequest&) {
        return m_document.is_paused() ? m_document.resume() : m_document.pause();
    });
}

std::int32_t CommCommands::on_comm_stop()
{
    return serve(flag_only, [this](const CommRequest&) { return m_document.stop(nullptr); });
}

std::int32_t CommCommands::on_comm_get_status()
{
    CCommClipboard& clipboard = CCommClipboard::GetInstance();
    CSerializableBool show;
    if (!show.Read(clipboard))
        return 0;
    if (show.get_value())
        m_window.show_window(true);
    const COrvantaStatus status = COrvantaStatus::from_document(m_document);
    return status.Write(clipboard) && CSerializableBool(true).Write(clipboard) ? 1 : 0;
}

std::int32_t CommCommands::on_comm_play_offset()
{
    return serve(number_flag, [this](const CommRequest& request) {
        if (request.number < std::numeric_limits<int>::min()
            || request.number > std::numeric_limits<int>::max())
            return false;
        return m_document.play_relative(static_cast<int>(request.number));
    });
}
