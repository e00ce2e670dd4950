#pragma once

#include "skinner/widgets/buttons/ControlButton.h"
#include "skinner/widgets/text/ControlFrame.h"
#include "skinner/widgets/progress/ControlProgress.h"
#include "skinner/core/Form.h"

#include <string_view>

// The progress of a copy, move or delete: what is done, the file at hand,
// its share and the whole operation's, and a cancel button whose press
// stays for the rest of the form's life.
class FileProgressForm : public skinner::Form {
public:
    FileProgressForm(skinner::Form* parent, skinner::Properties& properties);
    ~FileProgressForm() override;

    void set_texts(std::u16string_view caption, std::u16string_view message);
    void set_progress(std::u16string_view file_name, double file_fraction, double total_fraction);

    bool is_cancelled() const { return m_cancelled; }

    void cancel() { m_cancelled = true; }

    bool on_click(skinner::Control& sender) override;

private:
    skinner::ControlFrame m_file_name;
    skinner::ControlFrame m_caption;
    skinner::ControlFrame m_message;
    skinner::ControlProgress m_file_progress;
    skinner::ControlProgress m_total_progress;
    skinner::ControlButton m_cancel;
    bool m_cancelled = false;
};
