#include "audio/filters/RecordLevelControl.h"

#include "audio/filters/RecordLevelControlSoft.h"

namespace audio {

RecordLevelControl::RecordLevelControl()
    : m_impl(std::make_unique<RecordLevelControlSoft>())
{
}

double RecordLevelControl::get_level()
{
    liba::MutexLock lock(get_lock());
    return m_impl->get_level();
}

void RecordLevelControl::set_level(double level)
{
    liba::MutexLock lock(get_lock());
    m_impl->set_level(level);
}

PCMData RecordLevelControl::process(const PCMData& input) { return m_impl->apply(input); }

}
