#include "audio/filters/StreamFilter.h"

#include "liba/MutexLock.h"
#include "os/Log.h"

namespace audio {

void StreamFilter::on_data(const PCMData&)
{
    os::fatal_error(u"StreamFilter::on_data()", u"Not implemented");
}

PCMData StreamFilter::get_data(std::int32_t frames)
{
    liba::MutexLock lock(get_lock());
    return m_gatherer.get(frames, [this](std::int32_t count) { return pull(count); });
}

}

namespace audio {

void StreamFilter::restart()
{
    liba::MutexLock lock(get_lock());
    m_gatherer.clear();
    reset();
}

double StreamFilter::held_seconds()
{
    liba::MutexLock lock(get_lock());
    return m_gatherer.pending_seconds() + m_gatherer.output_seconds();
}

}
