#pragma once

#include "audio/Provider.h"

namespace audio {

// A node that turns each input chunk into one output chunk, pushed or pulled.
// Both directions hold the processor's own lock for the whole pass.
template<typename In, typename Out>
class Processor : public Consumer<In>, public Provider<Out> {
public:
    void on_data(const In& input) override
    {
        liba::MutexLock lock(this->get_lock());
        this->push(process(input));
    }

    virtual Out process(const In& input) = 0;

    Out get_data(std::int32_t size) override
    {
        liba::MutexLock lock(this->get_lock());
        return process(this->pull(size));
    }
};

}
