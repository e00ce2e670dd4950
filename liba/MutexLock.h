#pragma once

#include "liba/Mutex.h"

namespace liba {

// Holds a mutex for its own lifetime.
class MutexLock {
public:
    explicit MutexLock(Mutex& mutex)
        : m_mutex(&mutex)
    {
        m_mutex->lock();
    }
    ~MutexLock() { m_mutex->unlock(); }
    MutexLock(const MutexLock&) = delete;
    MutexLock& operator=(const MutexLock&) = delete;

private:
    Mutex* m_mutex;
};

}
