#pragma once

#include "skinner/controls/ControlFrame.h"

// A one-line text until the edit control is in the tree: it shows the text
// it is given and hands it back.
class StandInEdit : public skinner::ControlFrame {
public:
    using ControlFrame::ControlFrame;

    const std::u16string& get_text() const { return text(); }
};
