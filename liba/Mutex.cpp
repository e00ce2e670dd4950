#include "liba/Mutex.h"

#include "platform/core/CriticalSection.h"

namespace liba {

Mutex::Mutex()
    : m_section(std::make_unique<platform::CriticalSection>())
{
}

Mutex::~Mutex() { m_section->leave_all(); }

void Mutex::lock() { m_section->enter(); }

void Mutex::unlock() { m_section->leave(); }

}
