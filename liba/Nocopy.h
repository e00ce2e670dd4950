#pragma once

namespace liba {

// A base that forbids copying and assignment.
class Nocopy {
protected:
    Nocopy() = default;
    ~Nocopy() = default;

public:
    Nocopy(const Nocopy&) = delete;
    Nocopy& operator=(const Nocopy&) = delete;
};

}
