#pragma once

#include "tests/skinner/ListsScreen.h"

// The framework's screen with the skin of trees, the folder combo box and the
// path frame: rows of 16 pixels, levels of 12.
namespace test {

inline const std::u16string trees_skin_path = platform::from_utf8(ORVANTA_TREES_SKIN);

class TreesScreen : public FormScreen {
protected:
    os::Application application { u"TreesTest" };
    skinner::Properties trees { trees_skin_path, { 240, 320 } };
    EventLog log;
};

}
