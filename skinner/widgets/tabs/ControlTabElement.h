#pragma once

#include "skinner/widgets/panels/ControlPanel.h"

#include <string>

namespace skinner {

class ControlTab;

// One page of a tab: a panel in the tab's container that registers itself
// with the tab; Left and Right that its children leave turn the pages.
class ControlTabElement : public ControlPanel {
public:
    ControlTabElement(ControlTab& tab, std::u16string_view id, ControlMode mode = ControlMode::named,
        Properties* properties = nullptr);
    ~ControlTabElement() override;

    void on_visible_changed(bool visible) override;
    bool on_keydown(KeyCode key) override;
    void load() override;

    const std::u16string& title() const { return m_title; }
    ControlTab& tab() const { return m_tab; }

private:
    ControlTab& m_tab;
    std::u16string m_title;
};

}
