#pragma once

#include "audio/Consumer.h"

namespace audio {

// The handing end of a link: pulled through get_data, or pushing on its own.
template<typename T>
class Provider {
public:
    Provider() = default;
    Provider(const Provider&) = delete;
    Provider& operator=(const Provider&) = delete;
    virtual ~Provider() = default;

    // The next chunk; size counts sample frames for PCM and blocks or frames
    // for coded data. Less may come back; an empty chunk means nothing more.
    virtual T get_data(std::int32_t size) = 0;

    Consumer<T>* get_consumer() const { return m_consumer.load(); }

    // Hands a chunk to the linked consumer under that consumer's lock. A chunk
    // either reaches a consumer that is still linked, whole, or is dropped.
    void push(const T& data)
    {
        for (;;) {
            Consumer<T>* consumer = m_consumer.load();
            if (!consumer)
                return;
            liba::MutexLock lock(consumer->m_lock);
            if (m_consumer.load() != consumer)
                continue; // relinked while we waited
            consumer->on_data(data);
            return;
        }
    }

private:
    friend void connect<T>(Provider<T>*, std::type_identity_t<Consumer<T>>*);

    std::atomic<Consumer<T>*> m_consumer { nullptr };
};

// Links provider to consumer, or only unlinks it when consumer is null. Each
// change happens under the lock of the consumer concerned, so it waits for the
// chunk in flight there. The new consumer's previous provider is not told.
template<typename T>
void connect(Provider<T>* provider, std::type_identity_t<Consumer<T>>* consumer)
{
    if (!provider)
        return;
    if (Consumer<T>* old = provider->m_consumer.load()) {
        liba::MutexLock lock(old->m_lock);
        // The old consumer may have been relinked to another provider since.
        Provider<T>* expected = provider;
        old->m_provider.compare_exchange_strong(expected, nullptr);
        provider->m_consumer.store(nullptr);
    }
    if (consumer) {
        liba::MutexLock lock(consumer->m_lock);
        consumer->m_provider.store(provider);
        provider->m_consumer.store(consumer);
    }
}

}
