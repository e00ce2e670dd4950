#pragma once

#include "skinner/widgets/buttons/ControlButton.h"

namespace skinner {

// One skin picture inside the control's rectangle, shrunk to fit when it is
// larger and placed by its alignments. It can be tapped like a button but
// paints only its picture, and it does not take the focus.
class ControlPicture : public ControlButton {
public:
    ControlPicture(Container& container, std::u16string_view name, ControlMode mode = ControlMode::named);
    ~ControlPicture() override;

    void set_picture(const Picture& picture);

    const Picture& picture() const { return m_picture; }

    std::int32_t picture_h_alignment() const { return m_picture_h_alignment; }

    std::int32_t picture_v_alignment() const { return m_picture_v_alignment; }

    void paint(Canvas& canvas, Point area_position, Size area_size) override;
    void load() override;

private:
    void load_picture();

    Picture m_picture;
    std::int32_t m_picture_h_alignment = 1;
    std::int32_t m_picture_v_alignment = 1;
};

}
