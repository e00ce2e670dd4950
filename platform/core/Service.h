#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <utility>

namespace platform {

// The one process-wide backend of a service (clock, clipboard, wave driver,
// screen, ...). The slot owns it. Until something is installed, the first use
// makes the default backend. The program installs its real backends once at
// start-up; tests replace one for a scope with ScopedService. Reading is
// lock-free, so a service may be read from any thread; installing is for
// moments when no other thread uses the service.
template <class T>
class ServiceSlot {
public:
    using Factory = std::unique_ptr<T> (*)();

    explicit ServiceSlot(Factory make_default)
        : m_make_default(make_default)
    {
    }
    ServiceSlot(const ServiceSlot&) = delete;
    ServiceSlot& operator=(const ServiceSlot&) = delete;

    T& get()
    {
        if (T* current = m_current.load(std::memory_order_acquire))
            return *current;
        std::lock_guard guard(m_lock);
        if (!m_owned)
            set(m_make_default());
        return *m_owned;
    }

    // Takes over the backend and gives back the one it replaces (null when
    // the default was never made). Null goes back to the default.
    std::unique_ptr<T> install(std::unique_ptr<T> backend)
    {
        std::lock_guard guard(m_lock);
        std::unique_ptr<T> previous = std::move(m_owned);
        set(std::move(backend));
        return previous;
    }

private:
    void set(std::unique_ptr<T> backend)
    {
        m_owned = std::move(backend);
        m_current.store(m_owned.get(), std::memory_order_release);
    }

    Factory m_make_default;
    std::mutex m_lock;
    std::unique_ptr<T> m_owned;
    std::atomic<T*> m_current { nullptr };
};

// The factory of a slot whose default backend is a Concrete made with no arguments.
template <class T, class Concrete>
std::unique_ptr<T> make_backend()
{
    return std::make_unique<Concrete>();
}

// Installs a backend of type Concrete for the life of this object, then puts
// the previous one back. The test reaches its double through * and ->.
template <class T, class Concrete = T>
class ScopedService {
public:
    template <class... Args>
    explicit ScopedService(ServiceSlot<T>& slot, Args&&... args)
        : m_slot(slot)
    {
        auto backend = std::make_unique<Concrete>(std::forward<Args>(args)...);
        m_backend = backend.get();
        m_previous = m_slot.install(std::move(backend));
    }
    ~ScopedService() { m_slot.install(std::move(m_previous)); }
    ScopedService(const ScopedService&) = delete;
    ScopedService& operator=(const ScopedService&) = delete;

    Concrete& operator*() const { return *m_backend; }
    Concrete* operator->() const { return m_backend; }

private:
    ServiceSlot<T>& m_slot;
    Concrete* m_backend;
    std::unique_ptr<T> m_previous;
};

}
