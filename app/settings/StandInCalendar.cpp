#include "app/settings/StandInCalendar.h"

#include "model/FileHelpers.h"

void StandInCalendar::set_time(const liba::DateTime& time)
{
    m_time = time;
    set_text(format_date_time(time));
}
