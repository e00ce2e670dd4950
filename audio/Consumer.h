#pragma once

#include "liba/MutexLock.h"

#include <atomic>
#include <cstdint>
#include <type_traits>

namespace audio {

template<typename T>
class Provider;
template<typename T>
class Consumer;

template<typename T>
void connect(Provider<T>* provider, std::type_identity_t<Consumer<T>>* consumer);

// The receiving end of a link. Its lock serialises everything that enters it:
// pushed chunks, link changes and, in processors and decoders, a whole pull.
template<typename T>
class Consumer {
public:
    Consumer() = default;
    Consumer(const Consumer&) = delete;
    Consumer& operator=(const Consumer&) = delete;

    virtual void on_data(const T&) { }

    // Waits for whatever is in flight on another thread, then goes. Owners
    // unlink both ends before destroying either.
    virtual ~Consumer()
    {
        m_lock.lock();
        m_lock.unlock();
    }

    // The linked provider's next chunk, or an empty one when unlinked. Takes no
    // lock itself: callers hold their own.
    T pull(std::int32_t size)
    {
        Provider<T>* provider = m_provider.load();
        return provider ? provider->get_data(size) : T {};
    }

    Provider<T>* get_provider() const { return m_provider.load(); }

    liba::Mutex& get_lock() { return m_lock; }

private:
    template<typename U>
    friend class Provider;
    friend void connect<T>(Provider<T>*, std::type_identity_t<Consumer<T>>*);

    std::atomic<Provider<T>*> m_provider { nullptr };
    liba::Mutex m_lock;
};

}

#include "audio/Provider.h"
