#include "app/AboutControls.h"

#include "skinner/core/Form.h"

AboutControls::AboutControls(skinner::Form& form)
    : m_form(form)
    , m_product(form, u"frmProduct")
    , m_logo(form, u"frmLOGO")
    , m_logo_link(form, u"btnLOGO")
    , m_maker_link(form, u"btnQiro")
{
}

AboutControls::~AboutControls() = default;
