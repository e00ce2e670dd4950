#pragma once

#include <optional>
#include <string>

namespace test {

// Sets an environment variable (or unsets it, for a null value) for the
// object's life and restores the old state afterwards.
class EnvironmentOverride {
public:
    EnvironmentOverride(const std::string& name, const char* value);
    ~EnvironmentOverride();
    EnvironmentOverride(const EnvironmentOverride&) = delete;
    EnvironmentOverride& operator=(const EnvironmentOverride&) = delete;

private:
    std::string m_name;
    std::optional<std::string> m_old;
};

}
