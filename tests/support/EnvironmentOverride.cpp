#include "tests/support/EnvironmentOverride.h"

#include <cstdlib>

namespace test {

EnvironmentOverride::EnvironmentOverride(const std::string& name, const char* value)
    : m_name(name)
{
    if (const char* old = std::getenv(name.c_str()))
        m_old = old;
    if (value)
        setenv(name.c_str(), value, 1);
    else
        unsetenv(name.c_str());
}

EnvironmentOverride::~EnvironmentOverride()
{
    if (m_old)
        setenv(m_name.c_str(), m_old->c_str(), 1);
    else
        unsetenv(m_name.c_str());
}

}
