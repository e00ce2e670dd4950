#pragma once

#include "liba/DateTime.h"
#include "skinner/controls/ControlFrame.h"

// A date or a time of day until the date and time pickers are in the tree:
// it keeps the value and shows it as text.
class StandInCalendar : public skinner::ControlFrame {
public:
    using ControlFrame::ControlFrame;

    liba::DateTime get_time() const { return m_time; }
    void set_time(const liba::DateTime& time);

private:
    liba::DateTime m_time;
};
