#include "liba/ErrorBase.h"

namespace liba {

void ErrorBase::add_error(const std::u16string& text)
{
    m_errors.push_back(text);
}

}
