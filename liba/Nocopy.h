#pragma once

namespace liba {

// Base of classes whose objects must not be copied.
class Nocopy {
protected:
    Nocopy() = default;
    ~Nocopy() = default;

public:
    Nocopy(const Nocopy&) = delete;
    Nocopy& operator=(const Nocopy&) = delete;
};

}
