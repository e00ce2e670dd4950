#pragma once

#include "skinner/widgets/panels/ControlPanel.h"

#include <vector>

namespace skinner {

class ControlTabElement;

// A panel that keeps the pages registered with it, in construction order;
// the pages are not owned.
class ControlTabBase : public ControlPanel {
public:
    using ControlPanel::ControlPanel;

    const std::vector<ControlTabElement*>& pages() const { return m_pages; }

protected:
    std::vector<ControlTabElement*> m_pages;
};

}
