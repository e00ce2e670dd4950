#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <mutex>

namespace skinner {

// Values made once per key and shared by everyone who holds one. When the
// last holder lets go, the value is destroyed and its entry removed; asked
// for again, it is made anew.
template<class Key, class Value>
class SharedCache {
public:
    template<class Make>
    std::shared_ptr<const Value> find(const Key& key, Make make)
    {
        std::unique_lock lock(m_mutex);
        if (auto found = m_values.find(key); found != m_values.end())
            if (std::shared_ptr<const Value> value = found->second.lock())
                return value;
        // Made without the lock: making may take long, and a value may hold others.
        lock.unlock();
        auto* made = new Value(make(key));
        lock.lock();
        auto& slot = m_values[key];
        if (std::shared_ptr<const Value> value = slot.lock()) {
            delete made; // made meanwhile by another caller
            return value;
        }
        std::shared_ptr<const Value> value(made, [this, key](const Value* v) { release(key, v); });
        slot = value;
        return value;
    }

    // Values held now.
    std::size_t size()
    {
        std::lock_guard lock(m_mutex);
        return m_values.size();
    }

private:
    void release(const Key& key, const Value* value)
    {
        {
            std::lock_guard lock(m_mutex);
            auto found = m_values.find(key);
            if (found != m_values.end() && found->second.expired())
                m_values.erase(found);
        }
        delete value;
    }

    std::mutex m_mutex;
    std::map<Key, std::weak_ptr<const Value>> m_values;
};

}
