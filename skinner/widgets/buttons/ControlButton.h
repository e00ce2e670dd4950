#pragma once

#include "skinner/widgets/buttons/ControlButtonBase.h"

namespace skinner {

// The push button: its skin "Action" chooses its platform part, made again
// whenever the skin is read again.
class ControlButton : public ControlButtonBase {
public:
    ControlButton(Container& container, std::u16string_view name, ControlMode mode = ControlMode::named);

    void load() override;

private:
    void make_impl();
};

}
