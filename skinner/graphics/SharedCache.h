#pragma once

#include <map>
#include <memory>
#include <mutex>

namespace skinner {

// Values made once per key and shared by everyone who holds one; a value
// that no one holds any more is made again when asked for next.
template<class Key, class Value>
class SharedCache {
public:
    template<class Make>
    std::shared_ptr<const Value> find(const Key& key, Make make)
    {
        std::lock_guard lock(m_mutex);
        std::weak_ptr<const Value>& slot = m_values[key];
        if (std::shared_ptr<const Value> value = slot.lock())
            return value;
        auto value = std::make_shared<const Value>(make(key));
        slot = value;
        return value;
    }

private:
    std::mutex m_mutex;
    std::map<Key, std::weak_ptr<const Value>> m_values;
};

}
