#include "skinner/system/PowerManagerImpl.h"

namespace skinner {

PowerManagerImpl::PowerManagerImpl(Form& form)
    : m_form(form)
{
}

}
