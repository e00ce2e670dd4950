#pragma once

#include "model/ipc/CommRequest.h"

#include <cstdint>
#include <functional>
#include <span>

class CommWindow;
class Document;

// The work of the Today item's nine commands, as the main form's handlers
// run it on the GUI thread. Each pops its request from the process-wide
// stack (CCommClipboard::GetInstance), acts on the document, notifies the
// views and pushes its reply: a CSerializableBool with the action's result,
// or for the status a COrvantaStatus under a CSerializableBool true. Each
// returns 1 when its reply went on the stack, 0 when no request could be
// popped or the reply not pushed. A request that does not parse
// (CommRequest::parse) is refused: nothing is done and the reply is false.
class CommCommands {
public:
    CommCommands(Document& document, CommWindow& window);

    // path, flag: selects the path when there is one, then plays the selection.
    std::int32_t on_comm_play_file();
    // path, preset number, flag: without a path a new recording in the
    // documents folder; with one, a recording into it in the preset's format
    // (0 to 8, else false). A running recording ends first. Then the
    // recording file is selected.
    std::int32_t on_comm_record();
    // path, flag: records over, or onto the end of, the file; then selects it.
    std::int32_t on_comm_record_overwrite();
    std::int32_t on_comm_record_append();
    // path, position, flag: records a part to go in at the position (the
    // file's units, aligned to its frames; a negative one is refused).
    std::int32_t on_comm_record_insert();
    // flag: resumes when paused, else pauses.
    std::int32_t on_comm_pause();
    // flag: stops playback or the recording.
    std::int32_t on_comm_stop();
    // A CSerializableBool (true brings the window up) in place of a text.
    std::int32_t on_comm_get_status();
    // number, flag: plays the item that many steps on (+1 next, -1 previous).
    std::int32_t on_comm_play_offset();

private:
    using Action = std::function<bool(const CommRequest&)>;
    std::int32_t serve(std::span<const CommField> fields, const Action& action);
    void select_if_any(const std::u16string& path);

    Document& m_document;
    CommWindow& m_window;
};
