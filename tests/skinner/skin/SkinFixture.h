#pragma once

#include "platform/core/Service.h"
#include "platform/core/Utf8.h"
#include "skinner/skin/Picture.h"
#include "skinner/skin/WorkArea.h"
#include "tests/support/TempDir.h"

#include <string>

// The compiled test skin and helpers around it.
namespace test {

inline const std::string test_skin_path = ORVANTA_TEST_SKIN;

inline std::u16string wide(const std::string& text)
{
    return platform::from_utf8(text);
}

// The test skin's folder copied (skin and pictures), the skin's bytes
// replaced when given; returns the skin's path.
inline std::string copy_test_skin(
    const TempDir& dir, const std::string* bytes = nullptr, const std::string& name = "test.skin")
{
    const std::string folder = test_skin_path.substr(0, test_skin_path.rfind('/') + 1);
    for (const char* picture : { "panel.png", "button.png", "button_x2.png" })
        dir.write(picture, read_file(folder + picture));
    return dir.write(name, bytes ? *bytes : read_file(test_skin_path));
}

// A work area of one size, whatever the screen.
class FixedWorkArea final : public skinner::WorkArea {
public:
    explicit FixedWorkArea(skinner::Size size)
        : m_size(size)
    {
    }

    skinner::Size size(skinner::Size) override { return m_size; }

private:
    skinner::Size m_size;
};

using ScopedWorkArea = platform::ScopedService<skinner::WorkArea, FixedWorkArea>;

// The picture with the corners and the stretch flag given.
inline skinner::Picture with_parts(skinner::Picture p, skinner::Point source_tl, skinner::Point inner_tl,
    skinner::Point inner_br, skinner::Point source_br, bool stretch)
{
    p.set_source_top_left(source_tl);
    p.set_inner_top_left(inner_tl);
    p.set_inner_bottom_right(inner_br);
    p.set_source_bottom_right(source_br);
    p.set_stretch(stretch);
    return p;
}

}
